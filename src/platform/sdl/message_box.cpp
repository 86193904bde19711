// SPDX-License-Identifier: GPL-3.0-or-later
// A message box the signals that end the program close: a box drawn by a child process goes too.
#include "platform/sdl/message_box.h"

#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace vane::platform {

namespace {

// The program's process while a box is up, else 0.
std::atomic<pid_t> boxOwner{0};

// SDL draws a box on X11 from a forked child (and on Wayland from a helper it starts), which
// outlives its parent: a child forked while a box is up dies with the program.
void dieWithTheProgram() {
  const pid_t owner = boxOwner.load();
  if (owner == 0) return;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != owner) _exit(1);  // the program ended before the line above
}

class EndOnSignalWhileModal {
 public:
  EndOnSignalWhileModal() {
    [[maybe_unused]] static const int registered =
        pthread_atfork(nullptr, nullptr, dieWithTheProgram);
    boxOwner = getpid();
    struct sigaction end {};
    end.sa_handler = [](int signal) {
      std::signal(signal, SIG_DFL);
      std::raise(signal);
    };
    sigemptyset(&end.sa_mask);
    sigaction(SIGINT, &end, &previousInt_);
    sigaction(SIGTERM, &end, &previousTerm_);
  }
  ~EndOnSignalWhileModal() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
    boxOwner = 0;
  }
  EndOnSignalWhileModal(const EndOnSignalWhileModal&) = delete;
  EndOnSignalWhileModal& operator=(const EndOnSignalWhileModal&) = delete;

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
};

}  // namespace

void showMessageBox(Uint32 flags, const char* title, const char* text, SDL_Window* window) {
  const EndOnSignalWhileModal modal;
  SDL_ShowSimpleMessageBox(flags, title, text, window);
}

}  // namespace vane::platform
