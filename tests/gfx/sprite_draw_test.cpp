// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing: placement by hot spot, clipping at the four edges, the run-length walk, the blend.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/sprite.h"
#include "gfx/sprite_bytes.h"

namespace vane {
namespace {

using test::makeFrame;

constexpr uint16_t kBack = 0x1234;

// A 640x480 target with a padded pitch and one guard row below, all filled with kBack.
struct Screen {
  static constexpr int kPitchWords = 648;
  std::vector<uint16_t> words = std::vector<uint16_t>(kPitchWords * 481, kBack);
  host::LockedSurface surface{words.data(), 640, 480, kPitchWords * 2};
  uint16_t at(int col, int row) const { return words[row * kPitchWords + col]; }
  int changed() const {
    int n = 0;
    for (uint16_t w : words) n += w != kBack;
    return n;
  }
};

// Three lines of four opaque pixels, value = 0x100 * (row + 1) + column + 1.
SpriteFrame solid4x3(int16_t hotX = 0, int16_t hotY = 0) {
  std::vector<uint16_t> words;
  for (uint16_t r = 1; r <= 3; ++r) {
    words.insert(words.end(), {7, 4});
    for (uint16_t c = 1; c <= 4; ++c) words.push_back(static_cast<uint16_t>(0x100 * r + c));
  }
  return makeFrame(4, 3, words, hotX, hotY);
}

uint16_t pixelOf(int row, int col) {
  return static_cast<uint16_t>(0x100 * (row + 1) + col + 1);
}

TEST(DrawSprite, PlacesTheFrameByItsHotSpot) {
  struct Case {
    int x, y, hotX, hotY;
    int left, top;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0, 0}, {10, 20, 0, 0, 10, 20}, {10, 20, 3, 5, 7, 15}, {0, 0, -2, -1, 2, 1}};
  for (const Case& c : cases) {
    Screen s;
    const SpriteFrame f = solid4x3(static_cast<int16_t>(c.hotX), static_cast<int16_t>(c.hotY));
    EXPECT_EQ(drawSprite(s.surface, c.x, c.y, &f), 1);
    for (int r = 0; r < 3; ++r) {
      for (int col = 0; col < 4; ++col) EXPECT_EQ(s.at(c.left + col, c.top + r), pixelOf(r, col));
    }
    EXPECT_EQ(s.changed(), 12);
  }
}

TEST(DrawSprite, ClipsSegmentsAtTheLeftAndRightEdges) {
  struct Case {
    int x;
    std::vector<std::pair<int, int>> drawn;  // screen column, frame column
  };
  const Case cases[] = {
      {-2, {{0, 2}, {1, 3}}},
      {-3, {{0, 3}}},
      {-4, {}},
      {-1000, {}},
      {637, {{637, 0}, {638, 1}, {639, 2}}},
      {639, {{639, 0}}},
      {640, {}},
      {100000, {}},
  };
  for (const Case& c : cases) {
    Screen s;
    const SpriteFrame f = solid4x3();
    drawSprite(s.surface, c.x, 10, &f);
    for (auto [col, src] : c.drawn) {
      for (int r = 0; r < 3; ++r) EXPECT_EQ(s.at(col, 10 + r), pixelOf(r, src)) << c.x;
    }
    EXPECT_EQ(s.changed(), 3 * static_cast<int>(c.drawn.size())) << c.x;
  }
}

TEST(DrawSprite, ClipsRowsAtTheTopAndBottomEdges) {
  struct Case {
    int y;
    std::vector<std::pair<int, int>> drawn;  // screen row, frame row
  };
  const Case cases[] = {
      {-2, {{0, 2}}},
      {-1, {{0, 1}, {1, 2}}},
      {-3, {}},
      {-5000, {}},
      {478, {{478, 0}, {479, 1}}},
      {479, {{479, 0}}},
      {480, {}},
      {100000, {}},
  };
  for (const Case& c : cases) {
    Screen s;
    const SpriteFrame f = solid4x3();
    drawSprite(s.surface, 5, c.y, &f);
    for (auto [row, src] : c.drawn) {
      for (int col = 0; col < 4; ++col) EXPECT_EQ(s.at(5 + col, row), pixelOf(src, col)) << c.y;
    }
    EXPECT_EQ(s.changed(), 4 * static_cast<int>(c.drawn.size())) << c.y;
  }
}

TEST(DrawSprite, ClipsAtACornerAndWalksMixedSegments) {
  // Line 0: skip 1, copy 2 (A, B), skip 1. Line 1: copy 1 (C), skip 3. Line 2: all skip.
  const SpriteFrame f = makeFrame(4, 3, {0, 1, 1, 2, 0xA, 0xB, 0, 1, 1, 1, 0xC, 0, 3, 0, 4});
  Screen s;
  drawSprite(s.surface, 638, 478, &f);
  EXPECT_EQ(s.at(639, 478), 0xA);
  EXPECT_EQ(s.at(638, 479), 0xC);
  EXPECT_EQ(s.changed(), 2);

  Screen t;
  drawSprite(t.surface, -1, -1, &f);
  EXPECT_EQ(t.changed(), 0);
}

TEST(DrawSprite, AllSkipFrameDrawsNothing) {
  const SpriteFrame f = makeFrame(4, 2, {0, 4, 0, 2, 0, 2});
  Screen s;
  EXPECT_EQ(drawSprite(s.surface, 0, 0, &f), 1);
  EXPECT_EQ(drawSpriteBlended(s.surface, 0, 0, &f, 16, 1), 1);
  EXPECT_EQ(s.changed(), 0);
}

TEST(DrawSprite, NullFrameDrawsNothing) {
  Screen s;
  EXPECT_EQ(drawSprite(s.surface, 0, 0, nullptr), 1);
  EXPECT_EQ(drawSpriteBlended(s.surface, 0, 0, nullptr, 16, 1), 1);
  EXPECT_EQ(s.changed(), 0);
}

TEST(DrawSprite, FrameWithBrokenDataStopsAtTheBreak) {
  // Frames put in by hand are not checked by the loader: drawing must stay inside their data.
  struct Case {
    const char* what;
    SpriteFrame frame;
    int drawn;
  };
  const Case cases[] = {
      {"copy past the data", makeFrame(4, 2, {1, 4, 1, 2, 3, 4, 1, 4, 5}), 4},
      {"overshooting segment", makeFrame(2, 2, {1, 2, 1, 2, 1, 3, 5, 6, 7}), 2},
      {"size says less than the words",
       [] {
         SpriteFrame f = makeFrame(1, 2, {1, 1, 5, 1, 1, 6});
         f.dataSize = 6;
         return f;
       }(),
       1},
  };
  for (const Case& c : cases) {
    Screen s;
    EXPECT_EQ(drawSprite(s.surface, 0, 0, &c.frame), 1);
    EXPECT_EQ(s.changed(), c.drawn) << c.what;
  }
}

TEST(DrawSpriteBlended, MixesChannelsByLevel) {
  struct Case {
    int is565, level;
    uint16_t frame, target, expected;
  };
  const Case cases[] = {
      {0, 16, 0x7FFF, 0x7FFF, 0x7BDE},  // halves rounded down
      {0, 32, 0x7FFF, 0x1234, 0x1234},  // target only
      {0, 0, 0xFFFF, 0x0000, 0x7FFF},   // frame only; bit 15 is not a channel
      {0, 14, 0x7C00, 0x0000, 0x4400},  // R: 31 * 18 >> 5 = 17
      {0, 14, 0x0000, 0x7C00, 0x3400},  // R: 31 * 14 >> 5 = 13
      {0, 20, 0x001F, 0x03E0, 0x026B},  // G: 31 * 20 >> 5 = 19, B: 31 * 12 >> 5 = 11
      {1, 0, 0xFFFF, 0x0000, 0xFFDF},   // lowest G bit cleared
      {1, 32, 0x0000, 0xFFFF, 0xFFDF}, {1, 16, 0xF800, 0x001F, 0x780F},
      {1, 16, 0xFFFF, 0xFFFF, 0xF79E},  // 15 + 15 per channel
      {1, 40, 0x0000, 0xF81F, 0xF81F},  // levels above 32 act as 32
      {1, -5, 0xF81F, 0x0000, 0xF81F},  // and below 0 as 0
  };
  for (const Case& c : cases) {
    Screen s;
    s.words[0] = c.target;
    const SpriteFrame f = makeFrame(1, 1, {1, 1, c.frame});
    EXPECT_EQ(drawSpriteBlended(s.surface, 0, 0, &f, c.level, c.is565), 1);
    EXPECT_EQ(s.at(0, 0), c.expected) << std::hex << c.frame << " over " << c.target << " L"
                                      << std::dec << c.level << " 565=" << c.is565;
  }
}

TEST(DrawSpriteBlended, ClipsLikeTheOpaqueDraw) {
  const SpriteFrame f = solid4x3();
  Screen s;
  drawSpriteBlended(s.surface, -3, 478, &f, 32, 0);
  EXPECT_EQ(s.changed(), 0);  // level 32 in 5-5-5 keeps the target word as it was
  Screen t;
  drawSpriteBlended(t.surface, -3, 478, &f, 0, 0);
  EXPECT_EQ(t.at(0, 478), pixelOf(0, 3));
  EXPECT_EQ(t.at(0, 479), pixelOf(1, 3));
  EXPECT_EQ(t.changed(), 2);
}

}  // namespace
}  // namespace vane
