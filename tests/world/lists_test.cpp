// SPDX-License-Identifier: GPL-3.0-or-later
// The actor lists: spawn defaults of every type, walking order, and walks that remove actors.
#include <climits>

#include "world/world_fixture.h"

namespace vane::testing {
namespace {

using ListsTest = WorldTest;

constexpr int32_t o = INT32_MIN;  // not given by the spawn: the cleared record's 0

struct Defaults {
  int32_t type;
  ListId list;
  int32_t hp, hitLeft, hitTop, hitRight, hitBottom, mode, anim, fireTimer, aux, scoreValue;
};

// clang-format off
constexpr Defaults kExpected[] = {
  {1,    PlayerList,  1,    -5,  -7,  5,  7, 64, 0, 9, o, 0},
  {2,    PlayerList,  1,    -5,  -7,  5,  7, 64, 0, 9, 0, 0},
  {9,    ShotList,    1,     0,   0,  5, 20,  o, 0, o, o, o},
  {10,   ShotList,    3,     0,   0,  5,  5,  o, 0, o, o, o},
  {11,   ShotList,    5,     0,   0, 10, 20,  o, 0, o, o, o},
  {12,   ShotList,    5,     0,   0, 10, 20,  o, 0, o, o, o},
  {17,   ShotList,    1,     0,   0,  5, 20,  o, 0, o, o, o},
  {18,   ShotList,   20,     0,   0,  7, 25,  o, 0, o, o, o},
  {19,   ShotList,    5,    -5,   0,  5, 30,  o, 0, o, o, o},
  {101,  BulletList,  1,    -1,  -1,  2,  2,  o, o, o, o, o},
  {102,  BulletList,  1,    -4,  -4,  5,  5,  o, o, o, o, o},
  {103,  BulletList,  1,    -7,  -7,  7,  7,  o, o, o, o, o},
  {104,  BulletList,  1,    -5,   0,  5, 30,  o, o, o, o, o},
  {1001, EnemyList,   2,    -9,   0,  9, 25,  o, 0, o, o, 100},
  {1002, EnemyList,   2,    -9,   0,  9, 25,  o, 0, o, o, 100},
  {1003, EnemyList,   2,   -10,   0, 11, 32,  o, 0, o, o, 200},
  {1004, EnemyList,  10,   -24,   0, 25, 50,  o, 0, o, o, 200},
  {1005, EnemyList,  20,   -21, -10, 22, 11,  o, 0, o, o, 200},
  {1006, EnemyList,  20,   -21, -10, 22, 11,  o, 0, o, o, 200},
  {1007, EnemyList,  15,   -15,   0, 14, 30,  o, 0, o, o, 150},
  {1008, EnemyList,  15,   -11, -11, 10, 10,  0, 0, o, o, 300},
  {2001, EnemyList,  70,   -44, -34, 43, 33,  0, 0, o, o, 1000},
  {2002, EnemyList,  70,   -44, -34, 43, 33,  0, 0, o, o, 1000},
  {3001, EnemyList, 3000,  -37, -37, 37, 37,  0, 0, 0, o, 10000},
  {3002, EnemyList, 3500,  -30, -65, 30, 65,  0, 0, 0, o, 10000},
  {4001, ItemList,    o,    -5,  -5,  5,  5,  o, 0, o, o, o},
  {4002, ItemList,    o,   -15, -15, 15, 15,  o, 0, o, o, o},
  {5001, EnemyList,   o,     o,   o,  o,  o,  o, 0, o, o, o},
  {5005, EnemyList,   o,     o,   o,  o,  o,  o, 0, o, o, o},
  {9996, EnemyList,   o,     o,   o,  o,  o,  o, 0, o, o, o},
  {9999, EnemyList,   o,     o,   o,  o,  o,  o, 0, o, o, o},
};
// clang-format on

int32_t given(int32_t v) {
  return v == o ? 0 : v;
}

TEST_F(ListsTest, SpawnGivesEachTypeItsDefaults) {
  for (const Defaults& d : kExpected) {
    SCOPED_TRACE(d.type);
    Actor& a = spawn(3, d.type, -7, 12, 95, 4);
    EXPECT_EQ(World.next[d.list], &a);
    EXPECT_EQ(a.prev[d.list], &World);
    EXPECT_EQ(a.counter, 3);
    EXPECT_EQ(a.x, -700);
    EXPECT_EQ(a.y, 1200);
    EXPECT_EQ(a.angle, 95);
    EXPECT_EQ(a.speed, 4);
    EXPECT_EQ(a.hp, given(d.hp));
    EXPECT_EQ(a.hitLeft, given(d.hitLeft));
    EXPECT_EQ(a.hitTop, given(d.hitTop));
    EXPECT_EQ(a.hitRight, given(d.hitRight));
    EXPECT_EQ(a.hitBottom, given(d.hitBottom));
    EXPECT_EQ(a.mode, given(d.mode));
    EXPECT_EQ(a.anim, given(d.anim));
    EXPECT_EQ(a.fireTimer, given(d.fireTimer));
    EXPECT_EQ(a.aux, given(d.aux));
    EXPECT_EQ(a.scoreValue, given(d.scoreValue));
    EXPECT_EQ(a.keyLatch, 0);
    for (int l = 0; l < ListCount; ++l) {
      if (l == d.list) continue;
      EXPECT_EQ(a.next[l], nullptr);
      EXPECT_EQ(a.prev[l], nullptr);
    }
  }
}

TEST_F(ListsTest, UnknownCodeJoinsNoList) {
  World.spawnActor(1, 500, 0, 0, 0, 0);
  for (int l = 0; l < ListCount; ++l) EXPECT_EQ(World.next[l], nullptr);
}

TEST_F(ListsTest, WalksNewestFirst) {
  Actor& a = spawn(1, 101, 1, 0, 0, 0);
  Actor& b = spawn(1, 102, 2, 0, 0, 0);
  Actor& c = spawn(1, 103, 3, 0, 0, 0);
  std::vector<Actor*> seen;
  forEachActor(BulletList, [&](Actor& x, auto&) { seen.push_back(&x); });
  EXPECT_EQ(seen, (std::vector<Actor*>{&c, &b, &a}));
}

// Spawns five bullets with x 1..5 (walked 5..1), removes those whose x is listed during one walk,
// and returns the x values visited.
std::vector<int32_t> walkRemoving(std::initializer_list<int32_t> removed) {
  for (int32_t i = 1; i <= 5; ++i) World.spawnActor(1, 101, i, 0, 0, 0);
  std::vector<int32_t> visited;
  forEachActor(BulletList, [&](Actor& a, auto& remove) {
    visited.push_back(a.x / 100);
    for (int32_t r : removed) {
      if (a.x / 100 == r) {
        remove();
        return;
      }
    }
  });
  return visited;
}

std::vector<int32_t> remainingX() {
  std::vector<int32_t> out;
  for (Actor* a : actorsOf(BulletList)) out.push_back(a->x / 100);
  return out;
}

TEST_F(ListsTest, WalkRemovingTheFirstVisitsEveryActor) {
  EXPECT_EQ(walkRemoving({5}), (std::vector<int32_t>{5, 4, 3, 2, 1}));
  EXPECT_EQ(remainingX(), (std::vector<int32_t>{4, 3, 2, 1}));
  EXPECT_EQ(World.next[BulletList]->prev[BulletList], &World);
}

TEST_F(ListsTest, WalkRemovingTheLastVisitsEveryActor) {
  EXPECT_EQ(walkRemoving({1}), (std::vector<int32_t>{5, 4, 3, 2, 1}));
  EXPECT_EQ(remainingX(), (std::vector<int32_t>{5, 4, 3, 2}));
  EXPECT_EQ(actorsOf(BulletList).back()->next[BulletList], nullptr);
}

TEST_F(ListsTest, WalkRemovingEveryActorEmptiesTheList) {
  EXPECT_EQ(walkRemoving({1, 2, 3, 4, 5}), (std::vector<int32_t>{5, 4, 3, 2, 1}));
  EXPECT_EQ(World.next[BulletList], nullptr);
}

TEST_F(ListsTest, WalkRemovingInTheMiddleKeepsTheLinksWhole) {
  walkRemoving({2, 4});
  EXPECT_EQ(remainingX(), (std::vector<int32_t>{5, 3, 1}));
  for (Actor* a : actorsOf(BulletList)) {
    if (a->next[BulletList] != nullptr) {
      EXPECT_EQ(a->next[BulletList]->prev[BulletList], a);
    }
  }
}

TEST_F(ListsTest, ActorAddedDuringAWalkWaitsForTheNextWalk) {
  spawn(1, 101, 1, 0, 0, 0);
  int visits = 0;
  forEachActor(BulletList, [&](Actor&, auto&) {
    ++visits;
    World.spawnActor(1, 102, 0, 0, 0, 0);
  });
  EXPECT_EQ(visits, 1);
  EXPECT_EQ(actorsOf(BulletList).size(), 2u);
}

TEST_F(ListsTest, ClearingEmptiesEveryList) {
  World.clearAllLists();
  for (int32_t type : {1, 9, 101, 1001, 4001}) World.spawnActor(1, type, 0, 0, 0, 0);
  World.clearBulletList();
  EXPECT_EQ(World.next[BulletList], nullptr);
  EXPECT_NE(World.next[ShotList], nullptr);
  World.clearAllLists();
  for (int l = 0; l < ListCount; ++l) EXPECT_EQ(World.next[l], nullptr);
}

TEST_F(ListsTest, PixelPositionTruncatesTowardZero) {
  Actor& a = spawn(1, 9996, 0, -200, 0, 0);
  EXPECT_EQ(a.y, -20000);
  a.x = -50;
  EXPECT_EQ(pixelX(a), 0);
}

}  // namespace
}  // namespace vane::testing
