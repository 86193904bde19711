// SPDX-License-Identifier: GPL-3.0-or-later
// A headless back end for held keys, an empty World and a fixed random seed for the world tests.
#include "world/world_fixture.h"

#include "core/random.h"

namespace vane::testing {

void WorldTest::SetUp() {
  backend.echoDialogs = false;
  platform::setBackend(&backend);
  resetWorld();
  seedRandom(12345u);
}

void WorldTest::TearDown() {
  resetWorld();
  platform::setBackend(nullptr);
}

Actor& WorldTest::spawnShip(int32_t type) {
  return spawn(1, type, 170, 400, 300, 2);
}

Actor& WorldTest::spawn(int32_t counter, int32_t type, int32_t x, int32_t y, int32_t angle,
                        int32_t speed) {
  World.spawnActor(counter, type, x, y, angle, speed);
  return *World.next[listOfType(type)];
}

std::vector<Actor*> actorsOf(ListId list) {
  std::vector<Actor*> out;
  for (Actor* a = World.next[list]; a != nullptr; a = a->next[list]) out.push_back(a);
  return out;
}

std::vector<Actor*> actorsOf(ListId list, int32_t type) {
  std::vector<Actor*> out;
  for (Actor* a : actorsOf(list)) {
    if (a->type == type) out.push_back(a);
  }
  return out;
}

}  // namespace vane::testing
