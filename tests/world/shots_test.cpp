// SPDX-License-Identifier: GPL-3.0-or-later
// Shot flight: straight shots, the side shot's turn and swelling, areas per type, spent shots.
#include "world/catalogue.h"
#include "world/passes.h"
#include "world/world_fixture.h"

namespace vane::testing {
namespace {

using ShotsTest = WorldTest;

// Runs shot passes until `shot` is removed; returns the number of the update that removed it.
int updatesUntilRemoved(int limit = 100) {
  for (int update = 1; update <= limit; ++update) {
    shotPass(World);
    if (World.next[ShotList] == nullptr) return update;
  }
  return 0;
}

TEST_F(ShotsTest, MainShotLeavingTheTopIsRemovedAtOnce) {
  spawn(1, 9, 100, 5, 270, 20);
  EXPECT_EQ(updatesUntilRemoved(), 1);
}

TEST_F(ShotsTest, SideShotTurnsAfterThreeFramesAndEndsOnItsFortyThird) {
  Actor& shot = spawn(1, 10, 100, 470, 5, 10);
  for (int i = 0; i < 3; ++i) shotPass(World);
  EXPECT_EQ(shot.x, 10000 + 3 * 990);
  EXPECT_EQ(shot.y, 47000 + 3 * 80);
  EXPECT_EQ(shot.anim, 3);
  shotPass(World);
  EXPECT_EQ(shot.angle, 270);
  EXPECT_EQ(shot.speed, 10);
  EXPECT_EQ(shot.y, 47240 - 1000);
  for (int i = 4; i < 40; ++i) shotPass(World);
  EXPECT_EQ(shot.hitRight, 5);
  // The swell of anim 42 falls in the update that ends the shot, so only two are ever seen.
  const int32_t swells[][4] = {{-1, 0, 6, 7}, {-2, 0, 7, 9}};
  for (const auto& box : swells) {
    shotPass(World);
    EXPECT_EQ(shot.hitLeft, box[0]);
    EXPECT_EQ(shot.hitTop, box[1]);
    EXPECT_EQ(shot.hitRight, box[2]);
    EXPECT_EQ(shot.hitBottom, box[3]);
  }
  EXPECT_EQ(shot.anim, 42);
  EXPECT_GT(shot.y, 0);  // still on screen when its life ends
  EXPECT_EQ(updatesUntilRemoved(), 1);
}

TEST_F(ShotsTest, SideShotMayFlyBelowTheBottomEdge) {
  Actor& shot = spawn(1, 10, 100, 515, 0, 20);
  for (int i = 0; i < 3; ++i) shotPass(World);
  EXPECT_EQ(World.next[ShotList], &shot);
  EXPECT_EQ(shot.x, 16000);
  shot.y = 52001;
  EXPECT_EQ(updatesUntilRemoved(1), 0);  // rises 10 px first, to 51001
  shot.y = 53001;
  EXPECT_EQ(updatesUntilRemoved(1), 1);
}

TEST_F(ShotsTest, WingShotFromBelowTheFieldRisesUntilAboveTheTop) {
  Actor& shot = spawn(1, 11, 10, 650, 270, 30);
  for (int i = 0; i < 21; ++i) shotPass(World);
  EXPECT_EQ(shot.y, 2000);
  EXPECT_EQ(shot.anim, 0);
  EXPECT_EQ(updatesUntilRemoved(), 1);
}

TEST_F(ShotsTest, SweepShotLeavesAtTheSide) {
  spawn(1, 19, 300, 100, 0, 10);
  EXPECT_EQ(updatesUntilRemoved(), 4);  // 310, 320, 330, then 340 is outside
}

TEST_F(ShotsTest, SpentShotRestsFourFramesWhereItHit) {
  for (int32_t type : {9, 10, 11, 12, 17, 18, 19}) {
    SCOPED_TRACE(type);
    Actor& shot = spawn(1, type, 100, 200, 270, 20);
    shot.mode = kHitMode;
    for (int i = 0; i < 4; ++i) shotPass(World);
    EXPECT_EQ(World.next[ShotList], &shot);
    EXPECT_EQ(shot.y, 20000);
    EXPECT_EQ(updatesUntilRemoved(1), 1);
  }
}

TEST_F(ShotsTest, MissileLeavingLowersTheCountOfTheFirstShip) {
  Actor& ship = spawnShip(2);
  ship.aux = 3;
  spawn(1, 18, 1, 100, 180, 3);
  spawn(1, 17, 1, 100, 180, 3);
  shotPass(World);
  EXPECT_EQ(World.next[ShotList], nullptr);
  EXPECT_EQ(ship.aux, 2);
  Actor& spent = spawn(1, 18, 1, 100, 180, 3);
  spent.mode = kHitMode;
  for (int i = 0; i < 5; ++i) shotPass(World);
  EXPECT_EQ(World.next[ShotList], nullptr);
  EXPECT_EQ(ship.aux, 2);
}

}  // namespace
}  // namespace vane::testing
