// SPDX-License-Identifier: GPL-3.0-or-later
// The game's pseudo-random generator.
#include "core/random.h"

namespace vane {
namespace {
uint32_t state = 1;
}

void seedRandom(uint32_t seed) {
  state = seed;
}

int gameRandom() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFF);
}

uint32_t randomState() {
  return state;
}

}  // namespace vane
