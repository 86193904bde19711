// SPDX-License-Identifier: GPL-3.0-or-later
// Both stage timelines frame by frame: what each frame spawns and how many numbers it draws; and
// the decoration spawner's draws.
#include "stages/stages.h"
#include "stages_fixture.h"

namespace vane::testing {
namespace {

// What one timeline step did.
struct Step {
  uint32_t frame;
  int draws;
  bool spawned;
  Actor spawn;  // a copy of the spawned actor, links cleared
};

// Runs one timeline over frames 1..last, emptying the enemy list after each step.
std::vector<Step> runTimeline(void (*timeline)(), uint32_t last) {
  std::vector<Step> steps;
  for (uint32_t f = 1; f <= last; ++f) {
    frameCount = f;
    const uint32_t before = randomState();
    timeline();
    Step step{f, 0, false, Actor()};
    while (randomState() != before && drawsAhead(before, step.draws) != randomState()) {
      ++step.draws;
    }
    const int spawned = countOf(EnemyList);
    EXPECT_LE(spawned, 1) << "frame " << f;
    if (spawned == 1) {
      step.spawned = true;
      step.spawn = *World.next[EnemyList];
      step.spawn.resetLinks();
    }
    World.clearAllLists();
    steps.push_back(step);
  }
  return steps;
}

std::vector<Step> spawnsOf(const std::vector<Step>& steps) {
  std::vector<Step> spawns;
  for (const Step& s : steps) {
    if (s.spawned) spawns.push_back(s);
  }
  return spawns;
}

// Random x entries draw one number each; Stage 2's 1004 and 1008 draw their speed first.
int drawsFor(int32_t type, bool stage2) {
  switch (type) {
    case 1003:
    case 1007:
    case 2001:
      return 1;
    case 1004:
    case 1008:
      return stage2 ? 2 : 1;
    default:
      return 0;
  }
}

using TimelineTest = StagesTest;

TEST_F(TimelineTest, StageOneSpawns207InThreeBlocksThenTheBoss) {
  const std::vector<Step> steps = runTimeline(runStage1Timeline, 6000);
  const std::vector<Step> spawns = spawnsOf(steps);
  ASSERT_EQ(spawns.size(), 208u);
  EXPECT_EQ(spawns.front().frame, 100u);
  EXPECT_EQ(spawns[spawns.size() - 2].frame, 4580u);
  const Actor& boss = spawns.back().spawn;
  EXPECT_EQ(spawns.back().frame, 4700u);
  EXPECT_EQ(boss.type, 3001);
  EXPECT_EQ(boss.x, 17000);
  EXPECT_EQ(boss.y, -11800);
  EXPECT_EQ(boss.angle, 90);
  EXPECT_EQ(boss.speed, 1);
  for (const Step& s : steps) {
    const int expected = s.spawned ? drawsFor(s.spawn.type, false) : 0;
    ASSERT_EQ(s.draws, expected) << "frame " << s.frame;
    if (s.spawned) {
      EXPECT_EQ(s.spawn.counter, 3);
    }
    if (s.draws == 1) {
      EXPECT_GE(s.spawn.x, 1100) << "frame " << s.frame;
      EXPECT_LE(s.spawn.x, 33000) << "frame " << s.frame;
    }
  }
  // The three blocks are the same schedule, 1500 frames apart.
  for (size_t i = 0; i < 69; ++i) {
    EXPECT_EQ(spawns[i + 69].frame, spawns[i].frame + 1500);
    EXPECT_EQ(spawns[i + 138].frame, spawns[i].frame + 3000);
    EXPECT_EQ(spawns[i + 138].spawn.type, spawns[i].spawn.type);
  }
}

TEST_F(TimelineTest, StageOneOpensWithThePairWaveAndEndsBlocksWithTheAmbushRush) {
  const std::vector<Step> steps = runTimeline(runStage1Timeline, 1600);
  EXPECT_FALSE(steps[98].spawned);
  ASSERT_TRUE(steps[99].spawned);
  EXPECT_EQ(steps[99].spawn.type, 1001);
  EXPECT_EQ(steps[99].spawn.x, 6000);
  EXPECT_EQ(steps[99].spawn.y, 0);
  EXPECT_FALSE(steps[104].spawned);
  for (uint32_t f : {200u, 220u, 240u}) EXPECT_EQ(steps[f - 1].spawn.type, 1003);
  EXPECT_EQ(steps[699].spawn.type, 2001);
  int ambushers = 0;
  for (uint32_t f = 1400; f <= 1580; ++f) {
    const Step& s = steps[f - 1];
    if (!s.spawned) continue;
    EXPECT_EQ(s.spawn.type, 1008);
    EXPECT_EQ(s.spawn.speed, 4);
    ++ambushers;
  }
  EXPECT_EQ(ambushers, 10);
}

TEST_F(TimelineTest, StageTwoSpawns226FromItsBlockThenTheBossAndNothingAfter) {
  const std::vector<Step> steps = runTimeline(runStage2Timeline, 7000);
  const std::vector<Step> spawns = spawnsOf(steps);
  ASSERT_EQ(spawns.size(), 227u);
  EXPECT_EQ(spawns[spawns.size() - 2].frame, 5660u);
  EXPECT_EQ(spawns[spawns.size() - 2].spawn.type, 1007);
  EXPECT_EQ(spawns.back().frame, 5700u);
  EXPECT_EQ(spawns.back().spawn.type, 3002);
  EXPECT_EQ(spawns.back().spawn.y, -11800);
  for (const Step& s : steps) {
    const int expected = s.spawned ? drawsFor(s.spawn.type, true) : 0;
    ASSERT_EQ(s.draws, expected) << "frame " << s.frame;
    EXPECT_FALSE(s.frame % 1000 < 100 && s.spawned) << "frame " << s.frame;
  }
}

TEST_F(TimelineTest, StageTwoDrawsTheSpeedBeforeTheX) {
  frameCount = 700;
  const uint32_t before = randomState();
  runStage2Timeline();
  seedRandom(before);
  const int speedDraw = gameRandom();
  const int xDraw = gameRandom();
  const Actor& mine = *World.next[EnemyList];
  EXPECT_EQ(mine.type, 1004);
  EXPECT_EQ(mine.speed, speedDraw % 5 + 1);
  EXPECT_EQ(mine.x, (xDraw % 320 + 11) * 100);

  World.clearAllLists();
  frameCount = 1850;
  const uint32_t beforeAmbusher = randomState();
  runStage2Timeline();
  seedRandom(beforeAmbusher);
  const int ambusherSpeed = gameRandom();
  const int ambusherX = gameRandom();
  EXPECT_EQ(World.next[EnemyList]->speed, ambusherSpeed % 7 + 1);
  EXPECT_EQ(World.next[EnemyList]->x, (ambusherX % 320 + 11) * 100);
}

TEST_F(TimelineTest, StageTwoMidBossAlternatesSides) {
  struct Case {
    uint32_t frame;
    int32_t x, angle;
  };
  for (const Case& c : {Case{950, -4000, 315}, Case{1950, 33000, 225}, Case{2950, -4000, 315},
                        Case{3950, 33000, 225}, Case{4950, -4000, 315}}) {
    frameCount = c.frame;
    runStage2Timeline();
    ASSERT_FALSE(empty(EnemyList)) << c.frame;
    const Actor& boss = *World.next[EnemyList];
    EXPECT_EQ(boss.type, 2002);
    EXPECT_EQ(boss.x, c.x) << c.frame;
    EXPECT_EQ(boss.y, 15000);
    EXPECT_EQ(boss.angle, c.angle) << c.frame;
    EXPECT_EQ(boss.speed, 2);
    World.clearAllLists();
  }
}

TEST_F(TimelineTest, StageTwoIsSilentAfterTheBossEvenWhenTheClockWraps) {
  for (uint32_t f : {5740u, 5800u, 5950u, 0xFFFFFFFFu}) {
    frameCount = f;
    const uint32_t before = randomState();
    runStage2Timeline();
    runStage1Timeline();
    EXPECT_TRUE(empty(EnemyList)) << f;
    EXPECT_EQ(randomState(), before) << f;
  }
}

TEST_F(TimelineTest, DecorationsDrawOnceOrFourTimesInOrder) {
  int made = 0;
  for (int frame = 0; frame < 5000; ++frame) {
    const uint32_t before = randomState();
    spawnDecoration();
    if (empty(EnemyList)) {
      ASSERT_EQ(randomState(), drawsAhead(before, 1));
      continue;
    }
    ASSERT_EQ(randomState(), drawsAhead(before, 4));
    seedRandom(before);
    const int r0 = gameRandom(), r1 = gameRandom(), r2 = gameRandom(), r3 = gameRandom();
    const Actor& d = *World.next[EnemyList];
    EXPECT_EQ(r0 % 50, 0);
    EXPECT_EQ(d.counter, 1);
    EXPECT_EQ(d.speed, r1 % 3 + 1);
    EXPECT_EQ(d.x, (r2 % 520 - 200) * 100);
    EXPECT_EQ(d.type, 9996 + r3 % 4);
    EXPECT_EQ(d.y, -20000);
    EXPECT_EQ(d.angle, 90);
    World.clearAllLists();
    ++made;
  }
  EXPECT_GT(made, 50);
  EXPECT_LT(made, 150);
}

}  // namespace
}  // namespace vane::testing
