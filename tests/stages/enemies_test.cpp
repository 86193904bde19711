// SPDX-License-Identifier: GPL-3.0-or-later
// The ordinary enemies' flights, shots and ends, and the wreck count of the enemy pass.
#include "stages_fixture.h"
#include "world/geometry.h"

namespace vane::testing {
namespace {

using EnemyTest = StagesTest;

TEST_F(EnemyTest, PairWaveFlyerStopsFiresThriceAndBreaksLowerLeft) {
  spawnPlayer();
  Actor& e = spawn(1001, 60, 0, 90, 2);
  for (int u = 1; u <= 23; ++u) {
    ASSERT_EQ(passAndCountShots(), 0) << "update " << u;
    ASSERT_EQ(e.y, 200 * u);
  }
  for (int u = 24; u <= 29; ++u) {
    const bool fires = u == 24 || u == 26 || u == 28;
    ASSERT_EQ(passAndCountShots(), fires ? 1 : 0) << "update " << u;
    EXPECT_EQ(e.x, 6000);
    EXPECT_EQ(e.y, 4600);
    if (fires) {
      const Actor& b = *World.next[BulletList];
      EXPECT_EQ(b.type, 101);
      EXPECT_EQ(b.speed, 3);
      EXPECT_EQ(b.x, 6000);
      EXPECT_EQ(b.y, 7300);
      EXPECT_EQ(b.angle, headingTo(60, 73, 170, 415));
    }
  }
  for (int u = 30; u <= 57; ++u) {
    enemyPass(World);
    ASSERT_FALSE(empty(EnemyList)) << "update " << u;
    ASSERT_EQ(e.x, 6000 - 210 * (u - 29));
    ASSERT_EQ(e.y, 4600 + 210 * (u - 29));
  }
  EXPECT_EQ(e.x, 120);
  enemyPass(World);  // update 58 takes x to -90
  EXPECT_TRUE(empty(EnemyList));
}

TEST_F(EnemyTest, DartFiresFromBeforeItsMoveAndLeavesAtTheBottom) {
  spawnPlayer();
  Actor& e = spawn(1003, 100, 0, 90, 10);
  std::vector<int32_t> muzzleY;
  for (int u = 1; u <= 48; ++u) {
    if (passAndCountShots() == 1) muzzleY.push_back(World.next[BulletList]->y / 100);
    ASSERT_FALSE(empty(EnemyList)) << "update " << u;
  }
  EXPECT_EQ(e.y, 48000);
  EXPECT_EQ(muzzleY, (std::vector<int32_t>{222, 322, 422}));
  enemyPass(World);
  EXPECT_TRUE(empty(EnemyList));
}

TEST_F(EnemyTest, MineBurstsIntoARingBelowPixel120AndLeavesSilently) {
  spawnPlayer();
  spawn(1004, 100, 122, 90, 2);
  enemyPass(World);
  EXPECT_TRUE(empty(EnemyList));
  std::vector<int32_t> angles;
  for (const Actor* b : actorsOf(BulletList)) {
    EXPECT_EQ(b->type, 101);
    EXPECT_EQ(b->speed, 3);
    EXPECT_EQ(b->x, 10000);
    EXPECT_EQ(b->y, 12200);
    angles.insert(angles.begin(), b->angle);  // the list holds the last one fired first
  }
  EXPECT_EQ(angles, (std::vector<int32_t>{0, 22, 45, 67, 90, 112, 135, 157, 180, 202, 225, 247, 270,
                                          292, 315, 337}));
}

TEST_F(EnemyTest, MineAtPixel120StillFlies) {
  Actor& e = spawn(1004, 100, 120, 90, 2);
  e.y += 99;
  enemyPass(World);
  EXPECT_TRUE(empty(BulletList));
  EXPECT_EQ(e.y, 12299);
  EXPECT_EQ(e.anim, 1);
}

TEST_F(EnemyTest, LeftFlightLevelsOutFiresFourTimesAndLeavesRight) {
  spawnPlayer();
  Actor& e = spawn(1005, 0, 150, 45, 3);
  std::vector<int> firing;
  for (int u = 1; u <= 122; ++u) {
    const int32_t muzzleX = e.x / 100 + 22;
    if (passAndCountShots() == 1) {
      firing.push_back(u);
      EXPECT_EQ(World.next[BulletList]->x, muzzleX * 100);
    }
    ASSERT_FALSE(empty(EnemyList)) << "update " << u;
    if (u == 30) {
      EXPECT_EQ(e.x, 6390);
      EXPECT_EQ(e.y, 21090);
    }
  }
  EXPECT_EQ(firing, (std::vector<int>{40, 60, 80, 100}));
  EXPECT_EQ(e.angle, 315);
  enemyPass(World);
  EXPECT_TRUE(empty(EnemyList));
}

TEST_F(EnemyTest, RightFlightFiresFromTheLeftSideThenTheRight) {
  spawnPlayer();
  Actor& e = spawn(1006, 330, 150, 135, 3);
  std::vector<int32_t> offsets;
  for (int u = 1; u <= 100; ++u) {
    const int32_t px = e.x / 100;
    if (passAndCountShots() == 1) offsets.push_back(World.next[BulletList]->x / 100 - px);
  }
  EXPECT_EQ(offsets, (std::vector<int32_t>{-22, -22, 22, 22}));
  EXPECT_EQ(e.angle, 180);
}

TEST_F(EnemyTest, ClimberHaltsTurnsAndReshapesItsBox) {
  spawnPlayer();
  Actor& e = spawn(1007, 100, 0, 90, 4);
  std::vector<int> firing;
  std::vector<int32_t> stepY{0}, hitBottom{0};  // indexed by update
  for (int u = 1; u <= 70; ++u) {
    const int32_t before = e.y;
    if (passAndCountShots() == 1) firing.push_back(u);
    stepY.push_back(e.y - before);
    hitBottom.push_back(e.hitBottom);
  }
  EXPECT_EQ(firing, (std::vector<int>{40, 60}));
  EXPECT_EQ(stepY[59], 400);
  for (int u = 60; u <= 65; ++u) EXPECT_EQ(stepY[u], 0) << "update " << u;
  EXPECT_EQ(stepY[66], -200);
  EXPECT_EQ(stepY[67], -200);
  EXPECT_EQ(stepY[68], -300);
  EXPECT_EQ(hitBottom[59], 30);
  EXPECT_EQ(hitBottom[60], 15);
  EXPECT_EQ(hitBottom[64], 2);
  EXPECT_EQ(hitBottom[66], 15);
  EXPECT_EQ(hitBottom[68], 30);
  EXPECT_EQ(e.angle, 270);
}

TEST_F(EnemyTest, AmbusherDivesBelowTheShipFiresUpwardAndClimbsAway) {
  spawnPlayer();  // pixel y 400
  Actor& e = spawn(1008, 100, 0, 90, 4);
  for (int u = 1; u <= 101; ++u) enemyPass(World);
  EXPECT_EQ(e.anim, 0);
  EXPECT_EQ(e.y, 40400);
  // Update 102 finds it below the ship: it counts from here on, moving in 9 updates.
  for (int k = 1; k <= 9; ++k) enemyPass(World);
  EXPECT_EQ(e.y, 44000);
  std::vector<int> firing;
  for (int k = 10; k <= 175; ++k) {
    if (passAndCountShots() == 1) {
      firing.push_back(k);
      EXPECT_EQ(World.next[BulletList]->y, 44000);
    }
    ASSERT_FALSE(empty(EnemyList)) << "counted update " << k;
  }
  EXPECT_EQ(e.mode, 1);
  EXPECT_EQ(firing, (std::vector<int>{10, 15, 20}));
  EXPECT_EQ(e.y, 200);
  enemyPass(World);  // counted update 176 takes y to -100
  EXPECT_TRUE(empty(EnemyList));
}

TEST_F(EnemyTest, AmbusherAboveTheShipNeverCounts) {
  spawnPlayer();
  Actor& e = spawn(1008, 100, 400, 90, 0);
  for (int u = 1; u <= 100; ++u) enemyPass(World);
  EXPECT_EQ(e.anim, 0);
  EXPECT_EQ(e.mode, 0);
  EXPECT_TRUE(empty(BulletList));
}

TEST_F(EnemyTest, WreckCountsFourPassesOffTheFieldAndGoesInTheFifth) {
  for (int32_t type : {1001, 1004, 1008, 2001, 3001, 3002}) {
    Actor& e = spawn(type, -50, 600, 90, 5);
    e.mode = 128;
    e.anim = 0;
    for (int pass = 1; pass <= 4; ++pass) {
      enemyPass(World);
      ASSERT_FALSE(empty(EnemyList)) << type;
      EXPECT_EQ(e.anim, pass);
      EXPECT_EQ(e.y, 60000);
    }
    enemyPass(World);
    EXPECT_TRUE(empty(EnemyList)) << type;
    EXPECT_TRUE(empty(BulletList)) << type;
  }
}

TEST_F(EnemyTest, ShotsWithoutAShipAimStraightDown) {
  Actor& e = spawn(1003, 100, 0, 90, 0);
  e.anim = 19;
  enemyPass(World);
  ASSERT_FALSE(empty(BulletList));
  EXPECT_EQ(World.next[BulletList]->angle, 90);
}

TEST_F(EnemyTest, PassRemovesEveryLeaverInOneWalk) {
  for (int i = 0; i < 5; ++i) spawn(1001, 0, 480, 180, 1);
  spawn(5002, 0, 0, 0, 0, 1);
  enemyPass(World);
  EXPECT_TRUE(empty(EnemyList));
}

}  // namespace
}  // namespace vane::testing
