// The SDL back end: the desktop window, keyboard, clocks, dialogs, display and sound.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace vane::platform {

// Creates the back end the real program runs on; nullptr (with the reason on stderr) when the
// machine has no display to open.
std::unique_ptr<Backend> makeSdlBackend();

}  // namespace vane::platform
