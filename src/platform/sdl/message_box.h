// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop message box that SIGINT and SIGTERM take down along with the program.
#pragma once

#include <SDL.h>

namespace vane::platform {

// Shows SDL's simple message box and waits for it. SDL's own quit request on SIGINT and SIGTERM
// is never read while a box is up, so either signal then ends the program at once by its default
// action; the box goes with it, though the desktop may draw it from a process of its own.
void showMessageBox(Uint32 flags, const char* title, const char* text, SDL_Window* window);

}  // namespace vane::platform
