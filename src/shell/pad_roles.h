// SPDX-License-Identifier: GPL-3.0-or-later
// What a game controller's buttons do on each screen, and which button plays each part.
#pragma once

#include "host/pad_bindings.h"

namespace vane {

// The button for each part in a stage; the player may choose others in the config file.
struct PadRoles {
  platform::PadControl fire = platform::PadControl::A;
  platform::PadControl special = platform::PadControl::B;
  platform::PadControl hold = platform::PadControl::Y;
  platform::PadControl continueGame = platform::PadControl::X;
  platform::PadControl pause = platform::PadControl::Start;
};

enum class Screen { None, Title, Menu, Stage, StageEnded };

// The screen the game shows now, as far as the controller is concerned.
Screen screenNow();

// The keys the controls send on `screen`: the d-pad and stick always steer; a title screen takes
// any button; the menu and a finished or lost stage take the fire or pause button as Return.
host::PadBindings padBindingsFor(Screen screen, const PadRoles& roles);

}  // namespace vane
