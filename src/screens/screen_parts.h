// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing helpers the title screens, the menu and the stage frame share.
#pragma once

#include <cstdint>

#include "gfx/sprite.h"
#include "host/host.h"

namespace vane {

// Frame n of the sheet with its hot spot at (x, y); nothing when the sheet has no such frame.
void drawFrame(const host::LockedSurface& surface, const SpriteSheet& sheet, int32_t n, int32_t x,
               int32_t y);
// The same mixed over what is underneath, `level` 32nds of it kept.
void drawFrameBlended(const host::LockedSurface& surface, const SpriteSheet& sheet, int32_t n,
                      int32_t x, int32_t y, int level);

// From this clock value on the curtains of the title screens and the menu stand open.
constexpr uint32_t kCurtainSteps = 31;
// The two curtains of the title screens and the menu: closed at clock 0, a step wider each frame.
void drawOpeningCurtains(const host::LockedSurface& surface, uint32_t clock);
// How far the curtains stand open at `clock`: all that their picture depends on.
int32_t curtainOpening(uint32_t clock);

// A screen that shows the same picture frame after frame: when what it would draw is what it
// drew last, and nothing has written to the back buffer since, the picture is still there and
// need not be cleared and drawn again. `look` is whatever the picture depends on.
class StillPicture {
 public:
  bool holds(uint64_t look) const;
  // After the picture for `look` was drawn and unlocked.
  void drew(uint64_t look);

 private:
  uint64_t look_ = 0;
  uint64_t stamp_ = 0;  // the back buffer's stamp then; 0 for none
};

// Where a screen procedure stopped: the codes it returns.
enum ScreenResult : int {
  kDescribeFailed = 1,
  kLockFailed = 2,
  kUnlockFailed = 3,
};

}  // namespace vane
