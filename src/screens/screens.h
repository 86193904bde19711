// SPDX-License-Identifier: GPL-3.0-or-later
// The screens: title screens, menu, the stage frame with its HUD and overlays.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace vane {

int drawTitleScreen(int pictureFrame);
int runMenuFrame();
int drawStageFrame();
void drawHud(const host::LockedSurface& surface);
void runStageOverlays(host::TextContext* dc, bool clearFlag);

}  // namespace vane
