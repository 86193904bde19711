// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard as the game reads it: virtual-key codes, held keys, the thread's keyboard state.
#pragma once

#include <cstdint>

namespace vane::host {

// Virtual-key codes the game reads.
enum VirtualKey : int {
  kVkReturn = 13,
  kVkShift = 16,
  kVkEscape = 27,
  kVkSpace = 32,
  kVkPrior = 33,  // Page Up
  kVkNext = 34,   // Page Down
  kVkEnd = 35,
  kVkHome = 36,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkC = 67,
  kVkT = 84,
  kVkZ = 90,
  kVkNumpad2 = 98,
  kVkNumpad4 = 100,
  kVkNumpad6 = 102,
  kVkNumpad8 = 104,
};

// The asynchronous state (GetAsyncKeyState): is the key down at this moment?
bool keyHeld(int virtualKey);
// The thread's 256-entry keyboard state, which the game saves and puts back; a fresh press sets
// a key's high bit and flips its toggle bit, as the desktop does.
void getKeyboardState(uint8_t state[256]);
void setKeyboardState(const uint8_t state[256]);

// Keys played by a script (a replay, vane-sim) rather than pressed: they take the keyboard's
// path, held apart from the physical keys. A key held already gets one more key-down message.
void scriptKeyDown(int virtualKey);
// Held from now on without a key-down message (a press the system kept, such as one with Alt).
void scriptKeyHold(int virtualKey);
void scriptKeyUp(int virtualKey);
// From now on the keyboard and the controllers reach the game no more, except Escape.
void takeOverKeyboard();
// While the keyboard is taken over, its key presses (not Escape's, not the controllers') go to
// `listener` instead, with their virtual key and whether they repeat: a replay's controls.
using KeyListener = void (*)(void* user, int virtualKey, bool repeat);
void listenToTakenKeys(KeyListener listener, void* user);
// The keyboard reaches the game again; the keys a script holds are let go.
void giveBackKeyboard();

}  // namespace vane::host
