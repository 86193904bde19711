// SPDX-License-Identifier: GPL-3.0-or-later
// The transitions between the title screens, the menu, the stages and the end of the game.
#include "flow/flow.h"

#include <array>

#include "audio/sound.h"
#include "core/state.h"
#include "world/actor.h"
#include "world/catalogue.h"
#include "world/ship.h"

namespace vane {

namespace {

// What each stage starts with.
struct StageStart {
  int32_t state;
  int music;
  int32_t scroll;
};
constexpr std::array<StageStart, 2> kStageStarts{{
    {Stage1, 1, 900},
    {Stage2, 2, 480},
}};

// A continue plays the first stage's music, whichever stage it is in.
constexpr int kContinueMusic = 1;

void resetMenuSettings() {
  World.menuCursor() = StageRow;
  World.stageChoice() = 1;
  World.shipChoice() = 1;
  World.upLatch() = 0;
  World.downLatch() = 0;
  World.endMusicLatch() = 0;
}

}  // namespace

void showFirstTitle() {
  gameState = TitleA;
}

void showSecondTitle() {
  frameCount = 0;
  gameState = TitleB;
}

void enterMenu() {
  frameCount = 0;
  resetMenuSettings();
  gameState = Menu;
}

void startStage(int32_t stage, int32_t ship) {
  spawnShip(World, ship);
  frameCount = 0;
  const StageStart& start = kStageStarts[stage == 1 ? 0 : 1];
  startMusicLooped(start.music);
  gameState = start.state;
  scrollPos = start.scroll;
}

void startStageFromMenu(int32_t stage, int32_t ship) {
  enterMenu();
  World.menuCursor() = StartRow;
  World.stageChoice() = stage;
  World.shipChoice() = ship;
  startStage(stage, ship);
}

void leaveStage() {
  // -1, read as unsigned by the clock's readers.
  frameCount = UINT32_MAX;
  resetMenuSettings();
  gameState = Menu;
  World.clearAllLists();
  releaseMusic();
}

void continueGame() {
  Actor* ship = firstPlayer();
  if (ship == nullptr) return;
  respawnShip(*ship);
  ship->lives() = kShipStartLives;
  ship->mode = ShipArriving;
  ship->anim = 0;
  ship->scoreValue += 1;
  World.endMusicLatch() = 0;
  releaseMusic();
  startMusicLooped(kContinueMusic);
}

void quitGame() {
  gameState = Quit;
  frameCount = 0;
}

}  // namespace vane
