// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL back end: a desktop window, full screen or not, presenting a 640x480 5-6-5 back buffer.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>
#include <signal.h>
#include <sys/prctl.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/sdl/gamepads.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/mixer.h"
#include "platform/sdl/presentation.h"
#include "platform/sdl/presenters.h"

namespace vane::platform {

namespace {

// SDL turns SIGINT and SIGTERM into a quit request, which the main loop reads; but a modal box
// runs its own loop and never reads it. While one is up, either signal ends the program at once,
// by the signal's own default action.
class EndOnSignalWhileModal {
 public:
  EndOnSignalWhileModal() {
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
  }
  EndOnSignalWhileModal(const EndOnSignalWhileModal&) = delete;
  EndOnSignalWhileModal& operator=(const EndOnSignalWhileModal&) = delete;

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
};

class DesktopBackend : public SdlBackend {
 public:
  DesktopBackend(const DisplayOptions& options, const SoundOptions& sound)
      : options_(options), windows_(options), mixer_(sound) {
    // The frame pacing sleeps to within a fraction of a millisecond: ask for the tightest wake-ups.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  }

  ~DesktopBackend() override {
    releaseDisplay();
    mixer_.close();
    pads_.close();
    windows_.close();
    SDL_Quit();
  }

  WindowState windowState() const override { return windows_.state(); }

  // --- keyboard ---

  // Key events are taken in whenever the main loop looks at the queue, once a frame at least.
  bool keyHeld(int virtualKey) override { return keys_.held(virtualKey); }
  void getKeyboardState(uint8_t state[256]) override { keys_.readThreadState(state); }
  void setKeyboardState(const uint8_t state[256]) override { keys_.writeThreadState(state); }

  // --- clocks ---

  // Counted from the machine's start, so the tick count (the seed of a run) is too: a count from
  // the program's start would give only the few hundred values a start-up can take.
  uint64_t monotonicNanos() override {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1'000'000'000 + static_cast<uint64_t>(now.tv_nsec);
  }

  void sleepNanos(uint64_t nanos) override {
    std::this_thread::sleep_for(std::chrono::nanoseconds(nanos));
  }

  // --- dialogs ---

  void messageBox(std::string_view text, std::string_view title, Icon icon) override {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
    const std::string titleText(title);
    const std::string bodyText(text);
    const Uint32 flags = icon == Icon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // Without a desktop the box cannot be shown; the line on stderr is then all there is.
    const EndOnSignalWhileModal modal;
    SDL_ShowSimpleMessageBox(flags, titleText.c_str(), bodyText.c_str(), window_);
  }

  // --- sound ---

  bool createSoundDevice() override { return mixer_.open(); }
  void preferSoundRate(uint32_t samplesPerSec) override { mixer_.preferRate(samplesPerSec); }
  BufferId createBuffer(const WaveFormat& format, uint32_t bytes) override {
    return mixer_.create(format, bytes);
  }
  void setSoundGroup(BufferId buffer, SoundGroup group) override { mixer_.setGroup(buffer, group); }
  uint8_t* lockBuffer(BufferId buffer, uint32_t& bytes) override {
    return mixer_.lock(buffer, bytes);
  }
  bool unlockBuffer(BufferId buffer) override { return mixer_.unlock(buffer); }
  bool play(BufferId buffer, bool looping) override { return mixer_.play(buffer, looping); }
  bool stop(BufferId buffer) override { return mixer_.stop(buffer); }
  uint32_t status(BufferId buffer) override { return mixer_.status(buffer); }
  void releaseBuffer(BufferId buffer) override { mixer_.release(buffer); }
  void releaseSoundDevice() override { mixer_.close(); }

 protected:
  bool openWindow() override {
    if (!windows_.open()) return false;
    window_ = windows_.window();
    return true;
  }

  void closeWindow() override {
    windows_.close();
    window_ = nullptr;
  }

  void pollEvents() override {
    pads_.update(monotonicNanos());
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) translate(event);
  }

  // Waits in steps, reading the controllers between them; -1 (no controllers at all) waits for
  // the desktop alone.
  bool waitForEvents() override {
    SDL_Event event;
    for (;;) {
      pads_.update(monotonicNanos());
      const int millis = pads_.millisToUpdate(monotonicNanos());
      if (millis < 0) {
        if (SDL_WaitEvent(&event) == 0) return false;
        break;
      }
      if (SDL_WaitEventTimeout(&event, millis) != 0) break;
      if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return false;
    }
    translate(event);
    return true;
  }

  bool openDisplay(bool& is565) override {
    if (window_ == nullptr) return false;
    presenter_ = choosePresenter(window_, options_);
    if (presenter_ == nullptr) return failDisplay("cannot draw into the window");
    pacer_.emplace(presenter_->waitsForDisplay());
    shown_.assign(static_cast<size_t>(kWidth) * kHeight, 0);
    presentLastPicture();
    is565 = true;
    return true;
  }

  // Only the blocks where the picture differs from the one shown are sent; an equal picture is
  // not sent at all, though the flip still takes its time.
  bool present(const uint16_t* pixels) override {
    changedBlocks(shown_.data(), pixels, kWidth, kHeight, changed_);
    if (changed_.empty()) return presentAgain();
    // Outside the changed blocks the pictures are equal already.
    for (const Block& block : changed_) {
      for (int row = block.rows.first; row < block.rows.end; ++row) {
        const auto at = static_cast<std::ptrdiff_t>(row) * kWidth;
        std::copy(pixels + at + block.columns.first, pixels + at + block.columns.end,
                  shown_.begin() + at + block.columns.first);
      }
    }
    const uint64_t wait = pacer_->waitBeforePresent(monotonicNanos());
    if (wait != 0) sleepNanos(wait);
    if (!presenter_->show(shown_.data(), changed_, false)) return false;
    pacer_->presented(monotonicNanos());
    return true;
  }

  // The picture on the screen stays; the flip still takes its time.
  bool presentAgain() override {
    const uint64_t wait = pacer_->waitBeforeHold(monotonicNanos());
    if (wait != 0) sleepNanos(wait);
    pacer_->held(monotonicNanos());
    return true;
  }

  void closeDisplay() override {
    shown_.clear();
    shown_.shrink_to_fit();
    pacer_.reset();
    presenter_.reset();
  }

 private:
  bool displayReady() const { return presenter_ != nullptr; }

  bool failDisplay(const char* what) {
    std::fprintf(stderr, "vane: %s: %s\n", what, SDL_GetError());
    closeDisplay();
    return false;
  }

  // Draws the picture last shown again, borders and all.
  void presentLastPicture() { presenter_->show(shown_.data(), {}, true); }

  void translate(const SDL_Event& event) {
    switch (event.type) {
      case SDL_KEYDOWN:
        onKeyDown(event.key.keysym, event.key.repeat != 0);
        break;
      case SDL_KEYUP:
        keys_.release(event.key.keysym.scancode);
        break;
      case SDL_WINDOWEVENT:
        onWindowEvent(event.window.event);
        break;
      case SDL_QUIT:
        postMessage(Message{kWmClose, 0, 0});
        break;
      default:
        pads_.handle(event, keys_, [this](int virtualKey) {
          postMessage(Message{kWmKeyDown, static_cast<uint32_t>(virtualKey), 0});
        });
        break;
    }
  }

  void onKeyDown(const SDL_Keysym& key, bool repeat) {
    const KeyRoute route = routeKey(key);
    if (route == KeyRoute::ToggleWindow) {
      // A key held down switches once.
      if (!repeat) windows_.toggle();
      return;
    }
    if (route == KeyRoute::Close) {
      postMessage(Message{kWmClose, 0, 0});
      return;
    }
    const int virtualKey = virtualKeyFor(key.scancode, key.sym);
    if (virtualKey == 0) return;
    keys_.press(key.scancode, virtualKey);
    if (route == KeyRoute::Game) {
      postMessage(Message{kWmKeyDown, static_cast<uint32_t>(virtualKey), 0});
    }
  }

  void onWindowEvent(uint8_t what) {
    switch (what) {
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        mixer_.setActive(true);
        postMessage(Message{kWmActivateApp, 1, 0});
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        // Keys let go elsewhere never come back as releases here.
        keys_.releaseAll();
        // The game stands still while inactive, and so does its sound, silent until it returns.
        mixer_.setActive(false);
        postMessage(Message{kWmActivateApp, 0, 0});
        break;
      case SDL_WINDOWEVENT_CLOSE:
        postMessage(Message{kWmClose, 0, 0});
        break;
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (displayReady()) presentLastPicture();
        break;
      default:
        break;
    }
  }

  DisplayOptions options_;
  WindowModes windows_;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<Presenter> presenter_;
  std::vector<uint16_t> shown_;  // the picture on the screen
  std::vector<Block> changed_;   // where the picture being presented differs from it
  std::optional<FlipPacer> pacer_;
  KeyStates keys_;
  Gamepads pads_;
  SdlMixer mixer_;
};

// SDL falls back to drivers that draw nowhere and read no keys; a game nobody can see or stop
// is no use, so those are taken only when asked for by name.
bool drawsNowhereUnasked() {
  const std::string_view driver = SDL_GetCurrentVideoDriver();
  return (driver == "offscreen" || driver == "dummy") && SDL_getenv("SDL_VIDEODRIVER") == nullptr;
}

}  // namespace

std::unique_ptr<SdlBackend> makeSdlBackend(const DisplayOptions& options,
                                           const SoundOptions& sound) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "vane: cannot open the display: %s\n", SDL_GetError());
    return nullptr;
  }
  if (drawsNowhereUnasked()) {
    std::fputs("vane: cannot open the display: no desktop found (DISPLAY or WAYLAND_DISPLAY)\n",
               stderr);
    SDL_Quit();
    return nullptr;
  }
  return std::make_unique<DesktopBackend>(options, sound);
}

}  // namespace vane::platform
