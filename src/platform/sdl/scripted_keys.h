// SPDX-License-Identifier: GPL-3.0-or-later
// Key events made up by the program, taken in by the SDL back end exactly as the keyboard's.
#pragma once

namespace vane::platform {

// From now on the keyboard and the controllers reach the program no more, except Escape.
void takeOverKeyboard();
// Queues a key event for the key the game knows as `virtualKey`; false when no key makes it.
bool pushKey(int virtualKey, bool down, bool repeat);

}  // namespace vane::platform
