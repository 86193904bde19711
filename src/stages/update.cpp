// SPDX-License-Identifier: GPL-3.0-or-later
// One step of play: the seven passes over the World's lists, in their fixed order.
#include <array>

#include "stages/stages.h"
#include "world/passes.h"

namespace vane {

namespace {
constexpr std::array<void (*)(Actor&), 7> kPasses{
    playerPass, enemyPass, shotPass, bulletPass, itemPass, playerCollisionPass, shotCollisionPass,
};
}

void updateWorld() {
  for (auto pass : kPasses) pass(World);
}

}  // namespace vane
