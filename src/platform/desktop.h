// SPDX-License-Identifier: GPL-3.0-or-later
// The back end of the real program: a desktop window in full screen or windowed mode.
#pragma once

#include <memory>

#include "platform/options.h"
#include "platform/platform.h"

namespace vane::platform {

// The window as the player left it, to open it so again next time: the mode, and the size it
// has (or had, when last in that mode) as a window.
struct WindowState {
  WindowMode mode = WindowMode::Fullscreen;
  int width = 0;
  int height = 0;
};

class DesktopBackend : public Backend {
 public:
  // The window mode and size the player ended with.
  virtual WindowState windowState() const = 0;
  // Switches to `mode` as Alt+Enter does, when the window is not in it already.
  void setWindowMode(WindowMode mode) {
    if (windowState().mode != mode) toggleWindowMode();
  }

 protected:
  virtual void toggleWindowMode() = 0;
};

// What the system asks of the program before it prints anything: on Windows, where the game is a
// windowed program with no console of its own, the console it was started from (if any) takes its
// lines and its Ctrl+C. Nothing elsewhere.
void prepareDesktopProgram();

// The desktop back end of the system the program is built for (SDL's, or Windows' own): each
// back end library defines it. nullptr (with the reason on stderr) when the machine has no display
// to open.
std::unique_ptr<DesktopBackend> makeDesktopBackend(const DisplayOptions& options);

}  // namespace vane::platform
