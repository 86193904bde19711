// SPDX-License-Identifier: GPL-3.0-or-later
// Energy balls and weapon power-ups: their motion, the power-up's slide along the bottom line, and
// what collecting them does.
#include "world/items.h"

#include "world/catalogue.h"
#include "world/geometry.h"
#include "world/passes.h"

namespace vane {

namespace {

constexpr int32_t kPowerUpLife = 150;
constexpr int32_t kLandingY = 42900;  // pixel 429, where the power-up slides
constexpr int32_t kMaxWeaponLevel = 3;
constexpr int32_t kEnergyPerBall = 5;

void movePowerUp(Actor& item) {
  item.anim += 1;
  moveByHeading(item);
  if (item.y > 43000) {
    item.angle = 0;
    item.y = kLandingY;
  }
  if (item.x < 0) item.angle = 0;
  if (item.x > kFieldRight) item.angle = 180;
}

}  // namespace

void itemPass(Actor&) {
  forEachActor(ItemList, [](Actor& item, auto& remove) {
    if (item.type == EnergyBall) {
      moveByHeading(item);
      if (item.y > kFieldBottom) remove();
    } else if (item.type == PowerUp) {
      movePowerUp(item);
      if (item.anim > kPowerUpLife) remove();
    }
  });
}

void collectItem(Actor& world, Actor& ship, const Actor& item) {
  if (item.type == EnergyBall) {
    ship.energy() += kEnergyPerBall;
    world.spawnActor(1, EnergyPickupCue, 0, 0, 0, 0);
  } else if (item.type == PowerUp) {
    ship.weaponLevel() += 1;
    if (ship.weaponLevel() > kMaxWeaponLevel) {
      ship.weaponLevel() = kMaxWeaponLevel;
      return;
    }
    world.spawnActor(1, PowerUpMarker, pixelX(ship), pixelY(ship), 270, 1);
    world.spawnActor(1, PowerUpCue, 0, 0, 0, 0);
  }
}

}  // namespace vane
