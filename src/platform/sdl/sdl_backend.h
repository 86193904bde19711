// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL back end: the desktop window, keyboard, clocks, dialogs, display and sound.
#pragma once

#include <memory>

#include "platform/options.h"
#include "platform/platform.h"
#include "platform/sdl/window_modes.h"

namespace vane::platform {

class SdlBackend : public Backend {
 public:
  // The window mode and size the player ended with.
  virtual WindowState windowState() const = 0;
};

// Creates the back end the real program runs on; nullptr (with the reason on stderr) when the
// machine has no display to open. Muted, it opens no audio device at all, yet its sound
// buffers start, play for their length and end just as they do with sound.
std::unique_ptr<SdlBackend> makeSdlBackend(const DisplayOptions& options = DisplayOptions{},
                                           const SoundOptions& sound = SoundOptions{});

}  // namespace vane::platform
