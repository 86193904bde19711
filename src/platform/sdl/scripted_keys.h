// SPDX-License-Identifier: GPL-3.0-or-later
// Key events made up by the program, taken in by the SDL back end exactly as the keyboard's.
#pragma once

namespace vane::platform {

// From now on the keyboard and the controllers reach the program no more, except Escape.
void takeOverKeyboard();
// Queues a key event for the key the game knows as `virtualKey`; false when no key makes it.
bool pushKey(int virtualKey, bool down, bool repeat);
// Queues a key-down that the desktop keeps from the game, as it keeps a key pressed while Alt is
// held: the key is held, and no key message is sent. False when no such key makes it.
bool holdKey(int virtualKey);

}  // namespace vane::platform
