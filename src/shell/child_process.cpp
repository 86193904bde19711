// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a child program and reaping it: posix_spawn and waitpid, or _wspawnv and _cwait.
#include "shell/child_process.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace vane {

#ifdef _WIN32
bool ChildProcess::start(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments) {
  // The C runtime joins the arguments with spaces: each is quoted so that paths keep theirs.
  std::vector<std::wstring> words{L"\"" + program.wstring() + L"\""};
  for (const std::string& a : arguments) {
    words.push_back(L"\"" + std::filesystem::path(a).wstring() + L"\"");
  }
  std::vector<const wchar_t*> argv;
  for (const std::wstring& w : words) argv.push_back(w.c_str());
  argv.push_back(nullptr);
  const intptr_t h = _wspawnv(_P_NOWAIT, program.wstring().c_str(), argv.data());
  handle_ = h == -1 ? -1 : static_cast<long long>(h);
  return handle_ != -1;
}

std::optional<int> ChildProcess::poll() {
  if (handle_ == -1) return -1;
  const auto process = reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle_));
  if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) return std::nullopt;
  DWORD code = 0;
  const bool known = GetExitCodeProcess(process, &code) != 0;
  CloseHandle(process);
  handle_ = -1;
  return known ? static_cast<int>(code) : -1;
}

int ChildProcess::wait() {
  if (handle_ == -1) return -1;
  WaitForSingleObject(reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle_)), INFINITE);
  return poll().value_or(-1);
}
#else
bool ChildProcess::start(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments) {
  std::vector<std::string> words{program.string()};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, words[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  handle_ = failed != 0 ? -1 : pid;
  return handle_ != -1;
}

std::optional<int> ChildProcess::poll() {
  if (handle_ == -1) return -1;
  int status = 0;
  const pid_t done = waitpid(static_cast<pid_t>(handle_), &status, WNOHANG);
  if (done == 0) return std::nullopt;
  handle_ = -1;
  return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int ChildProcess::wait() {
  if (handle_ == -1) return -1;
  int status = 0;
  const pid_t done = waitpid(static_cast<pid_t>(handle_), &status, 0);
  handle_ = -1;
  return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

ChildProcess::~ChildProcess() {
  wait();
}

}  // namespace vane
