// The SDL back end: the desktop window, keyboard, clocks, dialogs, display and sound.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace vane::platform {

// Creates the back end the real program runs on.
std::unique_ptr<Backend> makeSdlBackend();

}  // namespace vane::platform
