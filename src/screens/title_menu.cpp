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
#include "world/catalogue.h"

namespace vane {

namespace {

using host::LockedSurface;

constexpr int32_t kLatched = 100;

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
    {host::kVkLeft, host::kVkNumpad4, -1},
    {host::kVkRight, host::kVkNumpad6, 1},
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

// What the menu's keys act on.
struct MenuChoices {
  int32_t upLatch;
  int32_t downLatch;
  int32_t cursor;
  int32_t stage;
  int32_t ship;
};

MenuChoices menuChoicesNow() {
  return MenuChoices{World.upLatch(), World.downLatch(), World.menuCursor(), World.stageChoice(),
                     World.shipChoice()};
}

void setMenuChoices(const MenuChoices& m) {
  World.upLatch() = m.upLatch;
  World.downLatch() = m.downLatch;
  World.menuCursor() = m.cursor;
  World.stageChoice() = m.stage;
  World.shipChoice() = m.ship;
}

// Up and Down move the cursor once per press; Left and Right act while held.
MenuChoices afterMenuKeys(MenuChoices m) {
  const bool up = eitherHeld(host::kVkUp, host::kVkNumpad8);
  const bool down = eitherHeld(host::kVkDown, host::kVkNumpad2);
  if (!up) m.upLatch = 0;
  if (!down) m.downLatch = 0;
  if (m.upLatch < kLatched && up) {
    m.cursor = m.cursor - 1 < StageRow ? StageRow : m.cursor - 1;
    m.upLatch = kLatched;
  }
  if (m.downLatch < kLatched && down) {
    m.cursor = m.cursor + 1 > QuitRow ? QuitRow : m.cursor + 1;
    m.downLatch = kLatched;
  }
  for (const SideKey& side : kSideKeys) {
    if (!eitherHeld(side.key, side.padKey)) continue;
    if (m.cursor == StageRow) m.stage += side.step;
    if (m.cursor == ShipRow) m.ship += side.step;
  }
  m.stage = clampTo(m.stage, 1, 2);
  m.ship = clampTo(m.ship, 1, 2);
  return m;
}

// All the menu's picture depends on: the row the cursor is drawn at (if any), both choices (held
// to 1 or 2 by the keys) and the curtains.
uint64_t menuLook(const MenuChoices& m, uint32_t clock) {
  const int32_t row = m.cursor >= StageRow && m.cursor <= QuitRow ? m.cursor : 0;
  return static_cast<uint64_t>(row) << 24 | static_cast<uint64_t>(m.stage) << 16 |
         static_cast<uint64_t>(m.ship) << 8 | static_cast<uint64_t>(curtainOpening(clock));
}

uint64_t titleLook(int pictureFrame, uint32_t clock) {
  return static_cast<uint64_t>(static_cast<uint32_t>(pictureFrame)) << 32 |
         static_cast<uint32_t>(curtainOpening(clock));
}

StillPicture titlePicture;
StillPicture menuPicture;

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

// RETURN once the curtains are open, on the start or quit row.
bool leavesMenu() {
  return frameCount > kCurtainSteps && keyHeld(host::kVkReturn) && chooseRow();
}

// A menu frame whose picture is in the back buffer already: the keys act, nothing is drawn.
int runStillMenuFrame(const MenuChoices& next) {
  setMenuChoices(next);
  if (leavesMenu()) return 1;
  ++frameCount;
  flipToScreen();
  return 1;
}

}  // namespace

int drawTitleScreen(int pictureFrame) {
  const uint64_t look = titleLook(pictureFrame, frameCount);
  if (titlePicture.holds(look)) {
    ++frameCount;
    flipToScreen();
    return 1;
  }
  fillBackBuffer(0);
  LockedSurface surface;
  int failure = 0;
  if (!lockForScreen(surface, failure)) return failure;
  drawFrame(surface, etcSheet, pictureFrame, 10, 0);
  drawOpeningCurtains(surface, frameCount);
  ++frameCount;
  if (unlockBackBuffer() == 0) return kUnlockFailed;
  titlePicture.drew(look);
  flipToScreen();
  return 1;
}

int runMenuFrame() {
  // The keys read no pixels, so what they do is known before anything is drawn.
  const MenuChoices next = afterMenuKeys(menuChoicesNow());
  const uint64_t look = menuLook(next, frameCount);
  if (menuPicture.holds(look)) return runStillMenuFrame(next);
  fillBackBuffer(0);
  LockedSurface surface;
  int failure = 0;
  if (!lockForScreen(surface, failure)) return failure;
  for (const Picture& picture : kMenuPictures) {
    drawFrame(surface, sheetOf(picture.frame.sheet), picture.frame.number, picture.x, picture.y);
  }
  setMenuChoices(next);
  drawMenu(surface);
  drawOpeningCurtains(surface, frameCount);

  // The frame that leaves the menu is not shown: the screen keeps the previous menu frame.
  if (leavesMenu()) return unlockBackBuffer() == 0 ? kUnlockFailed : 1;
  ++frameCount;
  if (unlockBackBuffer() == 0) return kUnlockFailed;
  menuPicture.drew(look);
  flipToScreen();
  return 1;
}

}  // namespace vane
