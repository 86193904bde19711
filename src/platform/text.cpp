// SPDX-License-Identifier: GPL-3.0-or-later
// Text drawn with FreeType from a font fontconfig finds: lines rendered once, blended in colour.
#include "platform/text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace vane::platform {

namespace {

// Pixel height of the font, about that of a desktop's default dialog font of the time.
constexpr int kFontPixels = 13;
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

// 26.6 fixed point rounded up to whole pixels.
int ceilPixels(FT_Pos value) {
  return static_cast<int>((value + 63) >> 6);
}

// The best scalable font fontconfig offers for `request`; empty when there is none.
std::string matchFontFile(FcConfig* config, const char* request) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(request));
  if (pattern == nullptr) return {};
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  std::string file;
  FcChar8* path = nullptr;
  FcBool scalable = FcFalse;
  if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
      FcPatternGetBool(match, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable == FcTrue) {
    file = reinterpret_cast<const char*>(path);
  }
  if (match != nullptr) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return file;
}

// A glyph's coverage placed on the line: (x, y) is its top-left from the line's origin.
struct PlacedGlyph {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

// Copies the rendered glyph in `slot`, grey or one bit a pixel, as 0..255 coverage.
PlacedGlyph placeGlyph(const FT_GlyphSlot slot, int penX, int ascent) {
  const FT_Bitmap& bitmap = slot->bitmap;
  PlacedGlyph g{penX + slot->bitmap_left,
                ascent - slot->bitmap_top,
                static_cast<int>(bitmap.width),
                static_cast<int>(bitmap.rows),
                {}};
  g.coverage.resize(static_cast<size_t>(g.width) * static_cast<size_t>(g.height));
  for (int row = 0; row < g.height; ++row) {
    const uint8_t* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    for (int col = 0; col < g.width; ++col) {
      const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
      const uint8_t value = mono ? ((source[col / 8] >> (7 - col % 8)) & 1) * 255 : source[col];
      g.coverage[static_cast<size_t>(row * g.width + col)] = value;
    }
  }
  return g;
}

// The font and the lines already rendered with it, shared by every text context.
class LineCache {
 public:
  LineCache() {
    const std::string file = findFontFile();
    if (file.empty()) {
      std::fputs("vane: no font found: fontconfig offers neither DejaVu Sans nor any sans font\n",
                 stderr);
      return;
    }
    if (FT_Init_FreeType(&library_) != 0) {
      std::fputs("vane: cannot start the font renderer\n", stderr);
      library_ = nullptr;
      return;
    }
    if (FT_New_Face(library_, file.c_str(), 0, &face_) != 0 ||
        FT_Set_Pixel_Sizes(face_, 0, kFontPixels) != 0) {
      std::fprintf(stderr, "vane: cannot open the font %s\n", file.c_str());
      return;
    }
    ascent_ = ceilPixels(face_->size->metrics.ascender);
    height_ = ascent_ - static_cast<int>(face_->size->metrics.descender / 64);
    ready_ = true;
  }
  ~LineCache() {
    if (face_ != nullptr) FT_Done_Face(face_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  LineCache(const LineCache&) = delete;
  LineCache& operator=(const LineCache&) = delete;

  bool ready() const { return ready_; }

  const RenderedLine& line(const std::string& text) {
    if (auto found = lines_.find(text); found != lines_.end()) return found->second;
    if (lines_.size() >= kMaxCachedLines) lines_.clear();
    return lines_.emplace(text, render(text)).first->second;
  }

 private:
  // Each byte is one character, read as Latin-1, as the game's 8-bit text is.
  std::vector<PlacedGlyph> placeGlyphs(const std::string& text) {
    std::vector<PlacedGlyph> glyphs;
    FT_Pos pen = 0;
    FT_UInt previous = 0;
    for (const char c : text) {
      const FT_UInt index = FT_Get_Char_Index(face_, static_cast<unsigned char>(c));
      if (previous != 0 && index != 0 && FT_HAS_KERNING(face_)) {
        FT_Vector kern{};
        FT_Get_Kerning(face_, previous, index, FT_KERNING_DEFAULT, &kern);
        pen += kern.x;
      }
      previous = index;
      if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) continue;
      if (FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
      glyphs.push_back(placeGlyph(face_->glyph, static_cast<int>(pen >> 6), ascent_));
      pen += face_->glyph->advance.x;
    }
    return glyphs;
  }

  // The line as one box of coverage, the line's height tall; where glyphs overlap the stronger
  // coverage wins.
  RenderedLine render(const std::string& text) {
    RenderedLine line;
    if (!ready_) return line;
    const std::vector<PlacedGlyph> glyphs = placeGlyphs(text);
    int left = 0;
    int right = 0;
    for (const PlacedGlyph& g : glyphs) {
      if (g.width == 0) continue;
      left = std::min(left, g.x);
      right = std::max(right, g.x + g.width);
    }
    line.left = left;
    line.width = right - left;
    line.height = height_;
    line.coverage.assign(static_cast<size_t>(line.width) * static_cast<size_t>(line.height), 0);
    for (const PlacedGlyph& g : glyphs) {
      for (int row = 0; row < g.height; ++row) {
        const int y = g.y + row;
        if (y < 0 || y >= line.height) continue;
        for (int col = 0; col < g.width; ++col) {
          uint8_t& cell = line.coverage[static_cast<size_t>(y * line.width + g.x - left + col)];
          cell = std::max(cell, g.coverage[static_cast<size_t>(row * g.width + col)]);
        }
      }
    }
    return line;
  }

  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  int ascent_ = 0;
  int height_ = 0;
  bool ready_ = false;
  std::unordered_map<std::string, RenderedLine> lines_;
};

LineCache& lineCache() {
  static LineCache cache;
  return cache;
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
    const RenderedLine& line = lineCache().line(std::string(text));
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

std::string findFontFile() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return {};
  std::string file = matchFontFile(config, "DejaVu Sans:style=Book");
  if (file.empty()) file = matchFontFile(config, "sans-serif");
  FcConfigDestroy(config);
  return file;
}

bool loadFont() {
  return lineCache().ready();
}

std::unique_ptr<TextContext> makeTextContext(uint16_t* pixels, int width, int height, int pitch,
                                             bool is565) {
  return std::make_unique<BufferText>(pixels, width, height, pitch, is565);
}

}  // namespace vane::platform
