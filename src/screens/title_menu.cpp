// SPDX-License-Identifier: GPL-3.0-or-later
// The two title screens, the menu with its cursor and choices, and the start of a stage.
#include <array>

#include "audio/sound.h"
#include "core/devices.h"
#include "core/state.h"
#include "flow/flow.h"
#include "gfx/frames.h"
#include "gfx/sprite.h"
#include "screens/frame_choice.h"
#include "screens/screen_parts.h"
#include "screens/screens.h"
#include "world/actor.h"

namespace vane {

namespace {

using platform::LockedSurface;

constexpr uint32_t kCurtainsOpenAfter = 31;
constexpr int32_t kLatched = 100;

enum MenuRow : int32_t { StageRow = 1, ShipRow = 2, StartRow = 3, QuitRow = 4 };

// The fixed pictures of the menu: sheet, frame and position.
struct Picture {
  frames::FrameRef frame;
  int32_t x;
  int32_t y;
};
constexpr std::array<Picture, 5> kMenuPictures{{
    {frames::Etc::MenuStage1, 300, 30},
    {frames::Etc::MenuStage2, 420, 30},
    {frames::Player::Ship1Level, 320, 240},
    {frames::Player::Ship2Level, 440, 240},
    {frames::Etc::MenuButtons, 320, 300},  // beside the start row
}};

constexpr std::array<int32_t, 4> kCursorY{80, 210, 300, 400};
constexpr int32_t kCursorX = 200;
constexpr int32_t kCursorFrame = frames::number(frames::Etc::MenuCursor);

struct Marker {
  int32_t frame;
  std::array<int32_t, 2> x;  // for choice 1 and 2
  int32_t y;
};
constexpr Marker kStageMarker{frames::number(frames::Etc::StageMarker), {290, 410}, 25};
constexpr Marker kShipMarker{frames::number(frames::Etc::ShipMarker), {303, 423}, 220};

// Left and Right step the choice on the stage and ship rows.
struct SideKey {
  int key;
  int padKey;
  int32_t step;
};
constexpr std::array<SideKey, 2> kSideKeys{{
    {platform::kVkLeft, platform::kVkNumpad4, -1},
    {platform::kVkRight, platform::kVkNumpad6, 1},
}};

bool eitherHeld(int key, int padKey) {
  return keyHeld(key) || keyHeld(padKey);
}

int32_t clampTo(int32_t value, int32_t low, int32_t high) {
  return value < low ? low : (value > high ? high : value);
}

// Locks the back buffer; on failure `failure` holds the code the screen returns.
bool lockForScreen(LockedSurface& surface, int& failure) {
  bool describeFailed = false;
  if (lockBackBuffer(surface, &describeFailed) != 0) return true;
  failure = describeFailed ? kDescribeFailed : kLockFailed;
  return false;
}

// Up and Down move the cursor once per press; Left and Right act while held.
void readMenuKeys() {
  const bool up = eitherHeld(platform::kVkUp, platform::kVkNumpad8);
  const bool down = eitherHeld(platform::kVkDown, platform::kVkNumpad2);
  if (!up) World.upLatch() = 0;
  if (!down) World.downLatch() = 0;
  if (World.upLatch() < kLatched && up) {
    World.menuCursor() = World.menuCursor() - 1 < StageRow ? StageRow : World.menuCursor() - 1;
    World.upLatch() = kLatched;
  }
  if (World.downLatch() < kLatched && down) {
    World.menuCursor() = World.menuCursor() + 1 > QuitRow ? QuitRow : World.menuCursor() + 1;
    World.downLatch() = kLatched;
  }
  for (const SideKey& side : kSideKeys) {
    if (!eitherHeld(side.key, side.padKey)) continue;
    if (World.menuCursor() == StageRow) World.stageChoice() += side.step;
    if (World.menuCursor() == ShipRow) World.shipChoice() += side.step;
  }
  World.stageChoice() = clampTo(World.stageChoice(), 1, 2);
  World.shipChoice() = clampTo(World.shipChoice(), 1, 2);
}

void drawMarker(const LockedSurface& surface, const Marker& marker, int32_t choice) {
  drawFrame(surface, etcSheet, marker.frame, marker.x[static_cast<size_t>(choice - 1)], marker.y);
}

void drawMenu(const LockedSurface& surface) {
  const int32_t row = World.menuCursor();
  if (row >= StageRow && row <= QuitRow) {
    drawFrame(surface, etcSheet, kCursorFrame, kCursorX, kCursorY[static_cast<size_t>(row - 1)]);
  }
  drawMarker(surface, kStageMarker, World.stageChoice());
  drawMarker(surface, kShipMarker, World.shipChoice());
}

// RETURN on the start or quit row; returns whether the menu was left.
bool chooseRow() {
  switch (World.menuCursor()) {
    case StartRow:
      startStage(World.stageChoice(), World.shipChoice());
      return true;
    case QuitRow:
      quitGame();
      return true;
    default:
      return false;
  }
}

}  // namespace

int drawTitleScreen(int pictureFrame) {
  fillBackBuffer(0);
  LockedSurface surface;
  int failure = 0;
  if (!lockForScreen(surface, failure)) return failure;
  drawFrame(surface, etcSheet, pictureFrame, 10, 0);
  drawOpeningCurtains(surface, frameCount);
  ++frameCount;
  if (unlockBackBuffer() == 0) return kUnlockFailed;
  flipToScreen();
  return 1;
}

int runMenuFrame() {
  fillBackBuffer(0);
  LockedSurface surface;
  int failure = 0;
  if (!lockForScreen(surface, failure)) return failure;
  for (const Picture& picture : kMenuPictures) {
    drawFrame(surface, sheetOf(picture.frame.sheet), picture.frame.number, picture.x, picture.y);
  }
  readMenuKeys();
  drawMenu(surface);
  drawOpeningCurtains(surface, frameCount);

  // The frame that leaves the menu is not shown: the screen keeps the previous menu frame.
  if (frameCount > kCurtainsOpenAfter && keyHeld(platform::kVkReturn) && chooseRow()) {
    return unlockBackBuffer() == 0 ? kUnlockFailed : 1;
  }
  ++frameCount;
  if (unlockBackBuffer() == 0) return kUnlockFailed;
  flipToScreen();
  return 1;
}

}  // namespace vane
