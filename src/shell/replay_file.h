// SPDX-License-Identifier: GPL-3.0-or-later
// Replays, version 2: a key script with a header, check lines and the run's end, all comments.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "shell/key_script.h"

namespace vane {

// Where a run starts: at Boot like the program (stage 0), or in a stage as the menu's start row
// starts it, with the menu's latches and the pause word as the run found them.
struct ReplayStart {
  int stage = 0;
  int ship = 0;
  int32_t upLatch = 0;
  int32_t downLatch = 0;
  int32_t pauseWord = 0;
  bool operator==(const ReplayStart&) const = default;
};

// The frames between two check lines.
constexpr long long kCheckEvery = 250;

// A replay file read whole. A version-1 file is a key script alone: `format` 1, and only `seed`
// (from its "# seed N" line, when it has one) and `keys` are set.
struct Replay {
  int format = 1;
  std::optional<uint32_t> seed;
  std::string program;  // the version of the program that recorded it
  ReplayStart start;
  std::string data;  // the data files' digest
  std::string date;  // when the run began, UTC, as YYYY-MM-DDTHH:MM:SSZ
  KeyScript keys;
  std::map<long long, uint64_t> checks;  // frame: the digest of its game fields
  long long frames = 0;                  // the frames the run ran
  int64_t score = -1;                    // the ship's last score; -1 when it never had one
  // Whether the end line is there: a run cut short (the program killed, or a recording taken while
  // the run goes on) still plays as far as its keys go, but only an ended run can be verified.
  bool ended = false;
};

// What verifying needs beyond reading: a version-2 file with its end line. Empty when it has it.
std::string unverifiableReason(const Replay& replay);

// Sets `error` on a malformed key script, and on a version-2 file whose header or check lines
// are missing or broken, or whose end line is broken.
Replay parseReplay(const std::string& text, std::string& error);
Replay readReplay(const std::string& path, std::string& error);

// The header lines of a version-2 replay, each ending in '\n'; "# seed N" stays the first line,
// as every reader of key scripts expects.
std::string replayHeader(const Replay& replay);
std::string checkLine(long long frame, uint64_t digest);
std::string endLine(long long frames, int64_t score);

// This program's version, as a header names it.
const char* programVersion();
// The date now, as a header holds it.
std::string utcDateNow();

}  // namespace vane
