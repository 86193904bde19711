// SPDX-License-Identifier: GPL-3.0-or-later
// Display and sound device set-up and the display operations every screen uses.
#include "core/devices.h"

namespace vane {

using platform::backend;

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
  if (!backend().createDisplay()) return 0;
  displayCreated = true;
  if (!backend().createSoundDevice()) {
    backend().messageBox("Fail to create Direct Sound", "ERROR", platform::Icon::Error);
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
  if (!backend().readGreenMask(greenMask)) return 0;
  use565 = bitsIn(greenMask) == 6 ? 1 : 0;
  return 1;
}

int fillBackBuffer(uint16_t colour) {
  return backend().fill(colour) ? 1 : 0;
}

int lockBackBuffer(LockedSurface& out, bool* describeFailed) {
  if (describeFailed != nullptr) *describeFailed = false;
  if (!backend().describeBackBuffer()) {
    if (describeFailed != nullptr) *describeFailed = true;
    return 0;
  }
  return backend().lock(out) ? 1 : 0;
}

int unlockBackBuffer() {
  return backend().unlock() ? 1 : 0;
}

platform::TextContext* getBackBufferDC() {
  return backend().getTextContext();
}

// The text context writes straight into the back buffer, so there is nothing to hand back.
void releaseBackBufferDC(platform::TextContext*) {}

void flipToScreen() {
  backend().flip();
}

uint64_t backBufferStamp() {
  return backend().backBufferStamp();
}

void releaseDevices() {
  if (displayCreated) {
    backend().releaseDisplay();
    displayCreated = false;
  }
  if (soundCreated) {
    backend().releaseSoundDevice();
    soundCreated = false;
  }
}

void clearKeyboardState() {
  uint8_t zero[256] = {};
  backend().setKeyboardState(zero);
}

bool keyHeld(int virtualKey) {
  return backend().keyHeld(virtualKey);
}

void resetDevices() {
  use565 = 0;
  displayCreated = false;
  soundCreated = false;
}

}  // namespace vane
