// SPDX-License-Identifier: GPL-3.0-or-later
// The page's canvas: the changed blocks of each picture, as 8-bit RGBA, put on a 2D canvas.
#include <emscripten.h>

#include "platform/web/web_backend.h"

namespace vane::platform {

namespace {

EM_JS(void, putBlocks, (const uint32_t* rgba, const int* rects, int count),
      { Module.page.putBlocks(HEAPU8.buffer, rgba, rects, count); });

// 5-6-5 to 8-bit channels, each channel's top bits repeated into its low bits, as RGBA in memory.
uint32_t rgbaOf(uint16_t p) {
  const uint32_t r = (p >> 11) & 0x1F;
  const uint32_t g = (p >> 5) & 0x3F;
  const uint32_t b = p & 0x1F;
  return 0xFF000000u | ((b << 3 | b >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (r << 3 | r >> 2);
}

}  // namespace

bool WebBackend::openDisplay(bool& is565) {
  is565 = true;
  return true;
}

bool WebBackend::present(const uint16_t* pixels, std::span<const Block> changed) {
  blockRects_.clear();
  for (const Block& block : changed) {
    for (int row = block.rows.first; row < block.rows.end; ++row) {
      const size_t at = static_cast<size_t>(row) * kWidth;
      for (int x = block.columns.first; x < block.columns.end; ++x) {
        const uint16_t p = pixels[at + static_cast<size_t>(x)];
        front_[at + static_cast<size_t>(x)] = p;
        rgba_[at + static_cast<size_t>(x)] = rgbaOf(p);
      }
    }
    blockRects_.insert(blockRects_.end(), {block.columns.first, block.rows.first,
                                           block.columns.end - block.columns.first,
                                           block.rows.end - block.rows.first});
  }
  if (!changed.empty())
    putBlocks(rgba_.data(), blockRects_.data(), static_cast<int>(changed.size()));
  return true;
}

}  // namespace vane::platform
