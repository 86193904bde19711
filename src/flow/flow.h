// SPDX-License-Identifier: GPL-3.0-or-later
// The game's flow: the only code that changes gameState, one function per transition.
#pragma once

#include <cstdint>

namespace vane {

// Boot: the first title screen.
void showFirstTitle();
// A key on the first title screen: the second one, its curtains closed again.
void showSecondTitle();
// A key on the second title screen: the menu with its settings as a fresh menu has them.
void enterMenu();
// The menu's start row: the ship of the chosen kind appears, the stage's music and scroll start.
void startStage(int32_t stage, int32_t ship);
// The menu as if the player had chosen this stage and ship, then its start row.
void startStageFromMenu(int32_t stage, int32_t ship);
// RETURN after game over or stage clear: back to a fresh menu, the world emptied, the music off.
void leaveStage();
// C after game over: the ship starts again where it first appeared; each continue adds 1 to the
// score, so its last digit counts them.
void continueGame();
// The menu's quit row.
void quitGame();

}  // namespace vane
