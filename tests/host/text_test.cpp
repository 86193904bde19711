// SPDX-License-Identifier: GPL-3.0-or-later
// Text lines drawn into 16-bit buffers of both layouts, on a transparent background.
#include "host/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vane::host {
namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 40;
// Rows are padded, as a display's may be; the padding must never be written.
constexpr int kPitchWords = 208;
constexpr uint16_t kUnder = 0x0421;  // a dark grey that is neither ink nor zero
constexpr uint16_t kGuard = 0xBEEF;

struct Canvas {
  std::vector<uint16_t> words = std::vector<uint16_t>(kPitchWords * kHeight, kGuard);
  Canvas() {
    for (int y = 0; y < kHeight; ++y) std::fill_n(&words[y * kPitchWords], kWidth, kUnder);
  }
  uint16_t at(int x, int y) const { return words[static_cast<size_t>(y * kPitchWords + x)]; }
  std::unique_ptr<TextContext> context(bool is565) {
    return makeTextContext(words.data(), kWidth, kHeight, kPitchWords * 2, is565);
  }
  int count(uint16_t value) const {
    int n = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) n += at(x, y) == value ? 1 : 0;
    }
    return n;
  }
  bool paddingIntact() const {
    for (int y = 0; y < kHeight; ++y) {
      for (int x = kWidth; x < kPitchWords; ++x) {
        if (at(x, y) != kGuard) return false;
      }
    }
    return true;
  }
};

// The box of every pixel that differs from the background.
struct Box {
  int left = kWidth, top = kHeight, right = -1, bottom = -1;
};

Box inkBox(const Canvas& c) {
  Box b;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (c.at(x, y) == kUnder) continue;
      b.left = std::min(b.left, x);
      b.top = std::min(b.top, y);
      b.right = std::max(b.right, x);
      b.bottom = std::max(b.bottom, y);
    }
  }
  return b;
}

TEST(TextContext, WhiteLineIn565) {
  Canvas c;
  auto text = c.context(true);
  text->setTextColor(0xFFFFFF);
  text->setTransparentBackground();
  text->textOut(10, 5, "Key Setting...");
  EXPECT_GT(c.count(0xFFFF), 20);
  const Box b = inkBox(c);
  // The point given is the top-left of the line; the line is a dialog font's height.
  EXPECT_GE(b.left, 10);
  EXPECT_LE(b.left, 12);
  EXPECT_GE(b.top, 5);
  EXPECT_LE(b.bottom - b.top, 16);
  EXPECT_GE(b.bottom - b.top, 8);
  // Everything outside the line keeps the picture under it.
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < 10; ++x) EXPECT_EQ(c.at(x, y), kUnder);
  }
  EXPECT_TRUE(c.paddingIntact());
}

TEST(TextContext, WhiteLineIn555NeverSetsTheTopBit) {
  Canvas c;
  auto text = c.context(false);
  text->setTextColor(0xFFFFFF);
  text->textOut(10, 5, "PAUSE : Space Key");
  EXPECT_GT(c.count(0x7FFF), 20);
  EXPECT_EQ(c.count(0xFFFF), 0);
  for (uint16_t w : c.words) {
    if (w != kGuard) {
      EXPECT_EQ(w & 0x8000, 0);
    }
  }
}

TEST(TextContext, ColourIsBlueGreenRed) {
  Canvas c565;
  auto text = c565.context(true);
  text->setTextColor(0x0000FF);  // red
  text->textOut(0, 0, "MMMM");
  EXPECT_GT(c565.count(0xF800), 10);

  Canvas c555;
  text = c555.context(false);
  text->setTextColor(0xFF0000);  // blue
  text->textOut(0, 0, "MMMM");
  EXPECT_GT(c555.count(0x001F), 10);
}

TEST(TextContext, LinesOffTheEdgesAreClipped) {
  Canvas c;
  auto text = c.context(true);
  text->setTextColor(0xFFFFFF);
  text->textOut(kWidth - 15, kHeight - 6, "Get Energy Ball For Special Attack");
  text->textOut(-40, -6, "Get Energy Ball For Special Attack");
  text->textOut(0, 10, "");
  EXPECT_TRUE(c.paddingIntact());
  EXPECT_GT(c.count(0xFFFF), 0);
}

TEST(TextContext, SameLineDrawsTheSameEveryTime) {
  Canvas first;
  Canvas second;
  for (Canvas* c : {&first, &second}) {
    auto text = c->context(true);
    text->setTextColor(0xFFFFFF);
    text->textOut(3, 3, "T Key  ^^;");
  }
  EXPECT_EQ(first.words, second.words);
}

// The game's own lines kern no pair, so the golden pictures cannot see the kerning: each kerned
// pair whose glyphs share no column is drawn as one line and as two glyphs placed by the table.
TEST(TextContext, KernedPairsPlaceTheSecondGlyphByTheKerning) {
  const auto draw = [](Canvas& c, int x, std::string text) {
    auto context = c.context(true);
    context->setTextColor(0xFFFFFF);
    context->textOut(x, 5, text);
  };
  int compared = 0;
  for (const KerningPair& k : kGlyphTable.kerning) {
    const Glyph& first = kGlyphTable.glyphs[k.first];
    const Glyph& second = kGlyphTable.glyphs[k.second];
    const int pen = (first.advance + k.x) >> 6;
    if (first.width == 0 || pen + second.left < first.left + first.width) continue;
    Canvas pair;
    Canvas apart;
    draw(pair, 20, {static_cast<char>(k.first), static_cast<char>(k.second)});
    draw(apart, 20, {static_cast<char>(k.first)});
    draw(apart, 20 + pen, {static_cast<char>(k.second)});
    EXPECT_EQ(pair.words, apart.words) << int{k.first} << " " << int{k.second};
    ++compared;
  }
  EXPECT_GT(compared, 20);
}

}  // namespace
}  // namespace vane::host
