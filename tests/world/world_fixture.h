// SPDX-License-Identifier: GPL-3.0-or-later
// A headless back end for held keys, an empty World and a fixed random seed for the world tests.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "host/host.h"
#include "platform/headless/headless.h"
#include "world/actor.h"

namespace vane::testing {

class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void hold(int virtualKey) { host::scriptKeyHold(virtualKey); }
  void release(int virtualKey) { host::scriptKeyUp(virtualKey); }

  // Spawns a ship at its start position and returns it (it becomes firstPlayer).
  Actor& spawnShip(int32_t type);
  // Spawns an actor and returns it (the new head of its list).
  Actor& spawn(int32_t counter, int32_t type, int32_t x, int32_t y, int32_t angle, int32_t speed);

  platform::HeadlessBackend backend;
};

// The actors of a list in walking order.
std::vector<Actor*> actorsOf(ListId list);
// The actors of a list with the given type, in walking order.
std::vector<Actor*> actorsOf(ListId list, int32_t type);

}  // namespace vane::testing
