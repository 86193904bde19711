// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own keys, seen before the game's: F1 and the pad's Back for the options, F12 (or
// the screenshot button) for a screenshot.
#pragma once

#include <filesystem>

#include "shell/options_overlay.h"
#include "shell/settings.h"

namespace vane {

// How many frames have run: the frame whose picture a screenshot holds.
using FrameCounter = long long (*)();

// Takes the program's keys from now on; `overlay` (nullptr for none) opens with F1 and Back.
void installPlayerKeys(const ProgramOptions* options, OptionsOverlay* overlay,
                       FrameCounter framesRun);
void removePlayerKeys();

// While the options are open the game stands: no frame runs.
bool optionsOpen();

}  // namespace vane
