// One step of play: the seven passes over the World's lists, in their fixed order.
#include <array>

#include "world/passes.h"

namespace vane {

namespace {
constexpr std::array<void (*)(Actor&), 7> kPasses{
    playerPass, enemyPass, shotPass, bulletPass, itemPass, playerCollisionPass, shotCollisionPass,
};
}

void Actor::updateWorld() {
  for (auto pass : kPasses) pass(*this);
}

}  // namespace vane
