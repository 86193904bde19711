// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing run-length frames into the locked back buffer, opaque or blended, clipped per segment.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "gfx/run_length.h"
#include "gfx/sprite.h"

namespace vane {

namespace {

// Bit positions of R, G and B in a pixel word of each layout; every channel is five bits wide
// (in 5-6-5 the lowest G bit takes no part).
struct Layout {
  int red, green, blue;
};
constexpr Layout kLayout555{10, 5, 0};
constexpr Layout kLayout565{11, 6, 0};

uint16_t* rowOf(const host::LockedSurface& target, int row) {
  return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(target.pixels) +
                                     static_cast<std::ptrdiff_t>(row) * target.pitch);
}

int mixChannel(int s, int d, int level) {
  return ((s * (32 - level)) >> 5) + ((d * level) >> 5);
}

// The layout is a template argument so the shifts are constants and the loop can be vectorised.
template <Layout layout>
void blendRun(uint16_t* out, std::span<const uint16_t> pixels, int level) {
  for (size_t i = 0; i < pixels.size(); ++i) {
    const int s = pixels[i];
    const int d = out[i];
    int mixed = 0;
    for (const int shift : {layout.red, layout.green, layout.blue}) {
      mixed |= mixChannel((s >> shift) & 31, (d >> shift) & 31, level) << shift;
    }
    out[i] = static_cast<uint16_t>(mixed);
  }
}

// Walks the frame with its hot spot at (x, y) and hands each visible part of a copy segment to
// `put(targetRow, firstColumn, pixels)`; rows above are walked, the first row below ends it.
template <typename Put>
void drawVisibleRuns(const host::LockedSurface& target, int x, int y, const SpriteFrame* frame,
                     Put&& put) {
  if (frame == nullptr || target.pixels == nullptr) return;
  const int64_t left = static_cast<int64_t>(x) - frame->hotX;
  const int64_t top = static_cast<int64_t>(y) - frame->hotY;
  const int64_t width = target.width;
  const int64_t height = target.height;
  const size_t words = std::min(frame->data.size(), static_cast<size_t>(frame->dataSize / 2));
  gfx::walkRunLength(
      frame->width, frame->height, std::span<const uint16_t>(frame->data.data(), words),
      [&](int r) { return top + r < height; },
      [&](int r, int p, std::span<const uint16_t> pixels) {
        const int64_t row = top + r;
        if (row < 0) return;
        const int64_t start = left + p;
        const int64_t from = std::max<int64_t>(start, 0);
        const int64_t to = std::min<int64_t>(start + static_cast<int64_t>(pixels.size()), width);
        if (from >= to) return;
        put(rowOf(target, static_cast<int>(row)) + from,
            pixels.subspan(static_cast<size_t>(from - start), static_cast<size_t>(to - from)));
      });
}

}  // namespace

int drawSprite(const host::LockedSurface& target, int x, int y, const SpriteFrame* frame) {
  drawVisibleRuns(target, x, y, frame, [](uint16_t* out, std::span<const uint16_t> pixels) {
    std::memcpy(out, pixels.data(), pixels.size_bytes());
  });
  return 1;
}

// Levels outside 0..32 are held to that range so every channel stays within five bits.
int drawSpriteBlended(const host::LockedSurface& target, int x, int y, const SpriteFrame* frame,
                      int level, int is565) {
  const int l = std::clamp(level, 0, 32);
  if (is565 != 0) {
    drawVisibleRuns(target, x, y, frame, [l](uint16_t* out, std::span<const uint16_t> pixels) {
      blendRun<kLayout565>(out, pixels, l);
    });
  } else {
    drawVisibleRuns(target, x, y, frame, [l](uint16_t* out, std::span<const uint16_t> pixels) {
      blendRun<kLayout555>(out, pixels, l);
    });
  }
  return 1;
}

}  // namespace vane
