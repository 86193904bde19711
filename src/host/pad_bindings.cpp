// SPDX-License-Identifier: GPL-3.0-or-later
// What the controls mean now, and their names.
#include "host/pad_bindings.h"

namespace vane::host {

namespace {

PadBindings bindings{};

constexpr std::array<std::string_view, platform::kPadControlCount> kNames{
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

std::optional<platform::PadControl> padControlNamed(std::string_view name) {
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<platform::PadControl>(i);
  }
  return std::nullopt;
}

std::string_view padControlName(platform::PadControl control) {
  return kNames[static_cast<size_t>(control)];
}

}  // namespace vane::host
