// The values of `mode` that the world's passes read: the ship's life states and the hit state.
#pragma once

#include <cstdint>

namespace vane {

enum ShipMode : int32_t {
  ShipFlying = 1,
  ShipArriving = 64,  // cannot be hit; counts `counter` up to 100
  ShipExploding = 128,
  ShipOutOfLives = 256,
};

// A shot or an enemy that has been hit and is winding down.
constexpr int32_t kHitMode = 128;

}  // namespace vane
