// SPDX-License-Identifier: GPL-3.0-or-later
// The controls' current meaning and their names.
#include "platform/pad.h"

namespace vane::platform {

namespace {

PadBindings bindings{};

constexpr std::array<std::string_view, kPadControlCount> kNames{
    "a",
    "b",
    "x",
    "y",
    "back",
    "guide",
    "start",
    "leftstick",
    "rightstick",
    "leftshoulder",
    "rightshoulder",
    "dpup",
    "dpdown",
    "dpleft",
    "dpright",
};

}  // namespace

void setPadBindings(const PadBindings& next) {
  bindings = next;
}

const PadBindings& padBindings() {
  return bindings;
}

std::optional<PadControl> padControlNamed(std::string_view name) {
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<PadControl>(i);
  }
  return std::nullopt;
}

std::string_view padControlName(PadControl control) {
  return kNames[static_cast<size_t>(control)];
}

}  // namespace vane::platform
