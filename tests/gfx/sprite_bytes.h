// SPDX-License-Identifier: GPL-3.0-or-later
// Building sprite file bytes and frames by hand for the loader and drawing tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "gfx/sprite.h"

namespace vane::test {

struct RawFrame {
  int16_t width = 0;
  int16_t height = 0;
  int16_t hotX = 0;
  int16_t hotY = 0;
  std::vector<uint16_t> words;
  // When set, written as the header's byte count in place of the words' size.
  int64_t dataSizeOverride = -1;
};

inline void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

inline std::vector<uint8_t> spriteBytes(std::initializer_list<RawFrame> frames,
                                        std::vector<uint8_t> signature = {'S', '1', '6', 0}) {
  std::vector<uint8_t> out = signature;
  out.push_back(static_cast<uint8_t>(frames.size()));
  for (const RawFrame& f : frames) {
    put16(out, static_cast<uint16_t>(f.width));
    put16(out, static_cast<uint16_t>(f.height));
    put16(out, static_cast<uint16_t>(f.hotX));
    put16(out, static_cast<uint16_t>(f.hotY));
    const auto size = static_cast<uint32_t>(f.dataSizeOverride >= 0 ? f.dataSizeOverride
                                                                    : int64_t(f.words.size() * 2));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(size >> (8 * i)));
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(0xA0 + i));
    // A smaller byte count also cuts what is written, so the next frame follows at once.
    const size_t written = std::min<size_t>(size, f.words.size() * 2);
    for (size_t i = 0; i < written; ++i) {
      out.push_back(static_cast<uint8_t>(f.words[i / 2] >> (8 * (i % 2))));
    }
  }
  return out;
}

inline SpriteFrame makeFrame(int16_t width, int16_t height, std::vector<uint16_t> words,
                             int16_t hotX = 0, int16_t hotY = 0) {
  SpriteFrame f;
  f.width = width;
  f.height = height;
  f.hotX = hotX;
  f.hotY = hotY;
  f.dataSize = static_cast<uint32_t>(words.size() * 2);
  f.data = std::move(words);
  return f;
}

}  // namespace vane::test
