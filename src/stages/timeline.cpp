// SPDX-License-Identifier: GPL-3.0-or-later
// Firing one timeline entry: the random draws in their order, then the spawn.
#include "stages/timeline.h"

#include "core/random.h"
#include "world/actor.h"

namespace vane {

namespace {
int32_t randomX() {
  return gameRandom() % 320 + 11;
}
}  // namespace

void spawnEntry(const TimelineEntry& entry, int32_t side) {
  const int32_t speed =
      entry.speedModulus != 0 ? gameRandom() % entry.speedModulus + 1 : entry.speed;
  const int32_t x = entry.x == kRandomX ? randomX() : entry.x + entry.xPerSide * side;
  World.spawnActor(3, entry.type, x, entry.y, entry.angle + entry.anglePerSide * side, speed);
}

}  // namespace vane
