// SPDX-License-Identifier: GPL-3.0-or-later
// The game's global counters.
#include "core/state.h"

namespace vane {

int32_t gameState = Boot;
uint32_t frameCount = 0;
int32_t pauseCount = 0;
int32_t appActive = 0;
uint32_t frameStartTick = 0;
int32_t scrollPos = 0;

void resetCounters() {
  gameState = Boot;
  frameCount = 0;
  pauseCount = 0;
  appActive = 0;
  frameStartTick = 0;
  scrollPos = 0;
}

}  // namespace vane
