// The shell's global counters.
#include "shell/state.h"

namespace vane {

int32_t gameState = Boot;
uint32_t frameCount = 0;
int32_t pauseCount = 0;
int32_t appActive = 0;
uint32_t frameStartTick = 0;

void resetShellState() {
  gameState = Boot;
  frameCount = 0;
  pauseCount = 0;
  appActive = 0;
  frameStartTick = 0;
}

}  // namespace vane
