// SPDX-License-Identifier: GPL-3.0-or-later
// The HUD (score, lives, energy) and the text of a stage: game over, stage clear and the key help.
#include <array>
#include <string_view>

#include "audio/sound.h"
#include "core/devices.h"
#include "core/state.h"
#include "flow/flow.h"
#include "gfx/frames.h"
#include "gfx/sprite.h"
#include "screens/screen_parts.h"
#include "screens/screens.h"
#include "world/actor.h"

namespace vane {

namespace {

using host::TextContext;

constexpr int32_t kScoreLabelFrame = frames::number(frames::Etc::ScoreLabel);
constexpr int32_t kFirstDigitFrame = frames::number(frames::Etc::Digit0);
constexpr std::array<int32_t, 7> kDigitWeights{1, 10, 100, 1000, 10000, 100000, 1000000};
constexpr int32_t kOnesX = 135;
constexpr int32_t kDigitStride = 15;
constexpr int32_t kDigitY = 13;
// Ship type t shows the life icon t - 1 places after the first.
constexpr int32_t kLifeFrameAfterType = frames::number(frames::Etc::LifeShip1) - 1;
constexpr int32_t kLivesX = 275;
constexpr int32_t kLivesStride = 15;
constexpr int32_t kEnergyFrame = frames::number(frames::Etc::EnergyUnit);
constexpr int32_t kEnergyUnit = 100;
constexpr int32_t kEnergyX = 320;
constexpr int32_t kEnergyStride = 10;
constexpr int32_t kEnergyY = 465;

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int32_t kTunePlayed = -1;

constexpr int kClearTune = 3;
constexpr int kGameOverTune = 4;

constexpr std::array<OverlayLine, 3> kGameOverLines{{
    {100, 240, "Game Over!!!"},
    {80, 260, "Hit -C- Key to continue.."},
    {60, 280, "Hit RETURN Key to End Stage.."},
}};
constexpr std::array<OverlayLine, 2> kClearLines{{
    {120, 240, "Clear Stage !!!"},
    {100, 260, "Press RETURN to Menu"},
}};
constexpr std::array<OverlayLine, 7> kKeyHelpLines{{
    {350, 100, "Key Setting..."},
    {350, 120, "Move : Arrow Keys"},
    {350, 140, "Shot : Shift Keys"},
    {350, 160, "Special Attack : Z Key"},
    {350, 180, "PAUSE : Space Key"},
    {350, 200, "T Key  ^^;"},
    {350, 240, "Get Energy Ball For Special Attack"},
}};

template <size_t N>
void writeLines(TextContext* dc, const std::array<OverlayLine, N>& lines) {
  if (dc == nullptr) return;
  for (const OverlayLine& line : lines) dc->textOut(line.x, line.y, line.text);
}

void setTextColour(TextContext* dc, uint32_t colour) {
  if (dc != nullptr) dc->setTextColor(colour);
}

// Returns whether the stage was left.
bool runGameOver(TextContext* dc) {
  if (World.endMusicLatch() != kTunePlayed) {
    releaseMusic();
    startMusicOnce(kGameOverTune);
    World.endMusicLatch() = kTunePlayed;
  }
  writeLines(dc, kGameOverLines);
  if (keyHeld(host::kVkReturn)) {
    leaveStage();
    return true;
  }
  if (keyHeld(host::kVkC)) continueGame();
  return false;
}

void runStageClear(TextContext* dc) {
  if (World.endMusicLatch() != kTunePlayed) {
    releaseMusic();
    startMusicLooped(kClearTune);
    World.endMusicLatch() = kTunePlayed;
  }
  if (frameCount % 2 == 0) writeLines(dc, kClearLines);
  if (keyHeld(host::kVkReturn)) leaveStage();
}

}  // namespace

std::span<const OverlayLine> gameOverLines() {
  return kGameOverLines;
}

std::span<const OverlayLine> stageClearLines() {
  return kClearLines;
}

void drawHud(const host::LockedSurface& surface) {
  drawFrame(surface, etcSheet, kScoreLabelFrame, 30, 1);
  const Actor* ship = firstPlayer();
  if (ship == nullptr) return;
  for (size_t j = 0; j < kDigitWeights.size(); ++j) {
    const int32_t digit = ship->scoreValue / kDigitWeights[j] % 10;
    drawFrame(surface, etcSheet, digit + kFirstDigitFrame,
              kOnesX - kDigitStride * static_cast<int32_t>(j), kDigitY);
  }
  for (int32_t i = 0; i < ship->lives(); ++i) {
    drawFrame(surface, etcSheet, ship->type + kLifeFrameAfterType, kLivesX - kLivesStride * i,
              kDigitY);
  }
  for (int32_t i = 0; i < ship->energy() / kEnergyUnit; ++i) {
    drawFrame(surface, etcSheet, kEnergyFrame, kEnergyX - kEnergyStride * i, kEnergyY);
  }
}

void runStageOverlays(host::TextContext* dc, bool clearFlag) {
  setTextColour(dc, kBlack);
  if (dc != nullptr) dc->setTransparentBackground();
  bool left = false;
  const Actor* ship = firstPlayer();
  if (ship != nullptr && ship->lives() < 0) left = runGameOver(dc);
  // Once the stage is left the ship is gone and the music released: the clear screen is skipped.
  if (!left && clearFlag) runStageClear(dc);
  setTextColour(dc, kWhite);
  writeLines(dc, kKeyHelpLines);
}

}  // namespace vane
