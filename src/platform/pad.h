// SPDX-License-Identifier: GPL-3.0-or-later
// Game controllers as the program sees them: the virtual key each control stands for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

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

// The virtual key each control sends, 0 for none. Escape is never sent.
using PadBindings = std::array<uint8_t, kPadControlCount>;

// Set by the program whenever what the controls mean changes; read by the back end at each press.
void setPadBindings(const PadBindings& bindings);
const PadBindings& padBindings();

// Names as in controller mappings: "a", "start", "leftshoulder", "dpup", ...
std::optional<PadControl> padControlNamed(std::string_view name);
std::string_view padControlName(PadControl control);

}  // namespace vane::platform
