// SPDX-License-Identifier: GPL-3.0-or-later
// The key tables from scan codes and virtual keys to the game's virtual-key codes.
#include "platform/win32/keys.h"

#include <windows.h>

namespace vane::platform::win32 {

namespace {

struct KeypadKey {
  int scanCode;
  bool extended;
  int virtualKey;
};

// The keypad by scan code: without NumLock its keys send the arrows' and Home's virtual keys.
constexpr KeypadKey kKeypad[] = {
    {0x52, false, VK_NUMPAD0},  {0x4F, false, VK_NUMPAD1},  {0x50, false, VK_NUMPAD2},
    {0x51, false, VK_NUMPAD3},  {0x4B, false, VK_NUMPAD4},  {0x4C, false, VK_NUMPAD5},
    {0x4D, false, VK_NUMPAD6},  {0x47, false, VK_NUMPAD7},  {0x48, false, VK_NUMPAD8},
    {0x49, false, VK_NUMPAD9},  {0x37, false, VK_MULTIPLY}, {0x4E, false, VK_ADD},
    {0x4A, false, VK_SUBTRACT}, {0x53, false, VK_DECIMAL},  {0x35, true, VK_DIVIDE},
    {0x1C, true, VK_RETURN},
};

// Every other key the game has a code for: the same set as on the other systems, so that a
// recording made on one replays on another.
bool hasGameCode(int vk) {
  constexpr int kKeys[] = {
      VK_BACK,      VK_TAB,       VK_RETURN,     VK_SHIFT,   VK_CONTROL,  VK_MENU,   VK_PAUSE,
      VK_CAPITAL,   VK_ESCAPE,    VK_SPACE,      VK_PRIOR,   VK_NEXT,     VK_END,    VK_HOME,
      VK_LEFT,      VK_UP,        VK_RIGHT,      VK_DOWN,    VK_SNAPSHOT, VK_INSERT, VK_DELETE,
      VK_LWIN,      VK_RWIN,      VK_APPS,       VK_NUMLOCK, VK_SCROLL,   VK_OEM_1,  VK_OEM_PLUS,
      VK_OEM_COMMA, VK_OEM_MINUS, VK_OEM_PERIOD, VK_OEM_2,   VK_OEM_3,    VK_OEM_4,  VK_OEM_5,
      VK_OEM_6,     VK_OEM_7,     VK_OEM_102};
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || (vk >= VK_F1 && vk <= VK_F12)) {
    return true;
  }
  for (int key : kKeys) {
    if (key == vk) return true;
  }
  return false;
}

}  // namespace

KeyStroke strokeOf(uintptr_t wParam, intptr_t lParam) {
  return KeyStroke{static_cast<int>(wParam), static_cast<int>((lParam >> 16) & 0xFF),
                   ((lParam >> 24) & 1) != 0};
}

int physicalKey(const KeyStroke& key) {
  return key.scanCode + (key.extended ? 256 : 0);
}

int gameVirtualKey(const KeyStroke& key) {
  for (const KeypadKey& k : kKeypad) {
    if (k.scanCode == key.scanCode && k.extended == key.extended) return k.virtualKey;
  }
  return hasGameCode(key.virtualKey) ? key.virtualKey : 0;
}

KeyRoute routeKey(const KeyStroke& key, bool alt, bool ctrl) {
  const bool altAlone = alt && !ctrl;
  switch (key.virtualKey) {
    case VK_F11:
      return KeyRoute::ToggleWindow;
    case VK_RETURN:
      return altAlone ? KeyRoute::ToggleWindow : KeyRoute::Game;
    case VK_F4:
      return altAlone ? KeyRoute::Close : KeyRoute::Game;
    case VK_MENU:
    case VK_F10:
      return KeyRoute::System;
    default:
      return altAlone ? KeyRoute::System : KeyRoute::Game;
  }
}

}  // namespace vane::platform::win32
