// SPDX-License-Identifier: GPL-3.0-or-later
// Enemy bullets on and off the field; the lifetimes of the effects, cues and decorations.
#include "stages_fixture.h"

namespace vane::testing {
namespace {

using BulletTest = StagesTest;
using EffectTest = StagesTest;

TEST_F(BulletTest, ABulletOnTheBottomBoundStaysAndOneHundredthPastItGoes) {
  Actor& onBound = spawn(101, 100, 477, 90, 3);
  bulletPass(World);
  EXPECT_EQ(onBound.y, 48000);
  EXPECT_EQ(countOf(BulletList), 1);
  onBound.y = 47701;
  bulletPass(World);
  EXPECT_TRUE(empty(BulletList));
}

TEST_F(BulletTest, DiveBoltLeavesInItsThirteenthMove) {
  Actor& bolt = spawn(104, 170, 100, 90, 30);
  bulletPass(World);
  EXPECT_EQ(bolt.y / 100, 130);
  for (int move = 2; move <= 12; ++move) bulletPass(World);
  EXPECT_EQ(bolt.y, 46000);
  bulletPass(World);
  EXPECT_TRUE(empty(BulletList));
}

TEST_F(BulletTest, FannedAnglesAreUsedUnreduced) {
  Actor& fanned = spawn(102, 100, 100, -30, 1);
  Actor& reduced = spawn(102, 100, 100, 330, 1);
  Actor& shallow = spawn(101, 100, 100, 30, 1);
  bulletPass(World);
  EXPECT_EQ(fanned.x - 10000, 86);
  EXPECT_EQ(fanned.y - 10000, -49);
  EXPECT_EQ(reduced.y - 10000, -50);
  EXPECT_EQ(shallow.y - 10000, 49);
}

TEST_F(BulletTest, BulletsLeavingAnySideGoOnTheirFirstMove) {
  spawn(101, 0, 100, 180, 3);
  spawn(101, 330, 100, 0, 3);
  spawn(101, 100, 0, 270, 3);
  spawn(103, 100, -50, 90, 7);  // fired by a boss still above the field
  Actor& inside = spawn(101, 100, 100, 90, 3);
  bulletPass(World);
  ASSERT_EQ(countOf(BulletList), 1);
  EXPECT_EQ(World.next[BulletList], &inside);
}

TEST_F(EffectTest, PowerUpMarkerRisesThirtyPassesAndGoesInTheNext) {
  Actor& marker = spawn(5001, 170, 400, 270, 1, 1);
  enemyPass(World);
  EXPECT_EQ(marker.y / 100, 399);
  for (int pass = 2; pass <= 30; ++pass) enemyPass(World);
  EXPECT_EQ(marker.y / 100, 370);
  enemyPass(World);
  EXPECT_TRUE(empty(EnemyList));
}

TEST_F(EffectTest, PickupCuesGoAtTheirFirstPass) {
  spawn(5002, 170, 400, 0, 0, 1);
  spawn(5003, 170, 400, 0, 0, 1);
  enemyPass(World);
  EXPECT_TRUE(empty(EnemyList));
}

TEST_F(EffectTest, SpecialAttackCuesStayOnePassAndGoInTheSecond) {
  for (int32_t type : {5004, 5005}) {
    Actor& cue = spawn(type, 170, 400, 0, 0, 1);
    enemyPass(World);
    EXPECT_EQ(cue.anim, 1);
    EXPECT_EQ(cue.y, 40000);
    enemyPass(World);
    EXPECT_TRUE(empty(EnemyList)) << type;
  }
}

TEST_F(EffectTest, DecorationsDriftDownAndLeaveAfter681Or227Passes) {
  struct Case {
    int32_t speed;
    int passes;
  };
  for (const Case& c : {Case{1, 681}, Case{3, 227}}) {
    spawn(9997, -200, -200, 90, c.speed, 1);
    for (int pass = 1; pass < c.passes; ++pass) {
      enemyPass(World);
      ASSERT_FALSE(empty(EnemyList)) << "speed " << c.speed << " pass " << pass;
    }
    enemyPass(World);
    EXPECT_TRUE(empty(EnemyList)) << "speed " << c.speed;
  }
}

TEST_F(EffectTest, DecorationBoundsAreInclusive) {
  Actor& left = spawn(9996, -200, 0, 90, 0, 1);
  Actor& bottom = spawn(9999, 100, 480, 90, 0, 1);
  enemyPass(World);
  EXPECT_EQ(countOf(EnemyList), 2);
  bottom.y = 48001;
  enemyPass(World);
  ASSERT_EQ(countOf(EnemyList), 1);
  EXPECT_EQ(World.next[EnemyList], &left);
}

}  // namespace
}  // namespace vane::testing
