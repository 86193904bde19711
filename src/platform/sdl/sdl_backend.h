// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL back end: the desktop window, keyboard and controllers, clock, dialogs, display, sound.
#pragma once

#include <memory>

#include "platform/desktop.h"
#include "platform/options.h"
#include "platform/sdl/window_modes.h"

namespace vane::platform {

using SdlBackend = DesktopBackend;

// Creates the back end the real program runs on; nullptr (with the reason on stderr) when the
// machine has no display to open.
std::unique_ptr<SdlBackend> makeSdlBackend(const DisplayOptions& options = DisplayOptions{});

}  // namespace vane::platform
