// SPDX-License-Identifier: GPL-3.0-or-later
// Made-up key events, and the filter that keeps the player's keys out while they play.
#include "platform/sdl/scripted_keys.h"

#include <SDL.h>

#include "platform/platform.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/window_modes.h"

namespace vane::platform {

namespace {

// Made-up events name a window that never exists, which sets them apart from the keyboard's.
constexpr Uint32 kMadeUp = 0xFFFFFFFFu;

int keepMadeUpKeys(void*, SDL_Event* event) {
  switch (event->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return event->key.windowID == kMadeUp || event->key.keysym.scancode == SDL_SCANCODE_ESCAPE;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
      return 0;
    default:
      return 1;
  }
}

// The first scancode (with its key under the current layout) that the game reads as `virtualKey`.
bool keyFor(int virtualKey, SDL_Scancode& scancode, SDL_Keycode& keycode) {
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
    const auto candidate = static_cast<SDL_Scancode>(s);
    const SDL_Keycode key = SDL_GetKeyFromScancode(candidate);
    if (virtualKeyFor(candidate, key) == virtualKey) {
      scancode = candidate;
      keycode = key;
      return true;
    }
  }
  return false;
}

}  // namespace

void takeOverKeyboard() {
  SDL_SetEventFilter(keepMadeUpKeys, nullptr);
}

bool pushKey(int virtualKey, bool down, bool repeat) {
  SDL_Event event{};
  if (!keyFor(virtualKey, event.key.keysym.scancode, event.key.keysym.sym)) return false;
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat ? 1 : 0;
  event.key.windowID = kMadeUp;
  return SDL_PushEvent(&event) == 1;
}

bool holdKey(int virtualKey) {
  SDL_Event event{};
  if (!keyFor(virtualKey, event.key.keysym.scancode, event.key.keysym.sym)) return false;
  event.key.keysym.mod = KMOD_LALT;
  if (routeKey(event.key.keysym) != KeyRoute::System) return false;
  event.type = SDL_KEYDOWN;
  event.key.state = SDL_PRESSED;
  event.key.windowID = kMadeUp;
  return SDL_PushEvent(&event) == 1;
}

}  // namespace vane::platform
