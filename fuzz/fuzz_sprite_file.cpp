// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the sprite loader from bytes, then draws every frame it accepted at a few positions.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/sprite.h"
#include "host/host.h"
#include "platform/headless/headless.h"

namespace {

struct Position {
  int x, y;
};
// The middle, every edge and corner, and well outside.
constexpr Position kPositions[] = {{320, 240}, {0, 0},      {639, 479}, {-8, 240},      {636, -3},
                                   {320, 477}, {-100, -50}, {700, 600}, {-32768, 32767}};

// Message boxes are recorded without echoing; the record is dropped for every input.
void useQuietBackend() {
  static vane::platform::HeadlessBackend backend;
  backend.echoDialogs = false;
  backend.dialogs.clear();
  vane::platform::setBackend(&backend);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  useQuietBackend();
  static std::vector<uint16_t> screen(640 * 480);
  const vane::host::LockedSurface target{screen.data(), 640, 480, 640 * 2};
  const std::span<const uint8_t> bytes(data, size);
  for (const int use565 : {0, 1}) {
    vane::SpriteSheet sheet;
    if (!vane::loadSpriteSheetFromBytes(sheet, bytes, "fuzz.spr", use565)) continue;
    const int count = vane::frameCountOf(sheet);
    for (int n = 0; n <= count + 1; ++n) {
      const vane::SpriteFrame* frame = vane::frameAt(sheet, n);
      for (const Position& p : kPositions) {
        vane::drawSprite(target, p.x, p.y, frame);
        vane::drawSpriteBlended(target, p.x, p.y, frame, 16, use565);
      }
    }
  }
  return 0;
}
