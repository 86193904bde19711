// SPDX-License-Identifier: GPL-3.0-or-later
// Key codes of the desktop turned into the game's virtual-key codes.
#pragma once

#include <SDL_keycode.h>
#include <SDL_scancode.h>

namespace vane::platform {

// The virtual-key code of a key, or 0 when the game has no code for it. Letters and digits
// follow the layout (the key labelled A is 65); the keypad keys follow their position, so
// keypad 8 is 104 whether NumLock is on or off.
int virtualKeyFor(SDL_Scancode scancode, SDL_Keycode keycode);

}  // namespace vane::platform
