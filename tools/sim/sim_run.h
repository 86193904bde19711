// SPDX-License-Identifier: GPL-3.0-or-later
// One headless run of the game: options, the key script, the trace and the screenshots.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "shell/key_script.h"

namespace vane::sim {

struct Options {
  uint32_t seed = 0;
  std::string dataDir;
  int stage = 0;  // 0: start at Boot like the program
  int ship = 0;
  // What a replay's start holds beside the stage and ship: the menu's latches, the pause word.
  int32_t upLatch = 0;
  int32_t downLatch = 0;
  int32_t pauseWord = 0;
  long long frames = -1;  // -1: until the program ends
  std::string inputPath;
  std::string tracePath;  // "-" for stdout, empty for none
  std::string pngDir;
  long long pngEvery = 1;
  bool use565 = true;
  std::string mixPath;  // the run's mixed sound as a WAV file, empty for none
  // Called after each frame with its number (benchmarks time a stretch of a run with it).
  std::function<void(long long frame)> afterFrame;
};

using vane::KeyScript;
using vane::parseKeyScript;
using vane::readKeyScript;

// The trace line of the frame just run: the game's state now, the sound events of the frame, the
// picture's hash and the hash of the sound mixed during the frame.
std::string traceLine(long long f, const std::vector<SoundEvent>& events, uint64_t hash,
                      uint64_t audio);

// Runs the game and returns the program's exit status. Trace lines go to `trace` when given,
// otherwise to options.tracePath.
int run(const Options& options, const KeyScript& script, std::ostream* trace = nullptr);

// Re-simulates the replay at `path` with the data of options.dataDir and prints one line: the
// frames, the score and the first mismatch. 0 when every check line and the score agree, 1 on a
// mismatch, 2 for a file that is not a whole version-2 replay.
int verify(const Options& options, const std::string& path);

}  // namespace vane::sim
