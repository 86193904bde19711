// SPDX-License-Identifier: GPL-3.0-or-later
// The game's window: its class and procedure, its two modes, and its messages as seam events.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

#include "platform/desktop.h"
#include "platform/picture/presentation.h"

namespace vane::platform::win32 {

class Window {
 public:
  explicit Window(const DisplayOptions& options);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Opens the window in the mode asked for; false (with the reason on stderr) when it cannot.
  bool open();
  void close();
  HWND handle() const { return window_; }

  // Switches between borderless full screen on the monitor the window is on and a resizable
  // window.
  void toggle();
  WindowState state() const;

  // Dispatches the messages waiting; their events go to `events`.
  void pump();
  std::deque<Event>& events() { return events_; }
  // Called from WM_PAINT to put the last picture back into the window.
  std::function<void(HDC)> paint;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void onKeyDown(WPARAM wParam, LPARAM lParam);
  void emit(Event::Kind kind, bool focused = false);

  void enterFullscreen();
  void enterWindow();
  void placeAsWindow();
  WindowSize windowSize() const;
  Decorations decorations() const;

  HWND window_ = nullptr;
  WindowMode mode_;
  WindowSize windowSize_;  // 0 x 0 until the player has one
  std::deque<Event> events_;
};

}  // namespace vane::platform::win32
