// SPDX-License-Identifier: GPL-3.0-or-later
// The Stage 2 schedule, a block of 1000 frames repeated up to the boss, and the decoration spawner.
#include <array>

#include "core/random.h"
#include "core/state.h"
#include "stages/stages.h"
#include "stages/timeline.h"
#include "world/actor.h"
#include "world/catalogue.h"

namespace vane {

namespace {

constexpr int32_t R = kRandomX;

// clang-format off
// Positions in the block, frameCount mod 1000. Speed 0 with a modulus means a drawn speed.
constexpr auto kBlock = std::to_array<TimelineEntry>({
  //  b   type     x    y  angle speed  speed mod  x/side angle/side
  {100,  1001,  210,   0,  90,  2},
  {110,  1001,  240,   0,  90,  2},
  {120,  1001,  270,   0,  90,  2},
  {130,  1002,  120,   0,  90,  2},
  {140,  1002,   90,   0,  90,  2},
  {150,  1002,   60,   0,  90,  2},
  {200,  1003,    R,   0,  90, 10},
  {230,  1003,    R,   0,  90, 10},
  {260,  1003,    R,   0,  90, 10},
  {300,  1001,  210,   0,  90,  2},
  {310,  1001,  240,   0,  90,  2},
  {320,  1001,  270,   0,  90,  2},
  {330,  1002,  120,   0,  90,  2},
  {340,  1002,   90,   0,  90,  2},
  {350,  1002,   60,   0,  90,  2},
  {400,  1003,    R,   0,  90, 10},
  {430,  1003,    R,   0,  90, 10},
  {460,  1003,    R,   0,  90, 10},
  {500,  1005,   11, 150,  45,  3},
  {530,  1005,   11, 150,  45,  3},
  {560,  1006,  330, 150, 135,  3},
  {590,  1006,  330, 150, 135,  3},
  {600,  1007,    R,   0,  90,  4},
  {620,  1007,    R,   0,  90,  4},
  {640,  1007,    R,   0,  90,  4},
  {660,  1007,    R,   0,  90,  4},
  {700,  1004,    R,   0,  90,  0,  5},
  {740,  1004,    R,   0,  90,  0,  5},
  {780,  1004,    R,   0,  90,  0,  5},
  {800,  1008,    R,   0,  90,  0,  7},
  {810,  1008,    R,   0,  90,  0,  7},
  {820,  1008,    R,   0,  90,  0,  7},
  {830,  1008,    R,   0,  90,  0,  7},
  {840,  1008,    R,   0,  90,  0,  7},
  {850,  1008,    R,   0,  90,  0,  7},
  {860,  1008,    R,   0,  90,  0,  7},
  {870,  1008,    R,   0,  90,  0,  7},
  {880,  1008,    R,   0,  90,  0,  7},
  {890,  1008,    R,   0,  90,  0,  7},
  // The mid-boss comes in from the left heading up-right, or on odd thousands from the right.
  {950,  2002,  -40, 150, 315,  2,  0,  370, -90},
});
// clang-format on
static_assert(kBlock.size() == 40);

constexpr uint32_t kBlockLength = 1000;
constexpr TimelineEntry kBoss{0, Stage2Boss, 170, -118, 90, 1};

// The mid-boss's side: 0 in the even thousands, 1 in the odd ones.
int32_t sideOf(uint32_t frame) {
  return static_cast<int32_t>(frame / 1000 % 10 % 2);
}

// About one frame in 50 makes a decoration.
constexpr int kDecorationChance = 50;

}  // namespace

void runStage2Timeline() {
  if (frameCount == kStage2EndFrame) {
    spawnEntry(kBoss);
    return;
  }
  if (frameCount > kStage2EndFrame) return;
  const auto b = static_cast<int32_t>(frameCount % kBlockLength);
  for (const TimelineEntry& entry : kBlock) {
    if (entry.frame == b) spawnEntry(entry, sideOf(frameCount));
  }
}

void spawnDecoration() {
  if (gameRandom() % kDecorationChance != 0) return;
  const int32_t speed = gameRandom() % 3 + 1;
  const int32_t x = gameRandom() % 520 - 200;
  const int32_t type = 9996 + gameRandom() % 4;
  World.spawnActor(1, type, x, -200, 90, speed);
}

}  // namespace vane
