// SPDX-License-Identifier: GPL-3.0-or-later
// Full screen and windowed, switched at the player's keys; the platform's keys kept from the game.
#include "platform/sdl/window_modes.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cstdio>

namespace vane::platform {

namespace {

constexpr int kSmallestWidth = kPictureWidth / 2;
constexpr int kSmallestHeight = kPictureHeight / 2;

// Whether a window manager looks after the desktop: one that follows the desktop conventions
// names its check window on the root window. Anywhere but X this is taken to be so.
bool windowManagerRunning(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) == SDL_FALSE) return true;
#if defined(SDL_VIDEO_DRIVER_X11)
  if (info.subsystem == SDL_SYSWM_X11) {
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* value = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &count, &after, &value);
    if (value != nullptr) XFree(value);
    return status == Success && type == XA_WINDOW && count == 1;
  }
#endif
  return true;
}

// Covers the whole screen, so it does so even where no window manager is there to carry out a
// full-screen request. Without one the request is not made: the window is full screen already,
// and SDL would wait a tenth of a second for the window to change before showing it.
SDL_Window* openFullscreenWindow(const SDL_Rect& screen) {
  constexpr Uint32 kCovering = SDL_WINDOW_BORDERLESS;
  SDL_Window* window = SDL_CreateWindow("VANE", screen.x, screen.y, screen.w, screen.h,
                                        kCovering | SDL_WINDOW_HIDDEN);
  if (window == nullptr) return nullptr;
  if (!windowManagerRunning(window)) {
    SDL_ShowWindow(window);
    return window;
  }
  SDL_DestroyWindow(window);
  return SDL_CreateWindow("VANE", screen.x, screen.y, screen.w, screen.h,
                          kCovering | SDL_WINDOW_FULLSCREEN_DESKTOP);
}

}  // namespace

KeyRoute routeKey(const SDL_Keysym& key) {
  // AltGr comes with Ctrl on some desktops; it types characters and is no system key.
  const bool alt = (key.mod & KMOD_ALT) != 0 && (key.mod & KMOD_CTRL) == 0;
  switch (key.scancode) {
    case SDL_SCANCODE_F11:
      return KeyRoute::ToggleWindow;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
      return alt ? KeyRoute::ToggleWindow : KeyRoute::Game;
    case SDL_SCANCODE_F4:
      return alt ? KeyRoute::Close : KeyRoute::Game;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
    case SDL_SCANCODE_F10:
      return KeyRoute::System;
    default:
      return alt ? KeyRoute::System : KeyRoute::Game;
  }
}

WindowModes::WindowModes(const DisplayOptions& options)
    : mode_(options.windowMode),
      windowSize_{std::max(options.windowWidth, 0), std::max(options.windowHeight, 0)} {
  if (windowSize_.width == 0 || windowSize_.height == 0) {
    windowSize_ = WindowSize{};
  } else {
    windowSize_.width = std::max(windowSize_.width, kSmallestWidth);
    windowSize_.height = std::max(windowSize_.height, kSmallestHeight);
  }
}

WindowModes::~WindowModes() {
  close();
}

bool WindowModes::open() {
  if (mode_ == WindowMode::Fullscreen) {
    SDL_Rect screen{SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kPictureWidth,
                    kPictureHeight};
    SDL_GetDisplayBounds(0, &screen);
    window_ = openFullscreenWindow(screen);
  } else {
    windowSize_ = windowSize();
    const WindowSize size = windowSize_;
    window_ = SDL_CreateWindow("VANE", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.width,
                               size.height, SDL_WINDOW_RESIZABLE);
  }
  if (window_ == nullptr) {
    std::fprintf(stderr, "vane: cannot open the window: %s\n", SDL_GetError());
    return false;
  }
  SDL_SetWindowMinimumSize(window_, kSmallestWidth, kSmallestHeight);
  // The pointer has nothing to do in the game; over a window it stays, as on any other.
  SDL_ShowCursor(mode_ == WindowMode::Fullscreen ? SDL_DISABLE : SDL_ENABLE);
  return true;
}

void WindowModes::close() {
  if (window_ == nullptr) return;
  windowSize_ = WindowSize{state().width, state().height};
  SDL_DestroyWindow(window_);
  window_ = nullptr;
}

void WindowModes::toggle() {
  if (window_ == nullptr) return;
  if (mode_ == WindowMode::Fullscreen) {
    enterWindow();
  } else {
    enterFullscreen();
  }
}

void WindowModes::enterFullscreen() {
  // The size the player gave the window is where it goes back to.
  SDL_GetWindowSize(window_, &windowSize_.width, &windowSize_.height);
  const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
  SDL_Rect screen{0, 0, kPictureWidth, kPictureHeight};
  SDL_GetDisplayBounds(display, &screen);
  mode_ = WindowMode::Fullscreen;
  // As at the start: placed over the display by hand as well, for desktops without a manager.
  SDL_SetWindowBordered(window_, SDL_FALSE);
  SDL_SetWindowResizable(window_, SDL_FALSE);
  SDL_SetWindowPosition(window_, screen.x, screen.y);
  SDL_SetWindowSize(window_, screen.w, screen.h);
  if (windowManagerRunning(window_))
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_ShowCursor(SDL_DISABLE);
}

void WindowModes::enterWindow() {
  const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
  mode_ = WindowMode::Window;
  windowSize_ = windowSize();
  const WindowSize size = windowSize_;
  SDL_SetWindowFullscreen(window_, 0);
  SDL_SetWindowBordered(window_, SDL_TRUE);
  SDL_SetWindowResizable(window_, SDL_TRUE);
  SDL_SetWindowSize(window_, size.width, size.height);
  SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                        SDL_WINDOWPOS_CENTERED_DISPLAY(display));
  SDL_ShowCursor(SDL_ENABLE);
}

WindowSize WindowModes::windowSize() const {
  if (windowSize_.width > 0) return windowSize_;
  const int display = window_ != nullptr ? std::max(SDL_GetWindowDisplayIndex(window_), 0) : 0;
  SDL_Rect usable{0, 0, kPictureWidth, kPictureHeight};
  if (SDL_GetDisplayUsableBounds(display, &usable) != 0) SDL_GetDisplayBounds(display, &usable);
  return firstWindowSize(usable.w, usable.h, kPictureWidth, kPictureHeight);
}

WindowState WindowModes::state() const {
  WindowSize size = windowSize_;
  if (mode_ == WindowMode::Window && window_ != nullptr) {
    SDL_GetWindowSize(window_, &size.width, &size.height);
  }
  return WindowState{mode_, size.width, size.height};
}

}  // namespace vane::platform
