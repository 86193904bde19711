// SPDX-License-Identifier: GPL-3.0-or-later
// The display and sound devices: set-up, pixel layout, and the per-frame display operations.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace vane {

using host::LockedSurface;

// 1 when the display's pixels are 5-6-5, 0 when 5-5-5.
extern int use565;

// 1 when both devices are ready; 0 otherwise, with the display still open when only sound failed.
int initDevices();
bool displayOpen();
int detectPixelFormat();
int fillBackBuffer(uint16_t colour);
// 1 on success; 0 when the description fails (*describeFailed set) or the lock fails.
int lockBackBuffer(LockedSurface& out, bool* describeFailed = nullptr);
int unlockBackBuffer();
host::TextContext* getBackBufferDC();
void releaseBackBufferDC(host::TextContext* dc);
void flipToScreen();
// Equal values mean the back buffer has not been written in between (see Backend).
uint64_t backBufferStamp();
void releaseDevices();

// Sets the keyboard state of the thread to all zero; the asynchronous key state is not touched.
void clearKeyboardState();
// Is the key down now (the asynchronous query)?
using host::keyHeld;

void resetDevices();

}  // namespace vane
