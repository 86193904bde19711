// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of a game controller, as every back end reports them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vane::platform {

// The controls of a controller in the standard layout, in that layout's order; the left stick
// counts as the four directions.
enum class PadControl : uint8_t {
  A,
  B,
  X,
  Y,
  Back,
  Guide,
  Start,
  LeftStick,
  RightStick,
  LeftShoulder,
  RightShoulder,
  Up,
  Down,
  Left,
  Right,
};
constexpr size_t kPadControlCount = 15;

}  // namespace vane::platform
