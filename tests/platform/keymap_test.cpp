// SPDX-License-Identifier: GPL-3.0-or-later
// The key table and the two keyboard states of the SDL back end.
#include "platform/sdl/keymap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/keyboard.h"

namespace vane::platform {
namespace {

using namespace vane::host;

TEST(KeyTable, GameKeysHaveTheirVirtualKeyCodes) {
  struct Case {
    SDL_Scancode scancode;
    SDL_Keycode keycode;
    int virtualKey;
  };
  const Case cases[] = {
      {SDL_SCANCODE_LEFT, SDLK_LEFT, kVkLeft},
      {SDL_SCANCODE_UP, SDLK_UP, kVkUp},
      {SDL_SCANCODE_RIGHT, SDLK_RIGHT, kVkRight},
      {SDL_SCANCODE_DOWN, SDLK_DOWN, kVkDown},
      {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, kVkShift},
      {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, kVkShift},
      {SDL_SCANCODE_RETURN, SDLK_RETURN, kVkReturn},
      {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, kVkReturn},
      {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, kVkEscape},
      {SDL_SCANCODE_SPACE, SDLK_SPACE, kVkSpace},
      {SDL_SCANCODE_Z, SDLK_z, kVkZ},
      {SDL_SCANCODE_T, SDLK_t, kVkT},
      {SDL_SCANCODE_C, SDLK_c, kVkC},
      {SDL_SCANCODE_A, SDLK_a, 65},
      {SDL_SCANCODE_0, SDLK_0, 48},
      {SDL_SCANCODE_9, SDLK_9, 57},
      {SDL_SCANCODE_F1, SDLK_F1, 112},
      {SDL_SCANCODE_LCTRL, SDLK_LCTRL, 17},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(virtualKeyFor(c.scancode, c.keycode), c.virtualKey) << "scancode " << c.scancode;
  }
}

TEST(KeyTable, KeypadFollowsPositionWhateverNumLockSays) {
  // With NumLock off the keypad keys arrive carrying the cursor keys' codes.
  EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_KP_8, SDLK_KP_8), kVkNumpad8);
  EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_KP_8, SDLK_UP), kVkNumpad8);
  EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_KP_4, SDLK_LEFT), kVkNumpad4);
  EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_KP_6, SDLK_RIGHT), kVkNumpad6);
  EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_KP_2, SDLK_DOWN), kVkNumpad2);
}

TEST(KeyTable, LettersFollowTheLayoutAndFallBackToPosition) {
  // A layout that puts Z where another has Y.
  EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_Y, SDLK_z), kVkZ);
  // A layout whose keys carry no Latin letter still gives the letter of the position.
  EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_Z, 0x44F), kVkZ);
}

TEST(KeyTable, KeysWithoutACodeAreIgnored) {
  EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY), 0);
  EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN), 0);
}

}  // namespace
}  // namespace vane::platform
