// SPDX-License-Identifier: GPL-3.0-or-later
// The ship: steering, the Shift cadence and volleys, the special attack, death and return.
#include "platform/platform.h"
#include "world/catalogue.h"
#include "world/passes.h"
#include "world/world_fixture.h"

namespace vane::testing {
namespace {

using namespace platform;
using namespace host;

class PlayerTest : public WorldTest {
 protected:
  // A flying ship of the given type, level and tilt at its start position.
  Actor& flyingShip(int32_t type, int32_t level = 1) {
    Actor& ship = spawnShip(type);
    ship.mode = ShipFlying;
    ship.counter = 0;
    ship.hp = level;
    return ship;
  }
  // One player pass; returns the shots it spawned.
  size_t frame() {
    const size_t before = actorsOf(ShotList).size();
    playerPass(World);
    return actorsOf(ShotList).size() - before;
  }
};

TEST_F(PlayerTest, FireCadenceFollowsTheTable) {
  Actor& ship = flyingShip(1);
  struct Row {
    bool shift;
    int32_t timer;
    bool volley;
  };
  const Row rows[] = {{true, 101, true},  {true, 102, false}, {true, 103, true},
                      {true, 104, false}, {true, 105, true},  {true, 106, false},
                      {true, 106, false}, {false, 6, false},  {true, 101, true}};
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i + 1);
    rows[i].shift ? host::scriptKeyHold(kVkShift) : host::scriptKeyUp(kVkShift);
    EXPECT_EQ(frame(), rows[i].volley ? 2u : 0u);
    EXPECT_EQ(ship.fireTimer, rows[i].timer);
  }
}

TEST_F(PlayerTest, ReleaseKeepsTheBurstAndPressRestartsIt) {
  Actor& ship = flyingShip(1);
  hold(kVkShift);
  frame();
  frame();
  frame();
  EXPECT_EQ(ship.fireTimer, 103);
  release(kVkShift);
  EXPECT_EQ(frame(), 0u);
  EXPECT_EQ(ship.fireTimer, 4);
  hold(kVkShift);
  EXPECT_EQ(frame(), 2u);
  EXPECT_EQ(ship.fireTimer, 101);
}

TEST_F(PlayerTest, NothingFiresWithoutShiftOrOutsideTheLevels) {
  Actor& ship = flyingShip(1);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(frame(), 0u);
  ship.hp = 4;
  hold(kVkShift);
  EXPECT_EQ(frame(), 0u);
  EXPECT_EQ(ship.fireTimer, 101);
}

TEST_F(PlayerTest, VolleysOfEachLevel) {
  const struct {
    int32_t ship, level;
    size_t shots;
  } rows[] = {{1, 1, 2}, {1, 2, 6}, {1, 3, 10}, {2, 1, 2}, {2, 2, 8}, {2, 3, 14}};
  hold(kVkShift);
  for (const auto& r : rows) {
    SCOPED_TRACE(r.ship * 10 + r.level);
    resetWorld();
    flyingShip(r.ship, r.level);
    EXPECT_EQ(frame(), r.shots);
  }
}

TEST_F(PlayerTest, LevelThreeVolleyOfTheFirstShip) {
  Actor& ship = flyingShip(1, 3);
  hold(kVkShift);
  frame();
  // Spawned in table order, so the list (newest first) holds them reversed.
  const std::vector<Actor*> shots = actorsOf(ShotList);
  ASSERT_EQ(shots.size(), 10u);
  const Actor& last = *shots[0];  // type 10 at angle 180, speed 20
  EXPECT_EQ(last.type, 10);
  EXPECT_EQ(last.angle, 180);
  EXPECT_EQ(last.x, pixelX(ship) * 100);
  EXPECT_EQ(last.y, (pixelY(ship) + 30) * 100);
  const Actor& first = *shots[9];  // type 9 at (-15, +10)
  EXPECT_EQ(first.type, 9);
  EXPECT_EQ(first.x, (pixelX(ship) - 15) * 100);
  EXPECT_EQ(first.y, (pixelY(ship) + 10) * 100);
}

TEST_F(PlayerTest, MissilesAtLevelTwoStopAfterEight) {
  Actor& ship = flyingShip(2, 2);
  hold(kVkShift);
  frame();
  EXPECT_EQ(ship.aux, 4);
  frame();
  frame();
  EXPECT_EQ(ship.aux, 8);
  release(kVkShift);
  frame();
  hold(kVkShift);
  EXPECT_EQ(frame(), 4u);  // main shots only
  EXPECT_EQ(ship.aux, 8);
  EXPECT_EQ(actorsOf(ShotList, 18).size(), 8u);
}

TEST_F(PlayerTest, MissileLimitIsTestedBeforeTheVolley) {
  Actor& ship = flyingShip(2, 3);
  ship.aux = 4;
  hold(kVkShift);
  EXPECT_EQ(frame(), 14u);
  EXPECT_EQ(ship.aux, 12);
  frame();
  EXPECT_EQ(frame(), 14u);
  EXPECT_EQ(ship.aux, 20);
}

TEST_F(PlayerTest, SteeringTiltAndClamps) {
  Actor& ship = flyingShip(1);
  ship.anim = 25;
  hold(kVkLeft);
  hold(kVkRight);
  frame();
  EXPECT_EQ(ship.x, 17000);
  EXPECT_EQ(ship.anim, 26);  // 22, 25, then the return step
  release(kVkRight);
  for (int i = 0; i < 40; ++i) frame();
  EXPECT_EQ(ship.x, 1000);
  EXPECT_EQ(ship.anim, 1);
  release(kVkLeft);
  hold(kVkNumpad6);
  hold(kVkNumpad2);
  for (int i = 0; i < 100; ++i) frame();
  EXPECT_EQ(ship.x, 32500);
  EXPECT_EQ(ship.y, 44000);
  EXPECT_EQ(ship.anim, 48);
  release(kVkNumpad6);
  release(kVkNumpad2);
  hold(kVkUp);
  frame();
  EXPECT_EQ(ship.y, 43500);
  EXPECT_EQ(ship.anim, 47);
}

TEST_F(PlayerTest, ClearsTheKeyboardStateEveryFrame) {
  flyingShip(1);
  uint8_t state[256];
  std::fill_n(state, 256, uint8_t{0x80});
  host::setKeyboardState(state);
  frame();
  host::getKeyboardState(state);
  for (uint8_t v : state) EXPECT_EQ(v, 0);
}

TEST_F(PlayerTest, ArrivalLastsUntilTheCounterReachesOneHundred) {
  Actor& ship = spawnShip(1);
  for (int i = 0; i < 98; ++i) frame();
  EXPECT_EQ(ship.mode, ShipArriving);
  EXPECT_EQ(ship.counter, 99);
  hold(kVkShift);
  EXPECT_EQ(frame(), 2u);  // the ship fires while it arrives
  EXPECT_EQ(ship.mode, ShipFlying);
  EXPECT_EQ(ship.counter, 0);
}

TEST_F(PlayerTest, SpecialAttackOncePerPressWhileEnergyLasts) {
  Actor& ship = flyingShip(1);
  ship.angle = 250;
  spawn(3, 101, 100, 100, 90, 1);
  hold(kVkZ);
  EXPECT_EQ(frame(), 96u);
  EXPECT_EQ(ship.angle, 150);
  EXPECT_EQ(World.next[BulletList], nullptr);
  EXPECT_EQ(actorsOf(EnemyList, 5004).size(), 1u);
  EXPECT_EQ(frame(), 0u);  // Z still held
  release(kVkZ);
  frame();
  hold(kVkZ);
  EXPECT_EQ(frame(), 96u);
  EXPECT_EQ(ship.angle, 50);
  release(kVkZ);
  frame();
  hold(kVkZ);
  EXPECT_EQ(frame(), 0u);
  EXPECT_EQ(ship.angle, 50);
}

TEST_F(PlayerTest, ArrowWallShape) {
  Actor& ship = flyingShip(1);
  ship.x = 5000;  // the wall does not depend on the ship
  hold(kVkZ);
  frame();
  const std::vector<Actor*> shots = actorsOf(ShotList);
  ASSERT_EQ(shots.size(), 96u);
  const Actor& firstSpawned = *shots.back();
  EXPECT_EQ(firstSpawned.type, 12);
  EXPECT_EQ(firstSpawned.x, 17000);
  EXPECT_EQ(firstSpawned.y, 48000);
  EXPECT_EQ(shots[shots.size() - 2]->type, 11);
  EXPECT_EQ(shots[shots.size() - 2]->x, 16000);
  const Actor& lastSpawned = *shots.front();
  EXPECT_EQ(lastSpawned.type, 11);
  EXPECT_EQ(lastSpawned.x, 1000);
  EXPECT_EQ(lastSpawned.y, 65000);
  EXPECT_EQ(shots[1]->type, 12);
  EXPECT_EQ(shots[1]->x, 32000);
  for (const Actor* s : shots) {
    EXPECT_EQ(s->angle, 270);
    EXPECT_EQ(s->speed, 30);
  }
}

TEST_F(PlayerTest, SweepWallShape) {
  Actor& ship = flyingShip(2);
  ship.x = 10050;  // pixel column 100
  hold(kVkZ);
  frame();
  const std::vector<Actor*> shots = actorsOf(ShotList);
  ASSERT_EQ(shots.size(), 96u);
  EXPECT_EQ(actorsOf(EnemyList, 5005).size(), 1u);
  const Actor& firstSpawned = *shots.back();
  EXPECT_EQ(firstSpawned.type, 19);
  EXPECT_EQ(firstSpawned.x, 8000);
  EXPECT_EQ(firstSpawned.y, 0);
  EXPECT_EQ(firstSpawned.angle, 0);
  const Actor& lastSpawned = *shots.front();
  EXPECT_EQ(lastSpawned.x, 12000);
  EXPECT_EQ(lastSpawned.y, 45000);
  EXPECT_EQ(lastSpawned.angle, 180);
  EXPECT_EQ(lastSpawned.speed, 10);
}

TEST_F(PlayerTest, ExplosionEndsInReturnWithTheLevelReset) {
  Actor& ship = flyingShip(2, 3);
  ship.x = 5000;
  ship.angle = 40;
  ship.aux = 6;
  ship.scoreValue = 700;
  ship.mode = ShipExploding;
  ship.anim = 8;
  hold(kVkLeft);
  for (int i = 0; i < 7; ++i) frame();
  EXPECT_EQ(ship.mode, ShipExploding);
  EXPECT_EQ(ship.x, 5000);
  frame();
  EXPECT_EQ(ship.mode, ShipArriving);
  EXPECT_EQ(ship.speed, 1);
  EXPECT_EQ(ship.x, 17000);
  EXPECT_EQ(ship.y, 40000);
  EXPECT_EQ(ship.hp, 1);
  EXPECT_EQ(ship.angle, 300);
  EXPECT_EQ(ship.fireTimer, 9);
  EXPECT_EQ(ship.counter, 0);
  EXPECT_EQ(ship.anim, 0);  // the second kind levels out later
  EXPECT_EQ(ship.aux, 6);
  EXPECT_EQ(ship.scoreValue, 700);
}

TEST_F(PlayerTest, FirstKindReturnsLevel) {
  Actor& ship = flyingShip(1);
  ship.mode = ShipExploding;
  ship.anim = 1;
  frame();
  EXPECT_EQ(ship.anim, 25);
}

TEST_F(PlayerTest, LivesRunOutAfterTheThirdHit) {
  Actor& ship = spawnShip(1);
  for (int hit = 1; hit <= 3; ++hit) {
    SCOPED_TRACE(hit);
    ship.mode = ShipExploding;
    ship.anim = 8;
    for (int i = 0; i < 8; ++i) frame();
    EXPECT_EQ(ship.speed, 2 - hit);
  }
  EXPECT_EQ(ship.mode, ShipOutOfLives);
  EXPECT_EQ(ship.x, 17000);
  EXPECT_EQ(ship.y, 40000);
  hold(kVkLeft);
  hold(kVkShift);
  hold(kVkZ);
  EXPECT_EQ(frame(), 0u);
  EXPECT_EQ(ship.x, 17000);
  EXPECT_EQ(ship.mode, ShipOutOfLives);
}

}  // namespace
}  // namespace vane::testing
