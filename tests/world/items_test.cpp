// SPDX-License-Identifier: GPL-3.0-or-later
// Items: the energy ball's fall, the power-up's landing, slide and life, and what collecting does.
#include "world/catalogue.h"
#include "world/passes.h"
#include "world/world_fixture.h"

namespace vane::testing {
namespace {

using ItemsTest = WorldTest;

TEST_F(ItemsTest, EnergyBallsDriftByTruncatedStepsAndLeaveAtTheBottom) {
  Actor& left = spawn(3, 4001, 100, 470, 95, 3);
  Actor& right = spawn(3, 4001, 200, 470, 86, 3);
  itemPass(World);
  EXPECT_EQ(left.x, 10000 - 24);
  EXPECT_EQ(right.x, 20000 + 18);
  EXPECT_EQ(right.y, 47000 + 297);
  itemPass(World);
  itemPass(World);
  EXPECT_EQ(right.y, 47891);
  EXPECT_EQ(left.y, 47891);
  itemPass(World);  // 48188 is past the bottom
  EXPECT_EQ(World.next[ItemList], nullptr);
}

TEST_F(ItemsTest, PowerUpLandsOnTheLineAndBouncesBetweenTheSides) {
  Actor& item = spawn(3, 4002, 300, 440, 90, 10);
  itemPass(World);
  EXPECT_EQ(item.y, 42900);
  EXPECT_EQ(item.angle, 0);
  EXPECT_EQ(item.x, 30000);
  const struct {
    int32_t x, angle;
  } slide[] = {{31000, 0}, {32000, 0}, {33000, 0}, {34000, 180}, {33000, 180}};
  for (const auto& s : slide) {
    itemPass(World);
    EXPECT_EQ(item.x, s.x);
    EXPECT_EQ(item.angle, s.angle);
    EXPECT_EQ(item.y, 42900);
  }
  item.x = 500;
  itemPass(World);
  EXPECT_EQ(item.x, -500);
  EXPECT_EQ(item.angle, 0);
}

TEST_F(ItemsTest, PowerUpIsRemovedOnItsHundredAndFiftyFirstUpdate) {
  Actor& item = spawn(1, 4002, 150, 0, 90, 10);
  for (int i = 0; i < 150; ++i) itemPass(World);
  EXPECT_EQ(World.next[ItemList], &item);
  EXPECT_EQ(item.anim, 150);
  itemPass(World);
  EXPECT_EQ(World.next[ItemList], nullptr);
}

TEST_F(ItemsTest, EnergyIsNotCapped) {
  Actor& ship = spawnShip(1);
  ship.angle = 295;
  for (int i = 0; i < 3; ++i) spawn(3, 4001, 170 + i, 400, 90, 3);
  playerCollisionPass(World);
  EXPECT_EQ(World.next[ItemList], nullptr);
  EXPECT_EQ(ship.angle, 310);
  EXPECT_EQ(actorsOf(EnemyList, 5002).size(), 3u);
}

TEST_F(ItemsTest, PowerUpRaisesTheLevelUpToThree) {
  Actor& ship = spawnShip(1);
  ship.x = 12345;
  spawn(3, 4002, 123, 400, 90, 10);
  playerCollisionPass(World);
  EXPECT_EQ(ship.hp, 2);
  const std::vector<Actor*> effects = actorsOf(EnemyList);
  ASSERT_EQ(effects.size(), 2u);
  EXPECT_EQ(effects[0]->type, 5003);
  EXPECT_EQ(effects[1]->type, 5001);
  EXPECT_EQ(effects[1]->x, 12300);
  EXPECT_EQ(effects[1]->y, 40000);
  EXPECT_EQ(effects[1]->angle, 270);
  EXPECT_EQ(effects[1]->speed, 1);

  resetWorld();
  Actor& top = spawnShip(2);
  top.hp = 3;
  spawn(3, 4002, 170, 400, 90, 10);
  playerCollisionPass(World);
  EXPECT_EQ(top.hp, 3);
  EXPECT_EQ(World.next[ItemList], nullptr);
  EXPECT_EQ(World.next[EnemyList], nullptr);
}

}  // namespace
}  // namespace vane::testing
