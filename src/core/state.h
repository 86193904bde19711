// SPDX-License-Identifier: GPL-3.0-or-later
// The game's global counters: game state, screen clock, pause word, activation, scroll position.
#pragma once

#include <cstdint>

namespace vane {

enum GameState : int32_t {
  Boot = 0,
  TitleA = 1,
  TitleB = 2,
  Menu = 3,
  Stage1 = 4,
  Stage2 = 5,
  Quit = 6,
};

// Changed only by the transitions of the game's flow (flow/flow.h).
extern int32_t gameState;
// The clock of the current screen or stage; read as unsigned, set to all bits when a stage is left.
extern uint32_t frameCount;
// The pause word: units digit 1 while paused, hundreds digit 1 while the toggling Space is held.
extern int32_t pauseCount;
extern int32_t appActive;
extern uint32_t frameStartTick;
// Background scroll position of the stage, in pixels.
extern int32_t scrollPos;

// True when the pause word says the game runs this frame.
inline bool notPaused() {
  return pauseCount % 10 == 0;
}

// Puts the counters back to their values before start-up.
void resetCounters();

}  // namespace vane
