// SPDX-License-Identifier: GPL-3.0-or-later
// Display and sound device set-up and the display operations every screen uses.
#include "core/devices.h"

namespace vane {

int use565 = 0;

namespace {
bool displayCreated = false;
bool soundCreated = false;

// The green mask is six bits wide in 5-6-5 and five in 5-5-5.
int bitsIn(uint32_t mask) {
  int n = 0;
  for (; mask != 0; mask &= mask - 1) ++n;
  return n;
}
}  // namespace

int initDevices() {
  if (!host::createDisplay()) return 0;
  displayCreated = true;
  if (!host::createSoundDevice()) {
    host::messageBox("Fail to create Direct Sound", "ERROR", host::Icon::Error);
    return 0;
  }
  soundCreated = true;
  return 1;
}

bool displayOpen() {
  return displayCreated;
}

int detectPixelFormat() {
  uint32_t greenMask = 0;
  if (!host::readGreenMask(greenMask)) return 0;
  use565 = bitsIn(greenMask) == 6 ? 1 : 0;
  return 1;
}

int fillBackBuffer(uint16_t colour) {
  return host::fill(colour) ? 1 : 0;
}

int lockBackBuffer(LockedSurface& out, bool* describeFailed) {
  if (describeFailed != nullptr) *describeFailed = false;
  if (!host::describeBackBuffer()) {
    if (describeFailed != nullptr) *describeFailed = true;
    return 0;
  }
  return host::lock(out) ? 1 : 0;
}

int unlockBackBuffer() {
  return host::unlock() ? 1 : 0;
}

host::TextContext* getBackBufferDC() {
  return host::getTextContext();
}

// The text context writes straight into the back buffer, so there is nothing to hand back.
void releaseBackBufferDC(host::TextContext*) {}

void flipToScreen() {
  host::flip();
}

uint64_t backBufferStamp() {
  return host::backBufferStamp();
}

void releaseDevices() {
  if (displayCreated) {
    host::releaseDisplay();
    displayCreated = false;
  }
  if (soundCreated) {
    host::releaseSoundDevice();
    soundCreated = false;
  }
}

void clearKeyboardState() {
  uint8_t zero[256] = {};
  host::setKeyboardState(zero);
}

void resetDevices() {
  use565 = 0;
  displayCreated = false;
  soundCreated = false;
}

}  // namespace vane
