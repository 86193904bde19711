// SPDX-License-Identifier: GPL-3.0-or-later
// Full screen and windowed, switched at the player's keys; the platform's keys kept from the game.
#include "platform/sdl/window_modes.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

namespace vane::platform {

namespace {

constexpr int kSmallestWidth = kPictureWidth / 2;
constexpr int kSmallestHeight = kPictureHeight / 2;

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
    // The window starts out covering the whole screen, so it does so even where no window
    // manager is there to carry out the full-screen request.
    SDL_Rect screen{SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kPictureWidth,
                    kPictureHeight};
    SDL_GetDisplayBounds(0, &screen);
    window_ = SDL_CreateWindow("VANE", screen.x, screen.y, screen.w, screen.h,
                               SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
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
