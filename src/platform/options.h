// SPDX-License-Identifier: GPL-3.0-or-later
// What the player chose for the window, the picture and the sound, handed to the back end at start.
#pragma once

namespace vane::platform {

enum class WindowMode { Fullscreen, Window };
enum class ScaleMode { Fit, Integer };
enum class RendererChoice { Auto, Gpu, Software };

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
