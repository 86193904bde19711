// SPDX-License-Identifier: GPL-3.0-or-later
// Full screen and windowed, switched at the player's keys; the platform's keys kept from the game.
#include "platform/sdl/window_modes.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cstdio>

namespace vane::platform {

namespace {

constexpr int kSmallestWidth = kSmallestWindowWidth;
constexpr int kSmallestHeight = kSmallestWindowHeight;

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

// Whether the window is on the desktop of a windowing system. SDL's dummy and offscreen drivers
// have none, only a display size of their own: a window there has no screen to fit and keeps the
// size asked for.
bool onDesktop(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  return SDL_GetWindowWMInfo(window, &info) == SDL_TRUE;
}

int displayOf(SDL_Window* window) {
  return window != nullptr ? std::max(SDL_GetWindowDisplayIndex(window), 0) : 0;
}

// The display's area less the desktop's panels; the whole display where that is not known.
PictureRect usableArea(int display) {
  SDL_Rect area{0, 0, kPictureWidth, kPictureHeight};
  if (SDL_GetDisplayUsableBounds(display, &area) != 0) SDL_GetDisplayBounds(display, &area);
  return PictureRect{area.x, area.y, area.w, area.h};
}

// The decorations around the window as the window manager reports them; `otherwise` where it
// cannot say.
Decorations decorationsOf(SDL_Window* window, const Decorations& otherwise) {
  Decorations d;
  if (SDL_GetWindowBordersSize(window, &d.top, &d.left, &d.bottom, &d.right) != 0) return otherwise;
  return d;
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
    windowSize_.width = std::clamp(windowSize_.width, kSmallestWidth, kLargestWindowSide);
    windowSize_.height = std::clamp(windowSize_.height, kSmallestHeight, kLargestWindowSide);
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
    window_ = SDL_CreateWindow("VANE", 0, 0, kPictureWidth, kPictureHeight,
                               SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (window_ != nullptr) {
      placeAsWindow(0);
      SDL_ShowWindow(window_);
    }
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
  // A maximised window wears slimmer decorations than the window it goes back to.
  if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) == 0) {
    decorations_ = decorationsOf(window_, decorations_);
  }
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
  const int display = displayOf(window_);
  mode_ = WindowMode::Window;
  SDL_SetWindowFullscreen(window_, 0);
  SDL_SetWindowBordered(window_, SDL_TRUE);
  SDL_SetWindowResizable(window_, SDL_TRUE);
  placeAsWindow(display);
  SDL_ShowCursor(SDL_ENABLE);
}

// Sizes and places the window so that it and its decorations fit wholly on the display. Until a
// window has shown its decorations, room is kept for generous ones; without a window manager
// there are none.
void WindowModes::placeAsWindow(int display) {
  if (!onDesktop(window_)) {
    windowSize_ = windowSize();
    SDL_SetWindowSize(window_, windowSize_.width, windowSize_.height);
    return;
  }
  const Decorations d = windowManagerRunning(window_) ? decorations_ : Decorations{};
  const PictureRect place = placeWindow(windowSize(), usableArea(display), d);
  windowSize_ = WindowSize{place.width, place.height};
  SDL_SetWindowSize(window_, place.width, place.height);
  // A window manager puts the window's frame, not its inside, where the window is asked to go.
  SDL_SetWindowPosition(window_, place.x - d.left, place.y - d.top);
}

WindowSize WindowModes::windowSize() const {
  if (windowSize_.width > 0) return windowSize_;
  const PictureRect usable = usableArea(displayOf(window_));
  return firstWindowSize(usable.width, usable.height, kPictureWidth, kPictureHeight);
}

// The size as a window, no larger than fits with its decorations on the display the window is on
// (a maximised window, say, that then went full screen and back).
WindowState WindowModes::state() const {
  WindowSize size = windowSize_;
  if (window_ == nullptr) return WindowState{mode_, size.width, size.height};
  Decorations decorations = decorations_;
  if (mode_ == WindowMode::Window) {
    SDL_GetWindowSize(window_, &size.width, &size.height);
    decorations = decorationsOf(window_, decorations_);
  }
  if (!onDesktop(window_) || size.width <= 0 || size.height <= 0) {
    return WindowState{mode_, size.width, size.height};
  }
  const PictureRect fitted = placeWindow(size, usableArea(displayOf(window_)), decorations);
  return WindowState{mode_, fitted.width, fitted.height};
}

}  // namespace vane::platform
