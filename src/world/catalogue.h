// SPDX-License-Identifier: GPL-3.0-or-later
// The game's vocabulary: type codes and their categories, the field bounds, the stage end frames,
// and the values of `mode` that the passes read.
#pragma once

#include <cstdint>

namespace vane {

// Type codes, grouped by thousands. Each kind's spawn defaults are in actor.cpp.
enum TypeCode : int32_t {
  ArrowShip = 1,  // the first ship kind: its special attack is the arrowhead wall
  SweepShip = 2,  // the second ship kind: missiles, and the sweeping wall
  MissileShot = 18,
  Stage1Boss = 3001,
  Stage2Boss = 3002,
  EnergyBall = 4001,
  PowerUp = 4002,
  PowerUpMarker = 5001,
  EnergyPickupCue = 5002,
  PowerUpCue = 5003,
  ArrowAttackCue = 5004,
  SweepAttackCue = 5005,
};

// An inclusive range of type codes.
struct TypeRange {
  int32_t first;
  int32_t last;
  constexpr bool contains(int32_t type) const { return type >= first && type <= last; }
};

constexpr TypeRange kShipTypes{1, 2};
constexpr TypeRange kBulletTypes{101, 104};
constexpr TypeRange kItemTypes{4001, 4002};
constexpr TypeRange kBossTypes{3001, 3002};
// The enemies a shot can hit; effects (5001-5005) and decorations (9996-9999) share their list.
constexpr TypeRange kHittableTypes[] = {{1001, 1008}, {2001, 2002}, {3001, 3002}};
constexpr bool isHittableType(int32_t type) {
  for (TypeRange r : kHittableTypes) {
    if (r.contains(type)) return true;
  }
  return false;
}

// Enemies of a type above these thresholds drop a power-up, and also clear the bullets.
constexpr int32_t kAboveMidBosses = 2000;
constexpr int32_t kAboveBosses = 3000;

// The play field in hundredths of a pixel: x 0..33000, y 0..48000.
constexpr int32_t kFieldRight = 33000;
constexpr int32_t kFieldBottom = 48000;

// The stage clock value at which the stage's boss appears; after it the stage can be cleared.
constexpr uint32_t kStage1EndFrame = 4700;
constexpr uint32_t kStage2EndFrame = 5700;

// The ship's life states.
enum ShipMode : int32_t {
  ShipFlying = 1,
  ShipArriving = 64,  // cannot be hit; counts `counter` up to 100
  ShipExploding = 128,
  ShipOutOfLives = 256,
};

// A hit ship explodes while its `anim` counts down from this to 0.
constexpr int32_t kShipHitCountdown = 8;

// A shot or an enemy that has been hit and is winding down.
constexpr int32_t kHitMode = 128;

// The menu's rows, top to bottom, as its cursor numbers them.
enum MenuRow : int32_t { StageRow = 1, ShipRow = 2, StartRow = 3, QuitRow = 4 };

}  // namespace vane
