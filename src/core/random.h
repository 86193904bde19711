// SPDX-License-Identifier: GPL-3.0-or-later
// The game's pseudo-random generator: integers 0..32767 from a 32-bit linear congruential state.
#pragma once

#include <cstdint>

namespace vane {

void seedRandom(uint32_t seed);
// state := state * 214013 + 2531011; the result is bits 16..30 of the new state.
int gameRandom();
uint32_t randomState();

}  // namespace vane
