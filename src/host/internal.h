// SPDX-License-Identifier: GPL-3.0-or-later
// What the host's parts tell each other as events arrive; not for the game.
#pragma once

#include "host/picture_layers.h"
#include "platform/platform.h"

namespace vane::host::internal {

// Takes in a key event: the held keys, the thread state, and the key-down message it makes.
void takeKey(const platform::Event& event);
// Lets go of every key, as when the window loses the keyboard.
void releaseAllKeys();
// Inactive, the sound is silent and stands still where it is, until the window is active again.
void setSoundActive(bool active);
// The whole picture again, borders and all: the window was uncovered or resized.
void redrawScreen();

// The layers over the picture: whether any shows, drawing them, and the time of each flip.
bool layersShown();
void drawLayers(Canvas& canvas);
void recordFlip();
// Presents the back buffer with the badge and the layers over it, flip or no flip.
void presentComposed();
void resetLayers();

void resetMessages();
void resetKeyboard();
void resetKeyMap();
void resetDisplay();
void resetSound();

}  // namespace vane::host::internal
