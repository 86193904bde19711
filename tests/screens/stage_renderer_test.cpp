// SPDX-License-Identifier: GPL-3.0-or-later
// The stage frame: which frame each actor shows, scrolling, the clear condition, sounds, items.
#include <set>
#include <utility>

#include "core/random.h"
#include "core/state.h"
#include "screens/screens.h"
#include "screens_fixture.h"

namespace vane::testing {
namespace {

constexpr int kX = 200;
constexpr int kY = 350;

class StageFrameTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    gameState = Stage1;
    frameCount = 100;
    scrollPos = 900;
    World.spawnActor(1, 1, 170, 400, 300, 2);
    ship().hp = 2;  // no random weapon items unless a test asks for them
  }
};

struct FrameCase {
  int32_t type;
  int32_t mode;
  int32_t anim;
  uint32_t clock;
  Sheet sheet;
  int frame;
};

// clang-format off
constexpr FrameCase kFrameCases[] = {
  {1001, 0, 36, 100, Sheet::Enemy, 1}, {1001, 0, 35, 100, Sheet::Enemy, 2},
  {1001, 0, 31, 100, Sheet::Enemy, 2}, {1001, 0, 30, 100, Sheet::Enemy, 3},
  {1002, 0, 36, 100, Sheet::Enemy, 5}, {1002, 0, 31, 100, Sheet::Enemy, 4},
  {1002, 0, 30, 100, Sheet::Enemy, 3},
  {1003, 0, 77, 100, Sheet::Enemy, 6},
  {1004, 0, 4, 100, Sheet::Enemy, 7},  {1004, 0, 5, 100, Sheet::Enemy, 8},
  {1005, 0, 101, 100, Sheet::Enemy, 11}, {1005, 0, 100, 100, Sheet::Enemy, 10},
  {1005, 0, 31, 100, Sheet::Enemy, 10},  {1005, 0, 30, 100, Sheet::Enemy, 9},
  {1006, 0, 101, 100, Sheet::Enemy, 14}, {1006, 0, 31, 100, Sheet::Enemy, 13},
  {1006, 0, 30, 100, Sheet::Enemy, 12},
  {1007, 0, 69, 100, Sheet::Enemy, 19}, {1007, 0, 68, 100, Sheet::Enemy, 18},
  {1007, 0, 67, 100, Sheet::Enemy, 18}, {1007, 0, 66, 100, Sheet::Enemy, 17},
  {1007, 0, 65, 100, Sheet::Enemy, 17}, {1007, 0, 64, 100, Sheet::Enemy, 16},
  {1007, 0, 63, 100, Sheet::Enemy, 16}, {1007, 0, 62, 100, Sheet::Enemy, 15},
  {1008, 0, 0, 100, Sheet::Enemy, 22},   {1008, 0, 31, 100, Sheet::Enemy, 26},
  {2001, 0, 5, 100, Sheet::Enemy, 28},   {2002, 0, 5, 100, Sheet::Enemy, 29},
  {3002, 0, 351, 100, Sheet::Enemy, 46}, {3002, 0, 352, 100, Sheet::Enemy, 43},
  {3002, 0, 350, 100, Sheet::Enemy, 46}, {3002, 0, 305, 100, Sheet::Enemy, 43},
  {3002, 0, 300, 100, Sheet::Enemy, 41}, {3002, 0, 255, 100, Sheet::Enemy, 42},
  {3002, 0, 250, 100, Sheet::Enemy, 41}, {3002, 0, 0, 100, Sheet::Enemy, 39},
  {5001, 0, 3, 100, Sheet::Etc, 12},     {5001, 0, 3, 101, Sheet::Etc, 13},
  {1003, 128, 0, 100, Sheet::X, 9},      {3001, 128, 3, 100, Sheet::X, 12},
  {9, 0, 0, 100, Sheet::Player, 6},
  {10, 0, 39, 100, Sheet::Player, 7},    {10, 0, 40, 100, Sheet::Player, 8},
  {10, 0, 41, 100, Sheet::Player, 9},    {10, 0, 42, 100, Sheet::Player, 10},
  {10, 0, 43, 100, Sheet::Player, 7},
  {11, 0, 0, 100, Sheet::Player, 11},    {12, 0, 0, 100, Sheet::Player, 12},
  {17, 0, 0, 100, Sheet::Player, 18},    {18, 0, 0, 100, Sheet::Player, 19},
  {19, 0, 0, 100, Sheet::Player, 20},    {19, 0, 0, 101, Sheet::Player, 21},
  {10, 128, 2, 100, Sheet::X, 16},
  {4001, 0, 0, 100, Sheet::Etc, 14},     {4001, 0, 0, 101, Sheet::Etc, 15},
  {4002, 0, 0, 100, Sheet::Etc, 16},
  {101, 0, 0, 100, Sheet::Eb, 1}, {102, 0, 0, 100, Sheet::Eb, 2},
  {103, 0, 0, 100, Sheet::Eb, 3}, {104, 0, 0, 100, Sheet::Eb, 4},
  {1, 1, 25, 100, Sheet::Player, 3},     {1, 1, 0, 100, Sheet::Player, 1},
  {2, 1, 49, 100, Sheet::Player, 17},    {2, 1, 10, 100, Sheet::Player, 14},
  {1, 128, 8, 100, Sheet::X, 1},         {2, 128, 3, 100, Sheet::X, 6},
};
// clang-format on

TEST_F(StageFrameTest, EachTypeAndStateShowsItsFrame) {
  for (const FrameCase& c : kFrameCases) {
    SCOPED_TRACE(::testing::Message() << "type " << c.type << " mode " << c.mode << " anim "
                                      << c.anim << " clock " << c.clock);
    Actor& actor = spawn(c.type, kX, kY);
    actor.mode = c.mode;
    actor.anim = c.anim;
    actor.fireTimer = 0;
    frameCount = c.clock;
    EXPECT_EQ(drawStageFrame(), 0);
    EXPECT_EQ(frameOnScreen(c.sheet, kX, kY), c.frame);
    actor.removeActor();
  }
}

TEST_F(StageFrameTest, TypesWithoutPicturesDrawNothing) {
  for (int32_t type : {5002, 5003, 5004, 5005, 9996}) {
    Actor& actor = spawn(type, kX, kY);
    drawStageFrame();
    EXPECT_EQ(screenPixel(kX, kY), 0) << type;
    actor.removeActor();
  }
  Actor& outOfLives = spawn(1, kX, kY);
  outOfLives.mode = 256;
  drawStageFrame();
  EXPECT_EQ(screenPixel(kX, kY), 0);
}

TEST_F(StageFrameTest, TurretsAndTheFirstBossAimAtTheShip) {
  // Ship positions giving headings of 90, 340 and 315 degrees from (200, 350) to 15 below it.
  const std::pair<std::pair<int, int>, int> cases[] = {
      {{200, 450}, 2}, {{300, 298}, 0}, {{300, 235}, 7}, {{100, 335}, 4}, {{200, 200}, 6}};
  for (const auto& [where, sector] : cases) {
    ship().x = where.first * 100;
    ship().y = where.second * 100;
    Actor& turret = spawn(1008, kX, kY);
    turret.anim = 10;
    drawStageFrame();
    EXPECT_EQ(frameOnScreen(Sheet::Enemy, kX, kY), 20 + sector);
    turret.removeActor();
    spawn(3001, kX, kY);
    drawStageFrame();
    EXPECT_EQ(frameOnScreen(Sheet::Enemy, kX, kY), 31 + sector);
    World.next[EnemyList]->removeActor();
  }
}

TEST_F(StageFrameTest, InvulnerableShipAndBossGlowAreBlended) {
  ship().x = kX * 100;
  ship().y = kY * 100;
  ship().mode = 64;
  for (const auto& [tilt, level] : {std::pair{25, 20}, {35, 16}, {45, 14}, {30, 20}, {41, 14}}) {
    ship().anim = tilt;
    drawStageFrame();
    EXPECT_EQ(screenPixel(kX, kY),
              blendedOverBlack(codedColour(Sheet::Player, 1 + tilt / 10), level))
        << tilt;
  }
  Actor& boss = spawn(3002, 100, 100);
  boss.fireTimer = 3;
  drawStageFrame();
  EXPECT_EQ(screenPixel(100, 115), blendedOverBlack(codedColour(Sheet::Enemy, 48), 16));
  boss.fireTimer = 0;
  drawStageFrame();
  EXPECT_EQ(screenPixel(100, 115), 0);
}

TEST_F(StageFrameTest, ExplodingBossIsDrawnElevenTimesAtItsRandomOffsets) {
  Actor& boss = spawn(3002, kX, kY);
  boss.mode = 128;
  boss.anim = 2;
  seedRandom(77);
  std::set<std::pair<int, int>> expected{{kX, kY}};
  for (int copy = 0; copy < 10; ++copy) {
    const int dy = gameRandom() % 100 - 50;
    const int dx = gameRandom() % 100 - 50;
    expected.insert({kX + dx, kY + dy});
  }
  seedRandom(77);
  drawStageFrame();
  std::set<std::pair<int, int>> drawn;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (frameOnScreen(Sheet::X, x, y) == 11) drawn.insert({x, y});
    }
  }
  EXPECT_EQ(drawn, expected);
}

TEST_F(StageFrameTest, ActorStatesStartTheirEffects) {
  const struct {
    int32_t type;
    int32_t mode;
    int32_t anim;
    int32_t fireTimer;
    int effect;  // 0: none
  } cases[] = {
      {1003, 128, 0, 0, 4}, {1003, 128, 1, 0, 0}, {3001, 128, 0, 0, 4}, {5002, 0, 0, 0, 3},
      {5003, 0, 0, 0, 7},   {5004, 0, 1, 0, 5},   {5005, 0, 1, 0, 6},   {1003, 0, 0, 0, 0},
  };
  ship().fireTimer = 0;
  for (const auto& c : cases) {
    Actor& actor = spawn(c.type, kX, kY);
    actor.mode = c.mode;
    actor.anim = c.anim;
    sounds.clear();
    drawStageFrame();
    const auto played = effects();
    if (c.effect == 0) {
      EXPECT_TRUE(played.empty()) << c.type;
    } else {
      ASSERT_EQ(played.size(), 1u) << c.type;
      EXPECT_EQ(played[0].clip, c.effect) << c.type;
    }
    actor.removeActor();
  }
}

TEST_F(StageFrameTest, ShipSoundsFollowExplosionAndFireTimer) {
  const struct {
    int32_t mode;
    int32_t anim;
    int32_t fireTimer;
    std::vector<int> effects;
  } cases[] = {
      {1, 0, 5, {2}},   {1, 0, 4, {}},    {1, 0, 7, {}},       {1, 0, 105, {2}},
      {128, 8, 0, {1}}, {128, 7, 1, {2}}, {128, 8, 3, {1, 2}}, {256, 0, 1, {2}},
  };
  for (const auto& c : cases) {
    ship().mode = c.mode;
    ship().anim = c.anim;
    ship().fireTimer = c.fireTimer;
    sounds.clear();
    drawStageFrame();
    std::vector<int> clips;
    for (const SoundEvent& e : effects()) clips.push_back(e.clip);
    EXPECT_EQ(clips, c.effects) << c.mode << " " << c.anim << " " << c.fireTimer;
  }
}

TEST_F(StageFrameTest, StageOneScrollsEverySixthRunningFrameAndStopsAtZero) {
  frameCount = 6;
  drawStageFrame();
  EXPECT_EQ(scrollPos, 899);
  frameCount = 7;
  drawStageFrame();
  EXPECT_EQ(scrollPos, 899);
  pauseCount = 1;
  frameCount = 12;
  drawStageFrame();
  EXPECT_EQ(scrollPos, 899);
  pauseCount = 0;
  scrollPos = 0;
  drawStageFrame();
  EXPECT_EQ(scrollPos, 0);
  EXPECT_EQ(frameOnScreen(Sheet::Stage, 10, 0), 1);
}

TEST_F(StageFrameTest, StageTwoWrapsItsBackgroundAndDrawsDecorations) {
  gameState = Stage2;
  scrollPos = 2;
  frameCount = 10;
  drawStageFrame();
  EXPECT_EQ(scrollPos, 1);
  EXPECT_EQ(frameOnScreen(Sheet::Stage, 10, 479), 2);
  EXPECT_EQ(frameOnScreen(Sheet::Stage, 10, 0), 0);
  frameCount = 12;
  drawStageFrame();
  EXPECT_EQ(scrollPos, 480);
  EXPECT_EQ(frameOnScreen(Sheet::Stage, 10, 0), 2);
  frameCount = 13;
  drawStageFrame();
  EXPECT_EQ(scrollPos, 480);

  for (int32_t type = 9996; type <= 9999; ++type) {
    Actor& decoration = spawn(type, kX, kY);
    decoration.mode = 64;
    drawStageFrame();
    EXPECT_EQ(frameOnScreen(Sheet::Stage, kX, kY), type - 9993);
    decoration.removeActor();
  }
}

TEST_F(StageFrameTest, StageClearsAfterItsLastFrameUnlessABossStands) {
  const struct {
    int32_t state;
    uint32_t clock;
    int32_t bossMode;  // -1: no boss
    bool clear;
  } cases[] = {
      {Stage1, 4700, -1, false}, {Stage1, 4701, -1, true},  {Stage1, 4701, 0, false},
      {Stage1, 4701, 128, true}, {Stage2, 5700, -1, false}, {Stage2, 5701, -1, true},
      {Stage2, 5701, 0, false},  {Stage2, 5701, 128, true}, {Stage1, UINT32_MAX, -1, true},
  };
  for (const auto& c : cases) {
    for (int32_t bossType : {3001, 3002}) {
      gameState = c.state;
      frameCount = c.clock;
      World.endMusicLatch() = 0;
      if (c.bossMode >= 0) spawn(bossType, kX, kY).mode = c.bossMode;
      drawStageFrame();
      EXPECT_EQ(World.endMusicLatch() == -1, c.clear)
          << c.state << " " << c.clock << " " << c.bossMode << " " << bossType;
      if (c.bossMode >= 0) World.next[EnemyList]->removeActor();
    }
  }
}

TEST_F(StageFrameTest, WeaponItemDropsOnlyAtWeaponLevelOne) {
  uint32_t seed = 0;
  for (;; ++seed) {
    seedRandom(seed);
    if (gameRandom() % 1000 == 0) break;
  }
  seedRandom(seed);
  gameRandom();
  const int expectedX = (gameRandom() % 200 + 111) * 100;

  seedRandom(seed);
  drawStageFrame();
  EXPECT_EQ(World.next[ItemList], nullptr);

  ship().hp = 1;
  host::faults().unlock = true;
  seedRandom(seed);
  drawStageFrame();
  EXPECT_EQ(randomState(), seed);
  EXPECT_EQ(World.next[ItemList], nullptr);

  host::faults().unlock = false;
  pauseCount = 1;
  drawStageFrame();
  const Actor* item = World.next[ItemList];
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->type, 4002);
  EXPECT_EQ(item->x, expectedX);
  EXPECT_EQ(item->y, 0);
  EXPECT_EQ(item->angle, 90);
  EXPECT_EQ(item->speed, 10);
}

TEST_F(StageFrameTest, FailuresReturnTheirCodesAndSkipTheRest) {
  ship().speed = -1;
  World.endMusicLatch() = 0;
  host::faults().describe = true;
  EXPECT_EQ(drawStageFrame(), 1);
  host::faults().describe = false;
  host::faults().lock = true;
  EXPECT_EQ(drawStageFrame(), 2);
  host::faults().lock = false;
  host::faults().unlock = true;
  EXPECT_EQ(drawStageFrame(), 3);
  EXPECT_EQ(backend.flips, 0);
  EXPECT_EQ(World.endMusicLatch(), 0);  // the game-over screen did not run
  host::faults().unlock = false;
  EXPECT_EQ(drawStageFrame(), 0);
  EXPECT_EQ(backend.flips, 1);
  EXPECT_EQ(World.endMusicLatch(), -1);
}

TEST_F(StageFrameTest, CurtainsAndHudStandOverThePlayField) {
  drawStageFrame();
  EXPECT_EQ(frameOnScreen(Sheet::Back, 329, 0), 2);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 30, 1), 11);
}

}  // namespace
}  // namespace vane::testing
