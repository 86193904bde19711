// SPDX-License-Identifier: GPL-3.0-or-later
// The program: start-up, the window procedure, the main loop and one frame by game state.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "host/host.h"
#include "shell/exit_status.h"

namespace vane {

// Where start-up reads the data files. The folder the player named is taken at its word: every
// file must load from it, the sound banks too (elsewhere a bank that fails leaves the game silent).
struct DataSource {
  std::filesystem::path folder;  // read from; empty: the working directory
  std::filesystem::path named;   // the folder the player named, for the messages
  bool strict = false;
  std::string failedFile;  // set by start-up: the file that failed to load, if one did
};

// Start-up steps up to the seed; 1 when the main loop may start. `seed` replaces the tick count.
// On failure `failure`, when given, receives the exit status for its cause.
int startUp(std::optional<uint32_t> seed = std::nullopt, ExitStatus* failure = nullptr,
            DataSource* data = nullptr);

// Lets a driver (vane-sim) step in before each frame of the main loop.
class LoopObserver {
 public:
  enum class Next { RunFrame, HandleMessages, Stop };
  virtual ~LoopObserver() = default;
  // Called when the queue is empty and a frame is due.
  virtual Next beforeFrame() = 0;
  virtual void afterFrame() = 0;
  // Called instead of blocking while the application is inactive; false stops the loop.
  virtual bool whileInactive() = 0;
  // Called with each message the loop takes, before it is handled.
  virtual void messageTaken(const host::Message&) {}
};

// What one step of the main loop did.
struct LoopStep {
  enum Kind { Message, Frame, Inactive, Ended } kind;
  int exitCode = 0;  // Ended: the program's exit status
};
// One step of the main loop: takes one message, or runs one frame, or (inactive) waits for a
// message. A host that calls back (a browser's animation frame) calls it until a frame has run.
LoopStep runMainLoopOnce(LoopObserver* observer = nullptr);
// Runs until the quit message (its exit code) or until the observer stops it (0).
int runMainLoop(LoopObserver* observer = nullptr);
void runFrame();
int32_t windowProc(const host::Message& message);

// The whole program: start-up, then the main loop under `observer`; the program's exit status.
int gameMain(std::optional<uint32_t> seed = std::nullopt, LoopObserver* observer = nullptr);

// Puts every piece of the game's global state back to its value before start-up.
void resetGame();

}  // namespace vane
