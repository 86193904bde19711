// SPDX-License-Identifier: GPL-3.0-or-later
// Text drawn from the baked glyph table: lines composed once, blended in colour.
#include "host/text.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vane::host {

namespace {

// Lines kept rendered; the game writes a few dozen different ones, so this is never reached
// unless some caller writes ever-changing text.
constexpr size_t kMaxCachedLines = 512;

// One line as glyph coverage, 0 (background) to 255 (ink). Column 0 of the coverage lies `left`
// pixels right of the point the line is written at (left of it when negative).
struct RenderedLine {
  int left = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

// A glyph's coverage placed on the line: (x, y) is its top-left from the line's origin.
struct PlacedGlyph {
  int x;
  int y;
  const Glyph& glyph;
};

// How far the pen moves between two characters, in 1/64 pixel.
int32_t kerning(uint8_t first, uint8_t second) {
  const auto& pairs = kGlyphTable.kerning;
  const auto before = [](const KerningPair& k, std::pair<uint8_t, uint8_t> key) {
    return std::pair{k.first, k.second} < key;
  };
  const auto found = std::lower_bound(pairs.begin(), pairs.end(), std::pair{first, second}, before);
  return found != pairs.end() && found->first == first && found->second == second ? found->x : 0;
}

// Each byte is one character; glyphs sit at whole pixels, the pen kept in 1/64 pixel between them.
std::vector<PlacedGlyph> placeGlyphs(std::string_view text) {
  std::vector<PlacedGlyph> glyphs;
  int32_t pen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    if (i > 0) pen += kerning(static_cast<uint8_t>(text[i - 1]), byte);
    const Glyph& g = kGlyphTable.glyphs[byte];
    glyphs.push_back({(pen >> 6) + g.left, kGlyphTable.ascent - g.top, g});
    pen += g.advance;
  }
  return glyphs;
}

// The line as one box of coverage, the line's height tall; where glyphs overlap the stronger
// coverage wins.
RenderedLine renderLine(std::string_view text) {
  const std::vector<PlacedGlyph> glyphs = placeGlyphs(text);
  int left = 0;
  int right = 0;
  for (const PlacedGlyph& p : glyphs) {
    if (p.glyph.width == 0) continue;
    left = std::min(left, p.x);
    right = std::max(right, p.x + p.glyph.width);
  }
  RenderedLine line{left, right - left, kGlyphTable.lineHeight, {}};
  line.coverage.assign(static_cast<size_t>(line.width) * static_cast<size_t>(line.height), 0);
  for (const PlacedGlyph& p : glyphs) {
    const uint8_t* source = kGlyphTable.coverage.data() + p.glyph.offset;
    for (int row = 0; row < p.glyph.height; ++row) {
      const int y = p.y + row;
      if (y < 0 || y >= line.height) continue;
      for (int col = 0; col < p.glyph.width; ++col) {
        uint8_t& cell = line.coverage[static_cast<size_t>(y * line.width + p.x - left + col)];
        cell = std::max(cell, source[row * p.glyph.width + col]);
      }
    }
  }
  return line;
}

// The lines already rendered, shared by every text context.
const RenderedLine& cachedLine(std::string_view text) {
  static std::unordered_map<std::string, RenderedLine> lines;
  if (auto found = lines.find(std::string(text)); found != lines.end()) return found->second;
  if (lines.size() >= kMaxCachedLines) lines.clear();
  return lines.emplace(text, renderLine(text)).first->second;
}

// A channel's bit positions within the 16-bit word.
struct Channel {
  int shift;
  int bits;
};

struct Layout {
  Channel red, green, blue;
};

constexpr Layout k565{{11, 5}, {5, 6}, {0, 5}};
constexpr Layout k555{{10, 5}, {5, 5}, {0, 5}};

// An 8-bit ink level in a channel's bits, to the nearest.
unsigned inkLevel(uint8_t ink8, Channel c) {
  return (ink8 * ((1u << c.bits) - 1) + 127) / 255;
}

// The channel of `pixel` mixed with the ink's level, `alpha` parts in 255 of ink.
uint16_t blendChannel(uint16_t pixel, Channel c, unsigned ink, unsigned alpha) {
  const unsigned under = (pixel >> c.shift) & ((1u << c.bits) - 1);
  const unsigned mixed = (ink * alpha + under * (255 - alpha) + 127) / 255;
  return static_cast<uint16_t>(mixed << c.shift);
}

class BufferText : public TextContext {
 public:
  BufferText(uint16_t* pixels, int width, int height, int pitch, bool is565)
      : pixels_(pixels),
        width_(width),
        height_(height),
        pitch_(pitch),
        layout_(is565 ? k565 : k555) {}

  void setTextColor(uint32_t colorRef) override { colour_ = colorRef; }
  void setTransparentBackground() override {}

  void textOut(int x, int y, std::string_view text) override {
    const RenderedLine& line = cachedLine(text);
    const unsigned red = inkLevel(static_cast<uint8_t>(colour_ & 0xFF), layout_.red);
    const unsigned green = inkLevel(static_cast<uint8_t>((colour_ >> 8) & 0xFF), layout_.green);
    const unsigned blue = inkLevel(static_cast<uint8_t>((colour_ >> 16) & 0xFF), layout_.blue);
    // Fully covered pixels take the ink as it is: the blend gives exactly that at 255.
    const auto solid = static_cast<uint16_t>(
        red << layout_.red.shift | green << layout_.green.shift | blue << layout_.blue.shift);
    const int left = x + line.left;
    const int firstCol = std::max(0, -left);
    const int endCol = std::min(line.width, width_ - left);
    for (int row = 0; row < line.height; ++row) {
      const int ty = y + row;
      if (ty < 0 || ty >= height_) continue;
      auto* target = reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(pixels_) +
                                                 static_cast<ptrdiff_t>(ty) * pitch_);
      const uint8_t* coverage = line.coverage.data() + static_cast<size_t>(row) * line.width;
      for (int col = firstCol; col < endCol;) {
        // Most of a line is bare: eight bare pixels are passed over at once.
        uint64_t eight = 1;
        if (col + 8 <= endCol) std::memcpy(&eight, coverage + col, sizeof eight);
        if (eight == 0) {
          col += 8;
          continue;
        }
        for (const int stop = std::min(col + 8, endCol); col < stop; ++col) {
          const unsigned alpha = coverage[col];
          if (alpha == 0) continue;
          uint16_t& pixel = target[left + col];
          if (alpha == 255) {
            pixel = solid;
            continue;
          }
          const uint16_t under = pixel;
          pixel = static_cast<uint16_t>(blendChannel(under, layout_.red, red, alpha) |
                                        blendChannel(under, layout_.green, green, alpha) |
                                        blendChannel(under, layout_.blue, blue, alpha));
        }
      }
    }
  }

 private:
  uint16_t* pixels_;
  int width_;
  int height_;
  int pitch_;
  Layout layout_;
  uint32_t colour_ = 0;
};

}  // namespace

int textWidth(std::string_view text) {
  const RenderedLine& line = cachedLine(text);
  return line.left + line.width;
}

std::unique_ptr<TextContext> makeTextContext(uint16_t* pixels, int width, int height, int pitch,
                                             bool is565) {
  return std::make_unique<BufferText>(pixels, width, height, pitch, is565);
}

}  // namespace vane::host
