// SPDX-License-Identifier: GPL-3.0-or-later
// The screens: title screens, menu, the stage frame with its HUD and overlays.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace vane {

int drawTitleScreen(int pictureFrame);
int runMenuFrame();
int drawStageFrame();
void drawHud(const platform::LockedSurface& surface);
void runStageOverlays(platform::TextContext* dc, bool clearFlag);

}  // namespace vane
