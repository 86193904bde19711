// SPDX-License-Identifier: GPL-3.0-or-later
// Motion along a heading, the corner hit test, and the heading from one point to another.
#pragma once

#include <cstdint>

#include "world/actor.h"

namespace vane {

// The value of pi the game's angle conversions use.
constexpr double kShortPi = 3.14159265358979;

void moveByHeading(Actor& actor);
int boxesOverlap(int32_t l1, int32_t t1, int32_t r1, int32_t b1, int32_t l2, int32_t t2, int32_t r2,
                 int32_t b2);
int headingTo(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// Overlap of two actors' hit boxes in pixels.
int actorsOverlap(const Actor& a, const Actor& b);

}  // namespace vane
