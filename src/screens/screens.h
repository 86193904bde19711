// The screens: title screens, menu, the stage frame with its HUD and overlays.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace vane {

// Background scroll position of the stage, in pixels.
extern int32_t scrollPos;

int drawTitleScreen(int pictureFrame);
int runMenuFrame();
int drawStageFrame();
void drawHud(const platform::LockedSurface& surface);
void runStageOverlays(platform::TextContext* dc, bool clearFlag);

// The menu's start step: spawn the ship, start the music, enter the stage.
void startStage(int stage, int ship);

void resetScreens();

}  // namespace vane
