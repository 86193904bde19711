// SPDX-License-Identifier: GPL-3.0-or-later
// The mid-bosses' flights and fans, the spiral boss's burst and the sweeping boss's draws and dive.
#include "stages_fixture.h"

namespace vane::testing {
namespace {

using BossTest = StagesTest;

std::vector<int32_t> bulletAnglesOldestFirst() {
  std::vector<int32_t> angles;
  for (const Actor* b : actorsOf(BulletList)) angles.insert(angles.begin(), b->angle);
  return angles;
}

TEST_F(BossTest, FirstMidBossHaltsFansClimbsAndLeavesInItsUpdate234) {
  spawnPlayer();
  Actor& boss = spawn(2001, 170, 0, 90, 2);
  std::vector<int> volleySizes(127, 0);
  for (int u = 1; u <= 126; ++u) volleySizes[u] = passAndCountShots();
  for (int u = 1; u <= 126; ++u) {
    const bool fan = u == 80 || u == 90 || u == 100;
    const bool climbing = u == 105 || u == 115 || u == 120 || u == 125;
    EXPECT_EQ(volleySizes[u], fan ? 4 : climbing ? 1 : 0) << "update " << u;
  }
  for (int u = 127; u <= 233; ++u) {
    enemyPass(World);
    ASSERT_FALSE(empty(EnemyList)) << "update " << u;
  }
  EXPECT_EQ(boss.y, 15800 - 200 * 129);
  enemyPass(World);
  EXPECT_TRUE(empty(EnemyList));
}

TEST_F(BossTest, FirstMidBossFansRoundTheAimBelowTheShip) {
  spawnPlayer();  // (170, 400): straight below the boss, so the aim is 90
  Actor& boss = spawn(2001, 170, 0, 90, 2);
  for (int u = 1; u <= 79; ++u) enemyPass(World);
  EXPECT_EQ(boss.y, 15800);
  enemyPass(World);
  EXPECT_EQ(boss.y, 15800);
  EXPECT_EQ(bulletAnglesOldestFirst(), (std::vector<int32_t>{75, 85, 95, 105}));
  for (const Actor* b : actorsOf(BulletList)) {
    EXPECT_EQ(b->type, 101);
    EXPECT_EQ(b->y, 19400);
  }
}

TEST_F(BossTest, SecondMidBossComesInDiagonallyAndFiresDoubleFans) {
  spawnPlayer();
  Actor& boss = spawn(2002, -40, 150, 315, 2);
  std::vector<int> volleySizes(141, 0);
  for (int u = 1; u <= 140; ++u) {
    volleySizes[u] = passAndCountShots();
    if (u == 89) {
      EXPECT_EQ(boss.x / 100, 84);
      EXPECT_EQ(boss.y / 100, 25);
    }
  }
  EXPECT_EQ(boss.x / 100, 84);
  for (int u = 1; u <= 140; ++u) {
    const bool fan = u == 90 || u == 100 || u == 110 || u == 120;
    const bool climbing = u == 125 || u == 130 || u == 135 || u == 140;
    EXPECT_EQ(volleySizes[u], fan ? 6 : climbing ? 1 : 0) << "update " << u;
  }
}

TEST_F(BossTest, SpiralBossComesDownTo118AndDrawsThreeNumbersExceptWhenItHalts) {
  spawnPlayer();
  Actor& boss = spawn(3001, 170, -118, 90, 1);
  for (int step = 1; step <= 300; ++step) {
    const uint32_t before = randomState();
    enemyPass(World);
    EXPECT_EQ(randomState(), drawsAhead(before, step == 237 ? 0 : 3)) << "step " << step;
    if (step == 236) {
      EXPECT_EQ(boss.y, 11800);
      EXPECT_EQ(boss.speed, 1);
    }
  }
  EXPECT_EQ(boss.y, 11800);
  EXPECT_EQ(boss.speed, 0);
}

TEST_F(BossTest, SpiralBurstFiresEighteenTurningVolleysAndNoFans) {
  spawnPlayer();
  Actor& boss = spawn(3001, 170, 118, 90, 0);
  boss.anim = 300;
  int start = 0;
  for (int frame = 1; frame <= 5000 && start == 0; ++frame) {
    World.clearBulletList();
    enemyPass(World);
    if (boss.fireTimer != 0) start = frame;
  }
  ASSERT_NE(start, 0) << "no burst began";
  for (int k = 1; k <= 89; ++k) {
    World.clearBulletList();
    enemyPass(World);
    const std::vector<Actor*> bullets = actorsOf(BulletList);
    if (k % 5 != 4) {
      EXPECT_TRUE(bullets.empty()) << "frame N+" << k;
      continue;
    }
    const int32_t t = k + 1;
    ASSERT_EQ(bullets.size(), 5u) << "frame N+" << k;
    for (const Actor* b : bullets) {
      EXPECT_EQ(b->type, 101);
      EXPECT_EQ(b->speed, 5);
    }
    EXPECT_EQ(bulletAnglesOldestFirst(),
              (std::vector<int32_t>{t - 15, t + 15, t + 45, t + 75, t + 105}));
  }
  EXPECT_EQ(boss.fireTimer, 0);
}

TEST_F(BossTest, SweepingBossHaltsHalvesItsBoxAndBreaksLeft) {
  spawnPlayer();
  Actor& boss = spawn(3002, 170, -118, 90, 1);
  std::vector<int32_t> hitBottom{0};  // indexed by step
  for (int step = 1; step <= 350; ++step) {
    const uint32_t before = randomState();
    enemyPass(World);
    ASSERT_EQ(randomState(), before) << "step " << step;
    hitBottom.push_back(boss.hitBottom);
  }
  EXPECT_EQ(hitBottom[299], 65);
  EXPECT_EQ(hitBottom[300], 0);
  EXPECT_EQ(boss.x, 17000 - 980);
  EXPECT_EQ(boss.y, 11800 + 170);
  EXPECT_TRUE(empty(BulletList));
}

TEST_F(BossTest, SweepingBossDrawsThreeNumbersAFrameAndFourBeyondAWall) {
  spawnPlayer();
  Actor& boss = spawn(3002, 170, -118, 90, 1);
  for (int step = 1; step <= 350; ++step) enemyPass(World);
  int wallFrames = 0;
  for (int frame = 1; frame <= 3000; ++frame) {
    const bool beyondWall = boss.x < 0 || boss.x > 33000;
    wallFrames += beyondWall ? 1 : 0;
    const uint32_t before = randomState();
    enemyPass(World);
    ASSERT_EQ(randomState(), drawsAhead(before, beyondWall ? 4 : 3)) << "frame " << frame;
    World.clearBulletList();
  }
  EXPECT_GT(wallFrames, 0);
}

TEST_F(BossTest, SweepingBossTurnsBackFromTheWallsAboveAndBelowItsLine) {
  struct Case {
    int32_t x, y, low, high;
  };
  for (const Case& c : {Case{-1, 9999, 0, 24}, Case{-1, 10000, 336, 360},
                        Case{33001, 9999, 156, 180}, Case{33001, 10000, 180, 204}}) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
      seedRandom(seed * 7919u);
      Actor& boss = spawn(3002, 0, 0, 170, 0);
      boss.anim = 400;
      boss.x = c.x;
      boss.y = c.y;
      enemyPass(World);
      EXPECT_GE(boss.angle, c.low) << c.x << "," << c.y;
      EXPECT_LE(boss.angle, c.high) << c.x << "," << c.y;
      World.clearAllLists();
    }
  }
}

TEST_F(BossTest, DiveAttackJumpsWaitsDropsTwentyNineBoltsAndSweepsOn) {
  spawnPlayer();
  Actor& boss = spawn(3002, 170, -118, 90, 1);
  for (int step = 1; step <= 350; ++step) enemyPass(World);
  bool dove = false;
  for (int frame = 1; frame <= 5000 && !dove; ++frame) {
    enemyPass(World);
    dove = boss.fireTimer != 0;
  }
  ASSERT_TRUE(dove) << "no dive began";
  EXPECT_EQ(boss.x, 17000);
  EXPECT_EQ(boss.y, 10000);
  const int32_t heading = boss.angle;
  for (int k = 1; k <= 49; ++k) {
    World.clearBulletList();
    enemyPass(World);
    EXPECT_EQ(boss.x, 17000) << "frame N+" << k;
    EXPECT_EQ(boss.y, 10000) << "frame N+" << k;
    const std::vector<Actor*> bullets = actorsOf(BulletList);
    if (k < 20 || k > 48) {
      EXPECT_TRUE(bullets.empty()) << "frame N+" << k;
      continue;
    }
    ASSERT_EQ(bullets.size(), 1u) << "frame N+" << k;
    EXPECT_EQ(bullets[0]->type, 104);
    EXPECT_EQ(bullets[0]->speed, 30);
    EXPECT_EQ(bullets[0]->angle, 90);
    EXPECT_EQ(bullets[0]->x, 17000);
    EXPECT_EQ(bullets[0]->y, 10000);
  }
  EXPECT_EQ(boss.fireTimer, 0);
  EXPECT_EQ(boss.angle, heading);
  enemyPass(World);
  EXPECT_TRUE(boss.x != 17000 || boss.y != 10000);
}

TEST_F(BossTest, MidBossAtPixelMinus40IsInsideItsWideBounds) {
  spawn(2002, -40, 150, 315, 0);
  enemyPass(World);
  EXPECT_FALSE(empty(EnemyList));
}

TEST_F(BossTest, BossesAreNeverRemovedByPosition) {
  spawn(3001, -500, 900, 90, 0);
  spawn(3002, -500, 900, 90, 0);
  for (int u = 1; u <= 10; ++u) enemyPass(World);
  EXPECT_EQ(countOf(EnemyList), 2);
}

}  // namespace
}  // namespace vane::testing
