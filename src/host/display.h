// SPDX-License-Identifier: GPL-3.0-or-later
// The display as the game drives it: one 640x480 16-bit back buffer with fill, lock and flip.
#pragma once

#include <cstdint>

#include "host/text.h"

namespace vane::host {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// The locked back buffer: valid until the next unlock. Pitch is in bytes.
struct LockedSurface {
  uint16_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
};

bool createDisplay();
// Green channel mask of the pixel layout; false when it cannot be read.
bool readGreenMask(uint32_t& greenMask);
bool fill(uint16_t colour);
bool describeBackBuffer();
bool lock(LockedSurface& out);
bool unlock();
// Text drawn straight into the back buffer; valid until the display is released.
TextContext* getTextContext();
// Shows the back buffer. The back buffer keeps its picture, and a frame that is not flipped
// leaves the screen as it was.
bool flip();
void releaseDisplay();
// Changes whenever the back buffer may be written: a fill, a lock, the text context handed out,
// a new display. Stamps are unique in the process; equal stamps mean the back buffer holds the
// same picture.
uint64_t backBufferStamp();

}  // namespace vane::host
