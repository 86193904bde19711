// SPDX-License-Identifier: GPL-3.0-or-later
// Key scripts: the keys held in each frame of a run, as vane-sim reads them and vane records them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vane {

// A key of a script line. Written `KEY`, it is held from the line's frame on; written `+KEY`, it
// stands for one more key-down message before that frame only (a repeating or re-pressed key);
// written `=KEY`, it is held from the line's frame on without a key-down message (a key pressed
// while Alt is held, or one the system keeps for itself).
struct KeyToken {
  int key = 0;
  bool messageOnly = false;
  bool withoutMessage = false;
  bool operator==(const KeyToken&) const = default;
};

// From each listed frame on, the line in force says which keys are held.
using KeyScript = std::map<long long, std::vector<KeyToken>>;

// The largest key script read (a million frames with a change in each fit with room to spare),
// and the most keys on one line (a keyboard sends fewer between two frames).
constexpr size_t kMaxScriptBytes = size_t{64} << 20;
constexpr size_t kMaxKeysPerLine = 64;

// Reads "F KEY KEY ..." lines; sets `error` on a malformed script, one holding a NUL byte, a
// number that does not fit or more than kMaxKeysPerLine keys on a line, and on a file that is not a
// regular file of at most kMaxScriptBytes. A first line "# seed N" gives the seed the run was
// recorded with.
KeyScript parseKeyScript(const std::string& text, std::string& error,
                         std::optional<uint32_t>* seed = nullptr);
KeyScript readKeyScript(const std::string& path, std::string& error,
                        std::optional<uint32_t>* seed = nullptr);

// The script's name of a virtual key, or its decimal code when it has none.
std::string keyName(int virtualKey);
std::string seedLine(uint32_t seed);

using HeldKeys = std::array<bool, 256>;

// What the script asks for before `frame`, given the keys held during the frame before.
struct FrameInput {
  bool scripted = false;  // false before the script's first line: the keys are left alone
  HeldKeys held{};
  std::vector<int> keyDowns;  // the key-down messages to send, in order
};
FrameInput inputForFrame(const KeyScript& script, long long frame, const HeldKeys& before);

// The script line for a frame of a live run: the keys held now, and the key-down messages taken
// since the frame before (when the keys held then were `before`); a key newly held without a
// key-down message is written `=KEY`. Empty when the line in force already says it all.
std::string lineForFrame(long long frame, const HeldKeys& before, const HeldKeys& now,
                         const std::vector<int>& keyDowns);

}  // namespace vane
