// SPDX-License-Identifier: GPL-3.0-or-later
// The keys the player chose: which of the game's virtual keys each key the system reports sends.
#pragma once

#include <array>
#include <cstdint>

namespace vane::host {

// By the virtual key the system reports: the game's virtual key it sends, 0 for none.
using KeyMap = std::array<uint8_t, 256>;

// Every key sends itself.
KeyMap identityKeyMap();

// Set by the program from the player's choice; a recording holds the game's keys, so it replays
// the same whatever map it was played with.
void setKeyMap(const KeyMap& map);
int mappedKey(int systemKey);

}  // namespace vane::host
