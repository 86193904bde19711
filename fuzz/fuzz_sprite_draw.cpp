// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes drawing of frames that never passed the loader's checks: the bytes are the frame itself.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/sprite.h"

namespace {

constexpr size_t kHeaderBytes = 16;

int16_t read16(const uint8_t* at) {
  return static_cast<int16_t>(at[0] | (at[1] << 8));
}

}  // namespace

// Layout: width, height, hotX, hotY, x, y, level, is565 (2 bytes each), then the words.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeaderBytes) return 0;
  static std::vector<uint16_t> screen(640 * 480);
  const vane::host::LockedSurface target{screen.data(), 640, 480, 640 * 2};
  vane::SpriteFrame frame;
  frame.width = read16(data);
  frame.height = read16(data + 2);
  frame.hotX = read16(data + 4);
  frame.hotY = read16(data + 6);
  const int x = read16(data + 8);
  const int y = read16(data + 10);
  const int level = read16(data + 12);
  const int is565 = read16(data + 14);
  // Word by word: the input holds no alignment, and an empty frame has no storage to copy into.
  for (size_t at = kHeaderBytes; at + 1 < size; at += 2) {
    frame.data.push_back(static_cast<uint16_t>(data[at] | (data[at + 1] << 8)));
  }
  frame.dataSize = static_cast<uint32_t>(frame.data.size() * 2);
  vane::drawSprite(target, x, y, &frame);
  vane::drawSpriteBlended(target, x, y, &frame, level, is565);
  return 0;
}
