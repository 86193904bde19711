// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard events put into SDL's queue by hand, as a desktop keyboard sends them.
#pragma once

#include <SDL.h>

namespace vane::test {

inline void pushKey(Uint32 type, SDL_Scancode scancode, SDL_Keycode keycode, bool repeat = false,
                    Uint16 mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = type;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat ? 1 : 0;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = keycode;
  event.key.keysym.mod = mod;
  SDL_PushEvent(&event);
}

}  // namespace vane::test
