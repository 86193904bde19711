// SPDX-License-Identifier: GPL-3.0-or-later
// The actions and their names, the keys and controls chosen for them, and the host's key map.
#include "shell/controls.h"

#include <string>

#include "host/keyboard.h"

namespace vane {

using platform::PadControl;

namespace {

constexpr uint8_t kF12 = 123;

constexpr std::array<ActionInfo, kActionCount> kActions{{
    {Action::Up, "up", "Up", host::kVkUp},
    {Action::Down, "down", "Down", host::kVkDown},
    {Action::Left, "left", "Left", host::kVkLeft},
    {Action::Right, "right", "Right", host::kVkRight},
    {Action::Fire, "fire", "Fire", host::kVkShift},
    {Action::Special, "special", "Special attack", host::kVkZ},
    {Action::Hold, "hold", "Hold T", host::kVkT},
    {Action::Continue, "continue", "Continue", host::kVkC},
    {Action::Pause, "pause", "Pause", host::kVkSpace},
    {Action::Choose, "choose", "Choose (Return)", host::kVkReturn},
    {Action::Quit, "quit", "Quit", host::kVkEscape},
    {Action::Screenshot, "screenshot", "Screenshot", 0},
}};

struct KeyName {
  uint8_t virtualKey;
  std::string_view name;
};

// The keys the desktop reports with a code, but for letters, digits and F1.
constexpr KeyName kKeyNames[] = {
    {8, "backspace"},    {9, "tab"},
    {13, "return"},      {16, "shift"},
    {17, "ctrl"},        {18, "alt"},
    {19, "pausekey"},    {20, "capslock"},
    {27, "escape"},      {32, "space"},
    {33, "pageup"},      {34, "pagedown"},
    {35, "end"},         {36, "home"},
    {37, "left"},        {38, "up"},
    {39, "right"},       {40, "down"},
    {44, "printscreen"}, {45, "insert"},
    {46, "delete"},      {91, "leftgui"},
    {92, "rightgui"},    {93, "menu"},
    {96, "kp0"},         {97, "kp1"},
    {98, "kp2"},         {99, "kp3"},
    {100, "kp4"},        {101, "kp5"},
    {102, "kp6"},        {103, "kp7"},
    {104, "kp8"},        {105, "kp9"},
    {106, "kpmultiply"}, {107, "kpplus"},
    {109, "kpminus"},    {110, "kpperiod"},
    {111, "kpdivide"},   {113, "f2"},
    {114, "f3"},         {115, "f4"},
    {116, "f5"},         {117, "f6"},
    {118, "f7"},         {119, "f8"},
    {120, "f9"},         {121, "f10"},
    {122, "f11"},        {kF12, "f12"},
    {144, "numlock"},    {145, "scrolllock"},
    {186, "semicolon"},  {187, "equals"},
    {188, "comma"},      {189, "minus"},
    {190, "period"},     {191, "slash"},
    {192, "grave"},      {219, "leftbracket"},
    {220, "backslash"},  {221, "rightbracket"},
    {222, "apostrophe"}, {226, "lessgreater"},
};

// Letters and digits are their own virtual keys ('A' is 65): one character each, in lower case.
std::string_view characterName(uint8_t virtualKey) {
  static constexpr std::string_view kCharacters = "0123456789abcdefghijklmnopqrstuvwxyz";
  if (virtualKey >= '0' && virtualKey <= '9') return kCharacters.substr(virtualKey - '0', 1);
  if (virtualKey >= 'A' && virtualKey <= 'Z') return kCharacters.substr(10 + virtualKey - 'A', 1);
  return {};
}

bool isDirection(Action action) {
  return action <= Action::Right;
}

size_t indexOf(Action action) {
  return static_cast<size_t>(action);
}

}  // namespace

const ActionInfo& actionInfo(Action action) {
  return kActions[indexOf(action)];
}

KeyRoles::KeyRoles() : keys{} {
  for (const ActionInfo& info : kActions) keys[indexOf(info.action)] = info.gameKey;
  keys[indexOf(Action::Screenshot)] = kF12;
}

uint8_t& keyFor(KeyRoles& roles, Action action) {
  return roles.keys[indexOf(action)];
}

uint8_t keyFor(const KeyRoles& roles, Action action) {
  return roles.keys[indexOf(action)];
}

PadControl& padFor(PadRoles& roles, Action action) {
  switch (action) {
    case Action::Up:
      return roles.up;
    case Action::Down:
      return roles.down;
    case Action::Left:
      return roles.left;
    case Action::Right:
      return roles.right;
    case Action::Fire:
      return roles.fire;
    case Action::Special:
      return roles.special;
    case Action::Hold:
      return roles.hold;
    case Action::Continue:
      return roles.continueGame;
    case Action::Pause:
      return roles.pause;
    case Action::Choose:
      return roles.choose;
    case Action::Quit:
      return roles.quit;
    case Action::Screenshot:
      break;
  }
  return roles.screenshot;
}

PadControl padFor(const PadRoles& roles, Action action) {
  return padFor(const_cast<PadRoles&>(roles), action);
}

std::optional<ControlKey> controlKeyNamed(std::string_view configKey) {
  const bool pad = configKey.starts_with("pad_");
  if (!pad && !configKey.starts_with("key_")) return std::nullopt;
  const std::string_view name = configKey.substr(4);
  for (const ActionInfo& info : kActions) {
    if (info.name == name) return ControlKey{info.action, pad};
  }
  return std::nullopt;
}

std::optional<uint8_t> keyNamed(std::string_view name) {
  if (name == "none") return uint8_t{0};
  for (int vk = '0'; vk <= 'Z'; ++vk) {
    if (!characterName(static_cast<uint8_t>(vk)).empty() &&
        characterName(static_cast<uint8_t>(vk)) == name)
      return static_cast<uint8_t>(vk);
  }
  for (const KeyName& key : kKeyNames) {
    if (key.name == name) return key.virtualKey;
  }
  return std::nullopt;
}

std::string_view keyName(uint8_t virtualKey) {
  if (virtualKey == 0) return "none";
  if (const std::string_view c = characterName(virtualKey); !c.empty()) return c;
  for (const KeyName& key : kKeyNames) {
    if (key.virtualKey == virtualKey) return key.name;
  }
  return {};
}

std::optional<PadControl> padRoleNamed(Action action, std::string_view name) {
  if (name == "none") return kNoControl;
  const auto control = host::padControlNamed(name);
  if (!control || *control == PadControl::Back) return std::nullopt;
  // The d-pad steers unless a direction is given to a button, so only directions take it.
  if (*control >= PadControl::Up && !isDirection(action)) return std::nullopt;
  return control;
}

std::string_view padRoleName(PadControl control) {
  return control == kNoControl ? std::string_view("none") : host::padControlName(control);
}

std::optional<Action> keyTakenBy(const KeyRoles& roles, Action action, uint8_t key) {
  if (key == 0) return std::nullopt;
  for (const ActionInfo& info : kActions) {
    if (info.action != action && keyFor(roles, info.action) == key) return info.action;
  }
  return std::nullopt;
}

std::optional<Action> padTakenBy(const PadRoles& roles, Action action, PadControl control) {
  if (control == kNoControl) return std::nullopt;
  for (const ActionInfo& info : kActions) {
    if (info.action != action && padFor(roles, info.action) == control) return info.action;
  }
  return std::nullopt;
}

std::optional<Action> bindKey(KeyRoles& roles, Action action, uint8_t key) {
  const auto other = keyTakenBy(roles, action, key);
  if (other) keyFor(roles, *other) = keyFor(roles, action);
  keyFor(roles, action) = key;
  return other;
}

std::optional<Action> bindPad(PadRoles& roles, Action action, PadControl control) {
  const auto other = padTakenBy(roles, action, control);
  // A direction's control on the d-pad cannot go to a button's part: that part goes without.
  if (other) {
    const PadControl given = padFor(roles, action);
    const bool fits = isDirection(*other) || given < PadControl::Up;
    padFor(roles, *other) = fits ? given : kNoControl;
  }
  padFor(roles, action) = control;
  return other;
}

host::KeyMap keyMapFor(const KeyRoles& roles) {
  host::KeyMap map = host::identityKeyMap();
  for (const ActionInfo& info : kActions) {
    if (info.gameKey != 0 && keyFor(roles, info.action) != info.gameKey) map[info.gameKey] = 0;
  }
  for (const ActionInfo& info : kActions) {
    if (const uint8_t key = keyFor(roles, info.action); key != 0) map[key] = info.gameKey;
  }
  return map;
}

}  // namespace vane
