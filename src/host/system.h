// SPDX-License-Identifier: GPL-3.0-or-later
// The system's clock and dialog box as the game uses them.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"

namespace vane::host {

using platform::Icon;

// Milliseconds since the machine started, wrapping at 2^32 (GetTickCount).
uint32_t tickCount();
uint64_t monotonicNanos();
void sleepNanos(uint64_t nanos);
void messageBox(std::string_view text, std::string_view title, Icon icon);

}  // namespace vane::host
