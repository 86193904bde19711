// SPDX-License-Identifier: GPL-3.0-or-later
// Motion along a heading, the corner hit test, and the heading towards a point.
#include "world/geometry.h"

#include <cmath>

namespace vane {

void moveByHeading(Actor& actor) {
  // The steps are truncated per axis before the speed multiplies them; the angle is not reduced.
  const double r = actor.angle * kShortPi / 180.0;
  const auto stepX = static_cast<int32_t>(100.0 * std::cos(r));
  const auto stepY = static_cast<int32_t>(100.0 * std::sin(r));
  actor.x += stepX * actor.speed;
  actor.y += stepY * actor.speed;
}

namespace {
bool within(int32_t low, int32_t v, int32_t high) {
  return low <= v && v <= high;
}

// Does any corner of box b lie inside box a?
bool cornerInside(int32_t l1, int32_t t1, int32_t r1, int32_t b1, int32_t l2, int32_t t2,
                  int32_t r2, int32_t b2) {
  return (within(l1, l2, r1) && within(t1, t2, b1)) || (within(l1, r2, r1) && within(t1, t2, b1)) ||
         (within(l1, l2, r1) && within(t1, b2, b1)) || (within(l1, r2, r1) && within(t1, b2, b1));
}
}  // namespace

int boxesOverlap(int32_t l1, int32_t t1, int32_t r1, int32_t b1, int32_t l2, int32_t t2, int32_t r2,
                 int32_t b2) {
  return cornerInside(l1, t1, r1, b1, l2, t2, r2, b2) ||
                 cornerInside(l2, t2, r2, b2, l1, t1, r1, b1)
             ? 1
             : 0;
}

int headingTo(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int32_t dx = x2 - x1;
  const int32_t dy = y2 - y1;
  if (dx == 0) return dy < 0 ? 270 : 90;
  if (dy == 0) return dx < 0 ? 180 : 0;
  const double ratio = static_cast<double>(dy) / static_cast<double>(dx);
  const auto a = static_cast<int>(std::atan(ratio) * 180.0 / kShortPi);
  if (dx > 0) return a < 0 ? a + 360 : a;
  return a + 180;
}

int actorsOverlap(const Actor& a, const Actor& b) {
  const int32_t ax = pixelX(a), ay = pixelY(a), bx = pixelX(b), by = pixelY(b);
  return boxesOverlap(ax + a.hitLeft, ay + a.hitTop, ax + a.hitRight, ay + a.hitBottom,
                      bx + b.hitLeft, by + b.hitTop, bx + b.hitRight, by + b.hitBottom);
}

}  // namespace vane
