// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's contacts: enemy bullets against the ship, items collected, shots against enemies with
// damage, destruction, score and drops.
#include "core/devices.h"
#include "core/random.h"
#include "host/host.h"
#include "world/catalogue.h"
#include "world/geometry.h"
#include "world/items.h"
#include "world/passes.h"
#include "world/shots.h"

namespace vane {

namespace {

constexpr int32_t kDropCounter = 3;

bool isHittable(const Actor& e) {
  return e.mode != kHitMode && isHittableType(e.type);
}

// A flying ship takes the first overlapping bullet in list order and stops looking.
void hitShipByBullets(Actor& ship) {
  forEachActor(BulletList, [&ship](Actor& bullet, auto& remove) {
    if (ship.mode != ShipFlying) return;
    if (!kBulletTypes.contains(bullet.type) || !actorsOverlap(ship, bullet)) return;
    ship.mode = ShipExploding;
    ship.anim = kShipHitCountdown;
    remove();
  });
}

void collectTouchedItems(Actor& world, Actor& ship) {
  forEachActor(ItemList, [&world, &ship](Actor& item, auto& remove) {
    if (!kItemTypes.contains(item.type) || !actorsOverlap(ship, item)) return;
    collectItem(world, ship, item);
    remove();
  });
}

// Points to the score, energy balls (and from bosses a power-up) at the wreck, then the explosion.
void destroyEnemy(Actor& world, Actor& enemy) {
  if (Actor* head = firstPlayer()) head->scoreValue += enemy.scoreValue;
  const int32_t balls = (gameRandom() % 5 + 1) * enemy.type / 1000;
  for (int32_t i = 0; i < balls; ++i) {
    world.spawnActor(kDropCounter, EnergyBall, pixelX(enemy), pixelY(enemy), 86 + gameRandom() % 10,
                     3);
  }
  if (enemy.type > kAboveMidBosses) {
    world.spawnActor(kDropCounter, PowerUp, pixelX(enemy), pixelY(enemy), 90, 10);
  }
  if (enemy.type > kAboveBosses) world.clearBulletList();
  enemy.mode = kHitMode;
  enemy.anim = 0;
}

void hitEnemy(Actor& world, Actor& shot, Actor& enemy) {
  shot.mode = kHitMode;
  shot.anim = 0;
  if (shot.type == MissileShot) lowerMissileCount();
  enemy.hp -= shot.hp;
  if (enemy.hp < 0) destroyEnemy(world, enemy);
}

}  // namespace

void playerCollisionPass(Actor& world) {
  if (keyHeld(host::kVkT)) return;
  forEachActor(PlayerList, [&world](Actor& ship, auto&) {
    hitShipByBullets(ship);
    collectTouchedItems(world, ship);
  });
}

void shotCollisionPass(Actor& world) {
  forEachActor(ShotList, [&world](Actor& shot, auto&) {
    if (shot.mode == kHitMode) return;
    // A shot hits every enemy it overlaps in this frame, not only the first.
    forEachActor(EnemyList, [&world, &shot](Actor& enemy, auto&) {
      if (isHittable(enemy) && actorsOverlap(shot, enemy)) hitEnemy(world, shot, enemy);
    });
  });
}

}  // namespace vane
