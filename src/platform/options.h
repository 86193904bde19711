// SPDX-License-Identifier: GPL-3.0-or-later
// What the player chose for the window, the picture and the sound, handed to the back end at start.
#pragma once

namespace vane::platform {

enum class WindowMode { Fullscreen, Window };
enum class ScaleMode { Fit, Integer };
enum class RendererChoice { Auto, Gpu, Software };

// The window sizes a player may give (the config's window_size) and the game writes back: from
// half the picture, the smallest the window can be made, to the largest a renderer draws into.
constexpr int kSmallestWindowWidth = 320;
constexpr int kSmallestWindowHeight = 240;
constexpr int kLargestWindowSide = 16384;

struct DisplayOptions {
  WindowMode windowMode = WindowMode::Fullscreen;
  ScaleMode scale = ScaleMode::Fit;
  RendererChoice renderer = RendererChoice::Auto;
  int windowWidth = 0;  // 0: the largest whole multiple of 640x480 that fits the desktop
  int windowHeight = 0;
  bool verbose = false;
};

struct SoundOptions {
  bool mute = false;       // open no audio device, play nothing
  int musicVolume = 100;   // 0..100
  int effectVolume = 100;  // 0..100
};

}  // namespace vane::platform
