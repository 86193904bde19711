// SPDX-License-Identifier: GPL-3.0-or-later
// The player's actions, the key and the controller control each is played with, and their names.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "host/key_map.h"
#include "shell/pad_roles.h"

namespace vane {

enum class Action : uint8_t {
  Up,
  Down,
  Left,
  Right,
  Fire,
  Special,
  Hold,
  Continue,
  Pause,
  Choose,
  Quit,
  Screenshot,
};
constexpr size_t kActionCount = 12;

struct ActionInfo {
  Action action;
  std::string_view name;   // in the config keys key_<name> and pad_<name>
  std::string_view label;  // on the options overlay
  // The game's own virtual key for the action; 0 for the screenshot, which the host takes.
  uint8_t gameKey;
};
const ActionInfo& actionInfo(Action action);

// The key each action is played with, as the system names it (its virtual key); 0 for none.
struct KeyRoles {
  std::array<uint8_t, kActionCount> keys;
  KeyRoles();
};

// Both halves, as the player chose them.
struct Controls {
  KeyRoles keys;
  PadRoles pad;
};

uint8_t& keyFor(KeyRoles& roles, Action action);
uint8_t keyFor(const KeyRoles& roles, Action action);
platform::PadControl& padFor(PadRoles& roles, Action action);
platform::PadControl padFor(const PadRoles& roles, Action action);

// "key_fire" or "pad_fire": the action, and whether the key names the controller's half.
struct ControlKey {
  Action action;
  bool pad;
};
std::optional<ControlKey> controlKeyNamed(std::string_view configKey);

// Key names as the config file writes them: "x", "7", "space", "return", "kp8", "f5", ...; F1
// (the options) has none. "none" is no key.
std::optional<uint8_t> keyNamed(std::string_view name);
std::string_view keyName(uint8_t virtualKey);
// A control `action` may take, or "none": a direction any control, the others a button; never
// Back, which opens the options.
std::optional<platform::PadControl> padRoleNamed(Action action, std::string_view name);
std::string_view padRoleName(platform::PadControl control);

// Gives `action` the key; an action that had it takes the one `action` had, and is returned.
std::optional<Action> bindKey(KeyRoles& roles, Action action, uint8_t key);
std::optional<Action> bindPad(PadRoles& roles, Action action, platform::PadControl control);
// The action other than `action` already played with the key (or control), if one is.
std::optional<Action> keyTakenBy(const KeyRoles& roles, Action action, uint8_t key);
std::optional<Action> padTakenBy(const PadRoles& roles, Action action, platform::PadControl c);

// What the keys the player chose send to the game: each chosen key its action's game key; a game
// key whose action moved elsewhere, nothing; every other key itself.
host::KeyMap keyMapFor(const KeyRoles& roles);

}  // namespace vane
