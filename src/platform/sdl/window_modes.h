// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop window in its two modes, and the keys the platform keeps from the game.
#pragma once

#include <SDL_keyboard.h>
#include <SDL_video.h>

#include "platform/desktop.h"
#include "platform/options.h"
#include "platform/picture/presentation.h"

namespace vane::platform {

// What a key press is for.
enum class KeyRoute {
  Game,          // a key message and a held key for the game
  System,        // held, as the keyboard's state always shows, but no key message: a lone Alt,
                 // F10, or any key pressed while Alt is down
  ToggleWindow,  // Alt+Enter or F11: the platform's own; the game sees nothing of it
  Close,         // Alt+F4: a request to close the window
};

KeyRoute routeKey(const SDL_Keysym& key);

class WindowModes {
 public:
  explicit WindowModes(const DisplayOptions& options);
  ~WindowModes();
  WindowModes(const WindowModes&) = delete;
  WindowModes& operator=(const WindowModes&) = delete;

  // Opens the window in the mode asked for; false (with the reason on stderr) when it cannot.
  bool open();
  void close();
  SDL_Window* window() const { return window_; }

  // Switches between full screen, on the display the window is on, and a resizable window.
  void toggle();
  WindowState state() const;

 private:
  void enterFullscreen();
  void enterWindow();
  void placeAsWindow(int display);
  WindowSize windowSize() const;

  SDL_Window* window_ = nullptr;
  WindowMode mode_;
  WindowSize windowSize_;  // 0 x 0 until the player has one
  // Those seen around the window when it last was one; assumed until then.
  Decorations decorations_ = kAssumedDecorations;
};

}  // namespace vane::platform
