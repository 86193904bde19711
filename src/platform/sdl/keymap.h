// SPDX-License-Identifier: GPL-3.0-or-later
// Key codes of the desktop turned into the game's virtual-key codes, and the two keyboard states.
#pragma once

#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include <array>
#include <cstdint>

namespace vane::platform {

// The virtual-key code of a key, or 0 when the game has no code for it. Letters and digits
// follow the layout (the key labelled A is 65); the keypad keys follow their position, so
// keypad 8 is 104 whether NumLock is on or off.
int virtualKeyFor(SDL_Scancode scancode, SDL_Keycode keycode);

// What the game can ask about the keyboard: which keys are down right now (the asynchronous
// state), and the thread's 256-byte state, which the game may overwrite without changing the
// former.
class KeyStates {
 public:
  void press(SDL_Scancode scancode, int virtualKey);
  void release(SDL_Scancode scancode);
  // Lets go of every key, as when the window loses the keyboard.
  void releaseAll();
  bool held(int virtualKey) const;

  void readThreadState(uint8_t state[256]) const;
  void writeThreadState(const uint8_t state[256]);

 private:
  // The virtual key each held scancode went down as; 0 while the scancode is up.
  std::array<uint8_t, SDL_NUM_SCANCODES> downAs_{};
  // How many held scancodes share a virtual key (both Shift keys are 16).
  std::array<uint8_t, 256> heldCount_{};
  std::array<uint8_t, 256> threadState_{};
};

}  // namespace vane::platform
