// SPDX-License-Identifier: GPL-3.0-or-later
// The screens: title screens, menu, the stage frame with its HUD and overlays.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "host/host.h"

namespace vane {

int drawTitleScreen(int pictureFrame);
int runMenuFrame();
int drawStageFrame();
void drawHud(const host::LockedSurface& surface);
void runStageOverlays(host::TextContext* dc, bool clearFlag);

// A line the stage writes over the play field, its top left at (x, y).
struct OverlayLine {
  int x;
  int y;
  std::string_view text;
};
// The lines written in black over the stage at a game over and once it is clear.
std::span<const OverlayLine> gameOverLines();
std::span<const OverlayLine> stageClearLines();

}  // namespace vane
