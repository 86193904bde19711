// SPDX-License-Identifier: GPL-3.0-or-later
// A timeline entry, the arguments of one spawn at one frame, and how the two timelines fire one.
#pragma once

#include <cstdint>

namespace vane {

// The x column of an entry that draws its pixel x, 11..330, when it fires.
constexpr int32_t kRandomX = INT32_MIN;

struct TimelineEntry {
  int32_t frame;  // the delay in the block, or its position in the repeating block
  int32_t type;
  int32_t x;  // pixels, or kRandomX
  int32_t y;
  int32_t angle;
  int32_t speed;
  int32_t speedModulus = 0;  // when not 0: speed (r mod this) + 1, drawn before the x
  int32_t xPerSide = 0;      // added to x once for each step of the side
  int32_t anglePerSide = 0;  // added to angle once for each step of the side
};

// Spawns the entry with counter 3, drawing its random speed and then its random x.
void spawnEntry(const TimelineEntry& entry, int32_t side = 0);

}  // namespace vane
