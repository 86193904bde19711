// SPDX-License-Identifier: GPL-3.0-or-later
// The machine as the game sees it, and the knobs a test or a back end uses on it from outside.
#pragma once

#include <cstdint>

#include "host/display.h"
#include "host/keyboard.h"
#include "host/messages.h"
#include "host/pad_bindings.h"
#include "host/picture_layers.h"
#include "host/sound.h"
#include "host/system.h"

namespace vane::host {

// Steps the host may refuse, as a system that takes surfaces and buffers away would; the game
// has a failure path for each. A desktop never refuses them: only tests do.
struct Faults {
  bool registerClass = false;
  bool soundDevice = false;
  bool pixelFormat = false;
  bool describe = false;
  bool lock = false;
  bool unlock = false;
  bool createBuffer = false;
  bool lockBuffer = false;
  bool unlockBuffer = false;
};
Faults& faults();

// The picture on the screen, as last presented.
const uint16_t* shownPicture();
// The game's picture as the back buffer holds it, never with the host's layers: between frames,
// the picture of the last frame. Its pixels are 5-6-5 when backBufferIs565().
const uint16_t* backBufferPixels();
bool backBufferIs565();
// The pause badge, drawn by the host over the shown picture while the game is paused.
void setPauseBadge(bool enabled);
void showPaused(bool paused);

// Draws over the shown picture (640x480, 16-bit in the display's layout) each time one is
// presented, as the pause badge is: what the host shows beside the game, never in its back buffer.
using PictureOverlay = void (*)(void* user, uint16_t* picture, bool is565);
void setPictureOverlay(PictureOverlay overlay, void* user);
// Off: flips leave the screen as it is and take no time (frames run faster than the display).
void setPresenting(bool presenting);
// Presents the back buffer again with the overlay as it is now.
void presentAgain();

// Puts the whole machine back as before the window was made: for tests and vane-sim runs.
void resetHost();

}  // namespace vane::host
