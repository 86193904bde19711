// The frame's contacts: enemy bullets against the ship, items collected, shots against enemies with
// damage, destruction, score and drops.
#include "platform/platform.h"
#include "shell/devices.h"
#include "world/geometry.h"
#include "world/items.h"
#include "world/modes.h"
#include "world/passes.h"
#include "world/random.h"
#include "world/shots.h"

namespace vane {

namespace {

struct TypeRange {
  int32_t first;
  int32_t last;
};

constexpr TypeRange kBulletTypes{101, 104};
constexpr TypeRange kItemTypes{4001, 4002};
constexpr TypeRange kHittableTypes[] = {{1001, 1008}, {2001, 2002}, {3001, 3002}};

constexpr int32_t kMissileType = 18;
constexpr int32_t kShipHitCountdown = 8;
constexpr int32_t kEnergyBall = 4001;
constexpr int32_t kPowerUp = 4002;
constexpr int32_t kDropCounter = 3;
constexpr int32_t kMidBossTypes = 2000;  // types above drop a power-up
constexpr int32_t kBossTypes = 3000;     // types above also clear the enemy bullets

bool inRange(int32_t type, TypeRange r) {
  return type >= r.first && type <= r.last;
}

bool isHittable(const Actor& e) {
  if (e.mode == kHitMode) return false;
  for (TypeRange r : kHittableTypes) {
    if (inRange(e.type, r)) return true;
  }
  return false;
}

// A flying ship takes the first overlapping bullet in list order and stops looking.
void hitShipByBullets(Actor& ship) {
  forEachActor(BulletList, [&ship](Actor& bullet, auto& remove) {
    if (ship.mode != ShipFlying) return;
    if (!inRange(bullet.type, kBulletTypes) || !actorsOverlap(ship, bullet)) return;
    ship.mode = ShipExploding;
    ship.anim = kShipHitCountdown;
    remove();
  });
}

void collectTouchedItems(Actor& world, Actor& ship) {
  forEachActor(ItemList, [&world, &ship](Actor& item, auto& remove) {
    if (!inRange(item.type, kItemTypes) || !actorsOverlap(ship, item)) return;
    collectItem(world, ship, item);
    remove();
  });
}

// Points to the score, energy balls (and from bosses a power-up) at the wreck, then the explosion.
void destroyEnemy(Actor& world, Actor& enemy) {
  if (Actor* head = firstPlayer()) head->scoreValue += enemy.scoreValue;
  const int32_t balls = (gameRandom() % 5 + 1) * enemy.type / 1000;
  for (int32_t i = 0; i < balls; ++i) {
    world.spawnActor(kDropCounter, kEnergyBall, pixelX(enemy), pixelY(enemy),
                     86 + gameRandom() % 10, 3);
  }
  if (enemy.type > kMidBossTypes) {
    world.spawnActor(kDropCounter, kPowerUp, pixelX(enemy), pixelY(enemy), 90, 10);
  }
  if (enemy.type > kBossTypes) world.clearBulletList();
  enemy.mode = kHitMode;
  enemy.anim = 0;
}

void hitEnemy(Actor& world, Actor& shot, Actor& enemy) {
  shot.mode = kHitMode;
  shot.anim = 0;
  if (shot.type == kMissileType) lowerMissileCount();
  enemy.hp -= shot.hp;
  if (enemy.hp < 0) destroyEnemy(world, enemy);
}

}  // namespace

void playerCollisionPass(Actor& world) {
  if (keyHeld(platform::kVkT)) return;
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
