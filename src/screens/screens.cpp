// placeholder
#include "screens/screens.h"
namespace vane {
int32_t scrollPos = 0;
int drawTitleScreen(int) { return 1; }
int runMenuFrame() { return 1; }
int drawStageFrame() { return 0; }
void drawHud(const platform::LockedSurface&) {}
void runStageOverlays(platform::TextContext*, bool) {}
void startStage(int, int) {}
void resetScreens() { scrollPos = 0; }
}
