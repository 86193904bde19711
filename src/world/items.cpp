// Energy balls and weapon power-ups: their motion, the power-up's slide along the bottom line, and
// what collecting them does.
#include "world/items.h"

#include "world/geometry.h"
#include "world/passes.h"

namespace vane {

namespace {

constexpr int32_t kEnergyBall = 4001;
constexpr int32_t kPowerUp = 4002;
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
  if (item.x > 33000) item.angle = 180;
}

}  // namespace

void itemPass(Actor&) {
  forEachActor(ItemList, [](Actor& item, auto& remove) {
    if (item.type == kEnergyBall) {
      moveByHeading(item);
      if (item.y > 48000) remove();
    } else if (item.type == kPowerUp) {
      movePowerUp(item);
      if (item.anim > kPowerUpLife) remove();
    }
  });
}

void collectItem(Actor& world, Actor& ship, const Actor& item) {
  if (item.type == kEnergyBall) {
    ship.angle += kEnergyPerBall;
    world.spawnActor(1, 5002, 0, 0, 0, 0);
  } else if (item.type == kPowerUp) {
    ship.hp += 1;
    if (ship.hp > kMaxWeaponLevel) {
      ship.hp = kMaxWeaponLevel;
      return;
    }
    world.spawnActor(1, 5001, pixelX(ship), pixelY(ship), 270, 1);
    world.spawnActor(1, 5003, 0, 0, 0, 0);
  }
}

}  // namespace vane
