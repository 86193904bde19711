// SPDX-License-Identifier: GPL-3.0-or-later
// Another program started beside the game and waited for without blocking it, one way per system.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vane {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `program` with `arguments`, its output going nowhere; false when it cannot start.
  bool start(const std::filesystem::path& program, const std::vector<std::string>& arguments);
  // Its exit status once it has ended (-1 for a program that did not exit by itself); nothing
  // while it runs.
  std::optional<int> poll();
  // Waits for it to end.
  int wait();

 private:
  long long handle_ = -1;
};

}  // namespace vane
