// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing helpers the title screens, the menu and the stage frame share.
#include "screens/screen_parts.h"

#include "core/devices.h"
#include "gfx/frames.h"

namespace vane {

namespace {
constexpr int32_t kCurtainStride = 10;
constexpr int32_t kCurtainRightClosed = 320;
}  // namespace

void drawFrame(const host::LockedSurface& surface, const SpriteSheet& sheet, int32_t n, int32_t x,
               int32_t y) {
  if (n < 1) return;
  const SpriteFrame* frame = frameAt(sheet, n);
  if (frame != nullptr) drawSprite(surface, x, y, frame);
}

void drawFrameBlended(const host::LockedSurface& surface, const SpriteSheet& sheet, int32_t n,
                      int32_t x, int32_t y, int level) {
  if (n < 1) return;
  const SpriteFrame* frame = frameAt(sheet, n);
  if (frame != nullptr) drawSpriteBlended(surface, x, y, frame, level, use565);
}

void drawOpeningCurtains(const host::LockedSurface& surface, uint32_t clock) {
  const int32_t opened = curtainOpening(clock);
  drawFrame(surface, backSheet, frames::number(frames::Back::PanelLeft), -kCurtainStride * opened,
            0);
  drawFrame(surface, backSheet, frames::number(frames::Back::PanelRight),
            kCurtainRightClosed + kCurtainStride * opened, 0);
}

int32_t curtainOpening(uint32_t clock) {
  return static_cast<int32_t>(clock <= kCurtainSteps ? clock : kCurtainSteps);
}

bool StillPicture::holds(uint64_t look) const {
  return stamp_ != 0 && look == look_ && backBufferStamp() == stamp_;
}

void StillPicture::drew(uint64_t look) {
  look_ = look;
  stamp_ = backBufferStamp();
}

}  // namespace vane
