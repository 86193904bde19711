// SPDX-License-Identifier: GPL-3.0-or-later
// Window messages' keys as the seam has them: physical keys, the game's virtual keys, their routes.
#pragma once

#include <cstdint>

namespace vane::platform::win32 {

// A key message's key: its virtual key (wParam) and, from lParam, the scan code and the extended
// bit (set for the right-hand Ctrl and Alt, the arrows between the blocks, keypad Enter and /).
struct KeyStroke {
  int virtualKey = 0;
  int scanCode = 0;
  bool extended = false;
};

KeyStroke strokeOf(uintptr_t wParam, intptr_t lParam);
// The key's own number below 512: its scan code, extended keys above 256.
int physicalKey(const KeyStroke& key);
// The game's virtual-key code for the key, 0 for a key the game has no code for. The keypad gives
// its digits whether NumLock is on or not, as on every system the game runs on.
int gameVirtualKey(const KeyStroke& key);

// What a key press is for.
enum class KeyRoute {
  Game,          // a key message and a held key for the game
  System,        // held but no key message: a lone Alt, F10, any key pressed while Alt is down
  ToggleWindow,  // Alt+Enter or F11: the platform's own; the game sees nothing of it
  Close,         // Alt+F4: a request to close the window
};
// `alt` without `ctrl`: AltGr comes as Ctrl+Alt, and types characters.
KeyRoute routeKey(const KeyStroke& key, bool alt, bool ctrl);

}  // namespace vane::platform::win32
