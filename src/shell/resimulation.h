// SPDX-License-Identifier: GPL-3.0-or-later
// A replay run again without a display, frame by frame against its check lines and its end.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "shell/replay_file.h"

namespace vane {

// Starts the run where `start` says, right after start-up seeded the generator: nothing for
// Boot; for a stage what the menu's start row does, then the latches and the pause word.
void startReplayAt(const ReplayStart& start);

struct ResimulatedRun {
  long long frames = 0;    // the frames that ran
  int64_t score = -1;      // the ship's last score
  long long mismatch = 0;  // the first frame whose check line differs; 0 for none
  bool started = false;    // false when start-up failed (the data files)
};

// Runs `replay` from its start on the in-memory back end of this process, up to its end frame
// or the first check line that differs, and calls `afterFrame` with each frame's number. The
// game's state is reset before and after; the data files are read from the working directory.
ResimulatedRun resimulate(const Replay& replay,
                          const std::function<void(long long frame)>& afterFrame = {});

// What `--verify` says of a replay: one line (frames, score, the first mismatch) and the exit
// status, 0 when it re-simulates to every check line and its score, else 1. `dataNow` is the
// data digest of the working directory.
struct ReplayVerdict {
  int status = 0;
  std::string line;
};
ReplayVerdict verifyReplay(const Replay& replay, const std::string& dataNow);

}  // namespace vane
