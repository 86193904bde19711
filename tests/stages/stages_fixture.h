// SPDX-License-Identifier: GPL-3.0-or-later
// Shared set-up of the stage tests: an empty world, a fixed seed, and list helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/random.h"
#include "core/state.h"
#include "stages/stages.h"
#include "world/actor.h"

namespace vane::testing {

class StagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetWorld();
    seedRandom(20240611u);
    frameCount = 0;
  }
  void TearDown() override { resetWorld(); }
};

// Spawns an actor, by default with the timelines' counter, and returns it (the head of its list).
inline Actor& spawn(int32_t type, int32_t x, int32_t y, int32_t angle, int32_t speed,
                    int32_t counter = 3) {
  World.spawnActor(counter, type, x, y, angle, speed);
  return *World.next[listOfType(type)];
}

inline Actor& spawnPlayer() {
  World.spawnActor(1, 1, 170, 400, 300, 2);
  return *World.next[PlayerList];
}

inline std::vector<Actor*> actorsOf(ListId list) {
  std::vector<Actor*> actors;
  for (Actor* a = World.next[list]; a != nullptr; a = a->next[list]) actors.push_back(a);
  return actors;
}

inline int countOf(ListId list) {
  return static_cast<int>(actorsOf(list).size());
}

inline bool empty(ListId list) {
  return World.next[list] == nullptr;
}

// The generator's state after n more draws from `state`.
inline uint32_t drawsAhead(uint32_t state, int n) {
  for (int i = 0; i < n; ++i) state = state * 214013u + 2531011u;
  return state;
}

// Runs one enemy pass and reports how many bullets it fired.
inline int passAndCountShots() {
  const int before = countOf(BulletList);
  enemyPass(World);
  return countOf(BulletList) - before;
}

}  // namespace vane::testing
