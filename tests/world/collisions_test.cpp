// SPDX-License-Identifier: GPL-3.0-or-later
// Contacts of the frame: bullets against the ship, shots against enemies, score and drops.
#include <set>

#include "core/random.h"
#include "platform/platform.h"
#include "world/catalogue.h"
#include "world/passes.h"
#include "world/world_fixture.h"

namespace vane::testing {
namespace {

class CollisionsTest : public WorldTest {
 protected:
  // A flying ship at pixel (170, 400); its box is 165..175 by 393..407.
  Actor& flyingShip(int32_t type = 1) {
    Actor& ship = spawnShip(type);
    ship.mode = ShipFlying;
    return ship;
  }
};

TEST_F(CollisionsTest, OneBulletPerFrameDestroysAFlyingShip) {
  Actor& ship = flyingShip();
  Actor& older = spawn(3, 102, 170, 400, 90, 1);
  spawn(3, 101, 300, 100, 90, 1);
  spawn(3, 103, 172, 402, 90, 1);
  playerCollisionPass(World);
  EXPECT_EQ(ship.mode, ShipExploding);
  EXPECT_EQ(ship.anim, 8);
  EXPECT_EQ(actorsOf(BulletList).size(), 2u);
  EXPECT_EQ(actorsOf(BulletList, 102), std::vector<Actor*>{&older});
}

TEST_F(CollisionsTest, ArrivingShipIsNotHitButCollects) {
  Actor& ship = spawnShip(1);
  spawn(3, 101, 170, 400, 90, 1);
  spawn(3, 4001, 170, 400, 90, 3);
  playerCollisionPass(World);
  EXPECT_EQ(ship.mode, ShipArriving);
  EXPECT_EQ(actorsOf(BulletList).size(), 1u);
  EXPECT_EQ(World.next[ItemList], nullptr);
  EXPECT_EQ(ship.angle, 305);
}

TEST_F(CollisionsTest, HoldingTMakesTheShipUntouchable) {
  Actor& ship = flyingShip();
  spawn(3, 101, 170, 400, 90, 1);
  spawn(3, 4001, 170, 400, 90, 3);
  hold(host::kVkT);
  playerCollisionPass(World);
  EXPECT_EQ(ship.mode, ShipFlying);
  EXPECT_NE(World.next[BulletList], nullptr);
  EXPECT_NE(World.next[ItemList], nullptr);
  release(host::kVkT);
  playerCollisionPass(World);
  EXPECT_EQ(ship.mode, ShipExploding);
  EXPECT_EQ(World.next[ItemList], nullptr);
}

TEST_F(CollisionsTest, EnemyFallsOnlyBelowZero) {
  Actor& ship = flyingShip();
  Actor& enemy = spawn(3, 1001, 100, 100, 90, 1);
  for (int32_t hit = 1; hit <= 3; ++hit) {
    SCOPED_TRACE(hit);
    Actor& shot = spawn(1, 9, 100, 110, 270, 20);
    shotCollisionPass(World);
    EXPECT_EQ(shot.mode, kHitMode);
    EXPECT_EQ(shot.anim, 0);
    EXPECT_EQ(enemy.hp, 2 - hit);
    EXPECT_EQ(enemy.mode, hit < 3 ? 0 : kHitMode);
  }
  EXPECT_EQ(ship.scoreValue, 100);
  // The wreck and the spent shots take no more hits.
  spawn(1, 9, 100, 110, 270, 20);
  shotCollisionPass(World);
  EXPECT_EQ(enemy.hp, -1);
  EXPECT_EQ(actorsOf(ShotList).front()->mode, 0);
}

TEST_F(CollisionsTest, EffectsAndDecorationsAreNeverHit) {
  spawnShip(1);
  for (int32_t type : {5001, 5002, 9996}) spawn(1, type, 100, 100, 0, 0);
  Actor& shot = spawn(1, 9, 100, 100, 270, 20);
  shot.hitLeft = -1000;
  shot.hitTop = -1000;
  shot.hitRight = 1000;
  shot.hitBottom = 1000;
  shotCollisionPass(World);
  EXPECT_EQ(shot.mode, 0);
}

TEST_F(CollisionsTest, MissileHitsEveryEnemyItOverlaps) {
  Actor& ship = flyingShip(2);
  ship.aux = 5;
  Actor& a = spawn(3, 1004, 100, 100, 90, 1);
  Actor& b = spawn(3, 1004, 104, 100, 90, 1);
  spawn(1, 18, 100, 110, 270, 3);
  shotCollisionPass(World);
  EXPECT_EQ(a.mode, kHitMode);
  EXPECT_EQ(b.mode, kHitMode);
  EXPECT_EQ(ship.aux, 3);
  EXPECT_EQ(ship.scoreValue, 400);
}

TEST_F(CollisionsTest, LaterShotsPassADestroyedEnemy) {
  flyingShip();
  Actor& enemy = spawn(3, 1001, 100, 100, 90, 1);
  enemy.hp = 1;
  Actor& s1 = spawn(1, 9, 100, 110, 270, 20);
  Actor& s2 = spawn(1, 9, 101, 110, 270, 20);
  Actor& s3 = spawn(1, 9, 102, 110, 270, 20);
  shotCollisionPass(World);  // walked s3, s2, s1
  EXPECT_EQ(s3.mode, kHitMode);
  EXPECT_EQ(s2.mode, kHitMode);
  EXPECT_EQ(s1.mode, 0);
  EXPECT_EQ(enemy.hp, -1);
}

// The balls and angles one destruction draws, from the generator's current state.
std::vector<int32_t> expectedBallAngles(int32_t enemyType) {
  const int32_t n = (gameRandom() % 5 + 1) * enemyType / 1000;
  std::vector<int32_t> angles;
  for (int32_t i = 0; i < n; ++i) angles.push_back(86 + gameRandom() % 10);
  return angles;
}

TEST_F(CollisionsTest, DropsDrawOneNumberForTheCountThenOnePerBall) {
  std::set<size_t> counts;
  for (int32_t type : {1001, 1008, 2001, 2002, 3001, 3002}) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
      SCOPED_TRACE(type * 100 + seed);
      resetWorld();
      Actor& ship = flyingShip();
      seedRandom(seed);
      std::vector<int32_t> angles = expectedBallAngles(type);
      const uint32_t stateAfter = randomState();
      seedRandom(seed);
      spawn(3, 101, 10, 10, 90, 1);
      Actor& enemy = spawn(3, type, 150, 200, 90, 1);
      enemy.hp = 0;
      spawn(1, 9, 150, 200, 270, 20);
      shotCollisionPass(World);
      EXPECT_EQ(randomState(), stateAfter);
      std::vector<int32_t> dropped;
      for (Actor* ball : actorsOf(ItemList, 4001)) {
        EXPECT_EQ(ball->x, 15000);
        EXPECT_EQ(ball->y, 20000);
        EXPECT_EQ(ball->speed, 3);
        EXPECT_EQ(ball->counter, 3);
        dropped.insert(dropped.begin(), ball->angle);  // the list holds the newest first
      }
      EXPECT_EQ(dropped, angles);
      counts.insert(dropped.size());
      const std::vector<Actor*> powerUps = actorsOf(ItemList, 4002);
      ASSERT_EQ(powerUps.size(), type > 2000 ? 1u : 0u);
      if (type > 2000) {
        EXPECT_EQ(World.next[ItemList], powerUps[0]);  // spawned after the balls
        EXPECT_EQ(powerUps[0]->angle, 90);
        EXPECT_EQ(powerUps[0]->speed, 10);
        EXPECT_EQ(powerUps[0]->counter, 3);
      }
      EXPECT_EQ(World.next[BulletList] == nullptr, type > 3000);
      EXPECT_EQ(ship.scoreValue, enemy.scoreValue);
    }
  }
  EXPECT_EQ(counts, (std::set<size_t>{1, 2, 3, 4, 5, 6, 8, 9, 10, 12, 15}));
}

}  // namespace
}  // namespace vane::testing
