// The HUD (score, lives, energy) and the text of a stage: game over, stage clear and the key help.
#include <array>
#include <string_view>

#include "audio/sound.h"
#include "gfx/sprite.h"
#include "screens/screen_parts.h"
#include "screens/screens.h"
#include "shell/devices.h"
#include "shell/state.h"
#include "world/actor.h"

namespace vane {

namespace {

using platform::TextContext;

constexpr int32_t kScoreLabelFrame = 11;
constexpr int32_t kFirstDigitFrame = 1;  // digit d is frame d + 1
constexpr std::array<int32_t, 7> kDigitWeights{1, 10, 100, 1000, 10000, 100000, 1000000};
constexpr int32_t kOnesX = 135;
constexpr int32_t kDigitStride = 15;
constexpr int32_t kDigitY = 13;
constexpr int32_t kLifeFrameAfterType = 17;  // ship type t shows frame t + 17
constexpr int32_t kLivesX = 275;
constexpr int32_t kLivesStride = 15;
constexpr int32_t kEnergyFrame = 17;
constexpr int32_t kEnergyUnit = 100;
constexpr int32_t kEnergyX = 320;
constexpr int32_t kEnergyStride = 10;
constexpr int32_t kEnergyY = 465;

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int32_t kTunePlayed = -1;

constexpr int kStageMusic = 1;
constexpr int kClearTune = 3;
constexpr int kGameOverTune = 4;

struct TextLine {
  int x;
  int y;
  std::string_view text;
};

constexpr std::array<TextLine, 3> kGameOverLines{{
    {100, 240, "Game Over!!!"},
    {80, 260, "Hit -C- Key to continue.."},
    {60, 280, "Hit RETURN Key to End Stage.."},
}};
constexpr std::array<TextLine, 2> kClearLines{{
    {120, 240, "Clear Stage !!!"},
    {100, 260, "Press RETURN to Menu"},
}};
constexpr std::array<TextLine, 7> kKeyHelpLines{{
    {350, 100, "Key Setting..."},
    {350, 120, "Move : Arrow Keys"},
    {350, 140, "Shot : Shift Keys"},
    {350, 160, "Special Attack : Z Key"},
    {350, 180, "PAUSE : Space Key"},
    {350, 200, "T Key  ^^;"},
    {350, 240, "Get Energy Ball For Special Attack"},
}};

template <size_t N>
void writeLines(TextContext* dc, const std::array<TextLine, N>& lines) {
  if (dc == nullptr) return;
  for (const TextLine& line : lines) dc->textOut(line.x, line.y, line.text);
}

void setTextColour(TextContext* dc, uint32_t colour) {
  if (dc != nullptr) dc->setTextColor(colour);
}

// Back to the menu: its settings as a fresh menu has them, the world emptied, the music stopped.
void leaveStage() {
  frameCount = UINT32_MAX;
  World.menuCursor() = 1;
  World.stageChoice() = 1;
  World.shipChoice() = 1;
  World.upLatch() = 0;
  World.downLatch() = 0;
  gameState = Menu;
  World.clearAllLists();
  World.endMusicLatch() = 0;
  releaseMusic();
}

// A continue gives the ship a fresh start where it first appeared; it costs a point of score.
void continueGame(Actor& ship) {
  ship.speed = 2;
  ship.mode = 64;
  ship.x = 17000;
  ship.y = 40000;
  ship.anim = 0;
  ship.fireTimer = 9;
  ship.hp = 1;
  ship.angle = 300;
  ship.scoreValue += 1;
  World.endMusicLatch() = 0;
  releaseMusic();
  startMusicLooped(kStageMusic);
}

// Returns whether the stage was left.
bool runGameOver(TextContext* dc, Actor& ship) {
  if (World.endMusicLatch() != kTunePlayed) {
    releaseMusic();
    startMusicOnce(kGameOverTune);
    World.endMusicLatch() = kTunePlayed;
  }
  writeLines(dc, kGameOverLines);
  if (keyHeld(platform::kVkReturn)) {
    leaveStage();
    return true;
  }
  if (keyHeld(platform::kVkC)) continueGame(ship);
  return false;
}

void runStageClear(TextContext* dc) {
  if (World.endMusicLatch() != kTunePlayed) {
    releaseMusic();
    startMusicLooped(kClearTune);
    World.endMusicLatch() = kTunePlayed;
  }
  if (frameCount % 2 == 0) writeLines(dc, kClearLines);
  if (keyHeld(platform::kVkReturn)) leaveStage();
}

}  // namespace

void drawHud(const platform::LockedSurface& surface) {
  drawFrame(surface, etcSheet, kScoreLabelFrame, 30, 1);
  const Actor* ship = firstPlayer();
  if (ship == nullptr) return;
  for (size_t j = 0; j < kDigitWeights.size(); ++j) {
    const int32_t digit = ship->scoreValue / kDigitWeights[j] % 10;
    drawFrame(surface, etcSheet, digit + kFirstDigitFrame,
              kOnesX - kDigitStride * static_cast<int32_t>(j), kDigitY);
  }
  for (int32_t i = 0; i < ship->speed; ++i) {
    drawFrame(surface, etcSheet, ship->type + kLifeFrameAfterType, kLivesX - kLivesStride * i,
              kDigitY);
  }
  for (int32_t i = 0; i < ship->angle / kEnergyUnit; ++i) {
    drawFrame(surface, etcSheet, kEnergyFrame, kEnergyX - kEnergyStride * i, kEnergyY);
  }
}

void runStageOverlays(platform::TextContext* dc, bool clearFlag) {
  setTextColour(dc, kBlack);
  if (dc != nullptr) dc->setTransparentBackground();
  bool left = false;
  Actor* ship = firstPlayer();
  if (ship != nullptr && ship->speed < 0) left = runGameOver(dc, *ship);
  // Once the stage is left the ship is gone and the music released: the clear screen is skipped.
  if (!left && clearFlag) runStageClear(dc);
  setTextColour(dc, kWhite);
  writeLines(dc, kKeyHelpLines);
}

}  // namespace vane
