// SPDX-License-Identifier: GPL-3.0-or-later
// The glyph table baked at build time: the font at the game's size as plain data.
#pragma once

#include <cstdint>
#include <span>

namespace vane::host {

// One character's glyph: `height` rows of `width` coverage bytes, 0 (background) to 255 (ink),
// from `offset` in the table's coverage. Its top-left lies `left` pixels right of the pen and
// `top` pixels above the baseline; the pen then moves `advance` 1/64 pixels right.
struct Glyph {
  int16_t left;
  int16_t top;
  uint8_t width;
  uint8_t height;
  int32_t advance;
  uint32_t offset;
};

// The pen moves `x` 1/64 pixels between the characters `first` and `second`.
struct KerningPair {
  uint8_t first;
  uint8_t second;
  int32_t x;
};

// The font at the size the game writes in, as tools/glyphs rasterised it: plain data, the same on
// every system the game is built for.
struct GlyphTable {
  int ascent;      // pixels from a line's top to its baseline
  int lineHeight;  // pixels from a line's top to the bottom of its lowest descender
  std::span<const Glyph, 256> glyphs;  // by byte value: the game's 8-bit text, read as Latin-1
  std::span<const uint8_t> coverage;
  std::span<const KerningPair> kerning;  // sorted by first, then second character
};

// Generated into the build tree by vane-glyphs (or taken from another build: VANE_GLYPH_TABLE).
extern const GlyphTable kGlyphTable;

}  // namespace vane::host
