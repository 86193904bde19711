// SPDX-License-Identifier: GPL-3.0-or-later
// The key table and the two keyboard states of the SDL back end.
#include "platform/sdl/keymap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"

namespace vane::platform {
namespace {

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

TEST(KeyStates, BothShiftKeysShareOneCode) {
  KeyStates keys;
  keys.press(SDL_SCANCODE_LSHIFT, kVkShift);
  keys.press(SDL_SCANCODE_RSHIFT, kVkShift);
  keys.release(SDL_SCANCODE_LSHIFT);
  EXPECT_TRUE(keys.held(kVkShift));
  keys.release(SDL_SCANCODE_RSHIFT);
  EXPECT_FALSE(keys.held(kVkShift));
}

TEST(KeyStates, RepeatsDoNotOutliveTheRelease) {
  KeyStates keys;
  for (int i = 0; i < 5; ++i) keys.press(SDL_SCANCODE_SPACE, kVkSpace);
  keys.release(SDL_SCANCODE_SPACE);
  EXPECT_FALSE(keys.held(kVkSpace));
  keys.release(SDL_SCANCODE_SPACE);  // a stray release of a key that is up
  keys.press(SDL_SCANCODE_SPACE, kVkSpace);
  EXPECT_TRUE(keys.held(kVkSpace));
}

TEST(KeyStates, ClearingTheThreadStateLeavesTheHeldKeys) {
  KeyStates keys;
  keys.press(SDL_SCANCODE_LEFT, kVkLeft);
  uint8_t state[256];
  keys.readThreadState(state);
  EXPECT_EQ(state[kVkLeft] & 0x80, 0x80);

  const uint8_t zero[256] = {};
  keys.writeThreadState(zero);
  EXPECT_TRUE(keys.held(kVkLeft));
  keys.readThreadState(state);
  EXPECT_EQ(state[kVkLeft], 0);

  // A saved state written back is read back unchanged.
  uint8_t saved[256] = {};
  saved[kVkShift] = 0x80;
  saved[20] = 1;
  keys.writeThreadState(saved);
  keys.readThreadState(state);
  EXPECT_EQ(std::memcmp(state, saved, 256), 0);
  EXPECT_FALSE(keys.held(kVkShift));
}

TEST(KeyStates, LosingTheKeyboardReleasesEverything) {
  KeyStates keys;
  keys.press(SDL_SCANCODE_Z, kVkZ);
  keys.press(SDL_SCANCODE_KP_8, kVkNumpad8);
  keys.releaseAll();
  EXPECT_FALSE(keys.held(kVkZ));
  EXPECT_FALSE(keys.held(kVkNumpad8));
}

TEST(KeyStates, OutOfRangeCodesAreRefused) {
  KeyStates keys;
  keys.press(SDL_SCANCODE_A, 300);
  keys.press(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES), 65);
  EXPECT_FALSE(keys.held(65));
  EXPECT_FALSE(keys.held(-1));
  EXPECT_FALSE(keys.held(256));
}

}  // namespace
}  // namespace vane::platform
