// SPDX-License-Identifier: GPL-3.0-or-later
// What a game controller's buttons do on each screen, and which button plays each part.
#pragma once

#include "host/pad_bindings.h"

namespace vane {

// A part played with no control.
inline constexpr platform::PadControl kNoControl =
    static_cast<platform::PadControl>(platform::kPadControlCount);

// The control for each part; the player may choose others in the config file and the options.
struct PadRoles {
  platform::PadControl up = platform::PadControl::Up;
  platform::PadControl down = platform::PadControl::Down;
  platform::PadControl left = platform::PadControl::Left;
  platform::PadControl right = platform::PadControl::Right;
  platform::PadControl fire = platform::PadControl::A;
  platform::PadControl special = platform::PadControl::B;
  platform::PadControl hold = platform::PadControl::Y;
  platform::PadControl continueGame = platform::PadControl::X;
  platform::PadControl pause = platform::PadControl::Start;
  // Return on every screen, Escape, and the screenshot: no control unless the player gives one.
  platform::PadControl choose = kNoControl;
  platform::PadControl quit = kNoControl;
  platform::PadControl screenshot = kNoControl;
};

enum class Screen { None, Title, Menu, Stage, StageEnded };

// The screen the game shows now, as far as the controller is concerned.
Screen screenNow();

// The keys the controls send on `screen`: the direction controls steer; a title screen takes any
// button; the menu and a finished or lost stage take the fire or pause button as Return; the
// choose and quit controls send Return and Escape wherever nothing else claims them.
host::PadBindings padBindingsFor(Screen screen, const PadRoles& roles);

}  // namespace vane
