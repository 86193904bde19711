// SPDX-License-Identifier: GPL-3.0-or-later
// What a controller's controls mean to the game: the virtual key each one sends, and their names.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/pad.h"

namespace vane::host {

// The virtual key each control sends, 0 for none; Escape only from a control the player gave it.
using PadBindings = std::array<uint8_t, platform::kPadControlCount>;

// Set by the program whenever what the controls mean changes; read at each press.
void setPadBindings(const PadBindings& bindings);
const PadBindings& padBindings();

// Names as in controller mappings: "a", "start", "leftshoulder", "dpup", ...
std::optional<platform::PadControl> padControlNamed(std::string_view name);
std::string_view padControlName(platform::PadControl control);

}  // namespace vane::host
