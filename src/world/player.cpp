// SPDX-License-Identifier: GPL-3.0-or-later
// The player ship: steering and tilt, the Shift cadence and its volleys, the special attack, and
// the explosion and return after a hit.
#include <algorithm>
#include <array>

#include "core/devices.h"
#include "host/host.h"
#include "world/catalogue.h"
#include "world/passes.h"
#include "world/ship.h"

namespace vane {

namespace {

using host::kVkDown;
using host::kVkLeft;
using host::kVkNumpad2;
using host::kVkNumpad4;
using host::kVkNumpad6;
using host::kVkNumpad8;
using host::kVkRight;
using host::kVkShift;
using host::kVkUp;
using host::kVkZ;

// One shot of a volley: spawned at the ship's pixel position plus (dx, dy), with counter 1.
struct VolleyShot {
  int32_t shipType;
  int32_t level;
  int32_t type;
  int32_t dx;
  int32_t dy;
  int32_t angle;
  int32_t speed;
};

// clang-format off
constexpr VolleyShot kVolleys[] = {
  // ship level type   dx   dy  angle speed
  {1, 1,  9,  -5,   0, 270, 20},
  {1, 1,  9,   5,   0, 270, 20},

  {1, 2,  9, -10,   5, 270, 20},
  {1, 2,  9,  -5,   0, 270, 20},
  {1, 2,  9,   5,   0, 270, 20},
  {1, 2,  9,  10,   5, 270, 20},
  {1, 2, 10,   0,  30,   5, 10},
  {1, 2, 10,   0,  30, 175, 10},

  {1, 3,  9, -15,  10, 270, 20},
  {1, 3,  9, -10,   5, 270, 20},
  {1, 3,  9,  -5,   0, 270, 20},
  {1, 3,  9,   5,   0, 270, 20},
  {1, 3,  9,  10,   5, 270, 20},
  {1, 3,  9,  15,  10, 270, 20},
  {1, 3, 10,   0,  30,   0, 20},
  {1, 3, 10,   0,  30,   5, 10},
  {1, 3, 10,   0,  30, 175, 10},
  {1, 3, 10,   0,  30, 180, 20},

  {2, 1, 17,  -5,   0, 270, 20},
  {2, 1, 17,   5,   0, 270, 20},

  {2, 2, 17, -10,   5, 265, 20},
  {2, 2, 17,  -5,   0, 270, 20},
  {2, 2, 17,   5,   0, 270, 20},
  {2, 2, 17,  10,   5, 275, 20},
  {2, 2, 18, -10,   0, 240,  3},
  {2, 2, 18, -10,   0, 270,  3},
  {2, 2, 18,  10,   0, 270,  3},
  {2, 2, 18,  10,   0, 300,  3},

  {2, 3, 17, -15,  10, 263, 20},
  {2, 3, 17, -10,   5, 265, 20},
  {2, 3, 17,  -5,   0, 270, 20},
  {2, 3, 17,   5,   0, 270, 20},
  {2, 3, 17,  10,   5, 275, 20},
  {2, 3, 17,  15,  10, 277, 20},
  {2, 3, 18, -10,   0, 210,  3},
  {2, 3, 18, -10,   0, 225,  3},
  {2, 3, 18, -10,   0, 240,  3},
  {2, 3, 18, -10,   0, 270,  3},
  {2, 3, 18,  10,   0, 270,  3},
  {2, 3, 18,  10,   0, 300,  3},
  {2, 3, 18,  10,   0, 315,  3},
  {2, 3, 18,  10,   0, 330,  3},
};
// clang-format on

// The missile count below which a volley of the given weapon level carries its missiles.
constexpr std::array<int32_t, 4> kMissileLimit{0, 0, 8, 16};

// One column of the second ship's wall: offset from the ship's column and heading.
struct WallColumn {
  int32_t dx;
  int32_t angle;
};
constexpr std::array<WallColumn, 6> kSweepColumns{{
    {-20, 0},
    {-10, 0},
    {0, 0},
    {0, 180},
    {10, 180},
    {20, 180},
}};

constexpr int32_t kSpecialCost = 100;
constexpr int32_t kStep = 500;  // five pixels a frame on each axis
constexpr int32_t kLevelTilt = 25;
constexpr int32_t kMaxTilt = 49;
constexpr int32_t kTiltStep = 3;
constexpr int32_t kArrivalFrames = 100;

bool held(int a, int b) {
  return keyHeld(a) || keyHeld(b);
}

void fireVolley(Actor& world, Actor& ship) {
  const int32_t level = ship.weaponLevel();
  const bool missilesAllowed = level >= 0 && level < static_cast<int32_t>(kMissileLimit.size()) &&
                               ship.missiles() < kMissileLimit[static_cast<size_t>(level)];
  int32_t missiles = 0;
  for (const VolleyShot& s : kVolleys) {
    if (s.shipType != ship.type || s.level != level) continue;
    if (s.type == MissileShot) {
      if (!missilesAllowed) continue;
      ++missiles;
    }
    world.spawnActor(1, s.type, pixelX(ship) + s.dx, pixelY(ship) + s.dy, s.angle, s.speed);
  }
  ship.missiles() += missiles;
}

// The Shift cadence: a press fires on the counter's odd values 101, 103 and 105 and stops at 106.
void runFireCadence(Actor& world, Actor& ship) {
  const bool shift = keyHeld(kVkShift);
  if (!shift && ship.fireTimer > 100) ship.fireTimer -= 100;
  if (shift && ship.fireTimer < 100) ship.fireTimer = 100;
  if (ship.fireTimer % 100 < 6) {
    ship.fireTimer += 1;
    if (ship.fireTimer % 2 != 0) fireVolley(world, ship);
  }
}

// An arrowhead of 96 shots rising from below the bottom edge, whatever the ship's position.
void spawnArrowWall(Actor& world) {
  for (int32_t i = 0; i < 16; ++i) {
    for (int32_t j = 0; j <= 20; j += 10) {
      world.spawnActor(1, 12, 170 + 10 * i, 480 + 10 * i + j, 270, 30);
      world.spawnActor(1, 11, 160 - 10 * i, 480 + 10 * i + j, 270, 30);
    }
  }
}

// Sixteen rows of six shots crossing at the ship's column.
void spawnSweepWall(Actor& world, const Actor& ship) {
  const int32_t px = pixelX(ship);
  for (int32_t i = 0; i < 16; ++i) {
    for (const WallColumn& c : kSweepColumns)
      world.spawnActor(1, 19, px + c.dx, 30 * i, c.angle, 10);
  }
}

// Z fires once per press while the energy lasts.
void runSpecialAttack(Actor& world, Actor& ship) {
  const bool z = keyHeld(kVkZ);
  if (!z) ship.keyLatch = 0;
  if (!z || ship.keyLatch != 0 || ship.energy() < kSpecialCost) return;
  ship.keyLatch = 1;
  ship.energy() -= kSpecialCost;
  world.clearBulletList();
  if (ship.type == ArrowShip) {
    world.spawnActor(1, ArrowAttackCue, 0, 0, 0, 0);
    spawnArrowWall(world);
  } else if (ship.type == SweepShip) {
    world.spawnActor(1, SweepAttackCue, 0, 0, 0, 0);
    spawnSweepWall(world, ship);
  }
}

void steer(Actor& ship) {
  if (held(kVkLeft, kVkNumpad4)) {
    ship.x -= kStep;
    ship.anim = std::max(ship.anim - kTiltStep, 0);
  }
  if (held(kVkRight, kVkNumpad6)) {
    ship.x += kStep;
    ship.anim = std::min(ship.anim + kTiltStep, kMaxTilt);
  }
  ship.anim += ship.anim > kLevelTilt ? -1 : 1;
  if (held(kVkUp, kVkNumpad8)) ship.y -= kStep;
  if (held(kVkDown, kVkNumpad2)) ship.y += kStep;
  ship.x = std::clamp(ship.x, 1000, 32500);
  ship.y = std::clamp(ship.y, 500, 44000);
}

void fly(Actor& world, Actor& ship) {
  clearKeyboardState();
  steer(ship);
  runFireCadence(world, ship);
  runSpecialAttack(world, ship);
}

void arrive(Actor& world, Actor& ship) {
  clearKeyboardState();
  ship.counter += 1;
  if (ship.counter == kArrivalFrames) {
    ship.mode = ShipFlying;
    ship.counter = 0;
  }
  fly(world, ship);
}

// Counts the explosion down; at its end the ship loses a life and goes back to its start.
void explode(Actor& ship) {
  ship.anim -= 1;
  if (ship.anim != 0) return;
  ship.lives() -= 1;
  ship.mode = ship.lives() < 0 ? ShipOutOfLives : ShipArriving;
  respawnShip(ship);
  ship.counter = 0;
  // The second kind keeps tilt 0 and levels out over the next frames.
  if (ship.type == ArrowShip) ship.anim = kLevelTilt;
}

}  // namespace

void spawnShip(Actor& world, int32_t kind) {
  world.spawnActor(1, kind, kShipHomeX, kShipHomeY, kShipStartEnergy, kShipStartLives);
}

void respawnShip(Actor& ship) {
  ship.x = kShipHomeX * 100;
  ship.y = kShipHomeY * 100;
  ship.fireTimer = 9;
  ship.weaponLevel() = 1;
  ship.energy() = kShipStartEnergy;
}

void playerPass(Actor& world) {
  forEachActor(PlayerList, [&world](Actor& ship, auto&) {
    switch (ship.mode) {
      case ShipExploding:
        explode(ship);
        break;
      case ShipArriving:
        arrive(world, ship);
        break;
      case ShipFlying:
        fly(world, ship);
        break;
      default:
        break;
    }
  });
}

}  // namespace vane
