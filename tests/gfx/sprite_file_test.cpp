// SPDX-License-Identifier: GPL-3.0-or-later
// Loader, conversion and frame store: signatures, broken files, 5-6-5 words, frame numbering.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gfx/sprite.h"
#include "gfx/sprite_bytes.h"
#include "host/host.h"
#include "platform/headless/headless.h"

namespace vane {
namespace {

using host::Icon;
using platform::HeadlessBackend;
using test::RawFrame;
using test::spriteBytes;

class SpriteLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.echoDialogs = false;
    platform::setBackend(&backend);
    resetSheets();
  }
  void TearDown() override {
    resetSheets();
    platform::setBackend(nullptr);
  }
  int load(const std::vector<uint8_t>& bytes, int use565 = 0) {
    return loadSpriteSheetFromBytes(sheet, bytes, "x.spr", use565);
  }
  void expectOneDialog(const std::string& text, Icon icon) {
    ASSERT_EQ(backend.dialogs.size(), 1u);
    EXPECT_EQ(backend.dialogs[0].text, text);
    EXPECT_EQ(backend.dialogs[0].title, "ERROR");
    EXPECT_EQ(backend.dialogs[0].icon, icon);
  }
  HeadlessBackend backend;
  SpriteSheet sheet;
};

// One line of two pixels: a copy of both.
const RawFrame kTwoPixels{2, 1, 0, 0, {1, 2, 0x7FFF, 0x0421}};

TEST_F(SpriteLoad, OnlyTheFirstSignatureByteIsChecked) {
  struct Case {
    std::vector<uint8_t> signature;
    int result;
  };
  const Case cases[] = {
      {{'S', '1', '6', 0}, 1}, {{'S', 'x', 'y', 'z'}, 1}, {{'S', 0, 0, 0}, 1},
      {{'s', '1', '6', 0}, 0}, {{'X', '1', '6', 0}, 0},   {{0, 0, 0, 0}, 0},
  };
  for (const Case& c : cases) {
    backend.dialogs.clear();
    sheet.clear();
    EXPECT_EQ(load(spriteBytes({kTwoPixels}, c.signature)), c.result) << int(c.signature[0]);
    if (c.result == 1) {
      EXPECT_TRUE(backend.dialogs.empty());
      EXPECT_EQ(frameCountOf(sheet), 1);
    } else {
      expectOneDialog("Not 16Bit color Sprite File", Icon::None);
      EXPECT_EQ(frameCountOf(sheet), 0);
    }
  }
}

TEST_F(SpriteLoad, EmptyInputIsNotASpriteFile) {
  EXPECT_EQ(load({}), 0);
  expectOneDialog("Not 16Bit color Sprite File", Icon::None);
}

TEST_F(SpriteLoad, CountZeroGivesAnEmptySheet) {
  EXPECT_EQ(load(spriteBytes({})), 1);
  EXPECT_TRUE(backend.dialogs.empty());
  EXPECT_EQ(frameCountOf(sheet), 0);
  EXPECT_EQ(frameAt(sheet, 1), nullptr);
}

TEST_F(SpriteLoad, HeaderFieldsAreStoredAsRead) {
  ASSERT_EQ(load(spriteBytes({RawFrame{3, 2, -5, 300, {0, 3, 1, 3, 7, 8, 9}}})), 1);
  const SpriteFrame* f = frameAt(sheet, 1);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->width, 3);
  EXPECT_EQ(f->height, 2);
  EXPECT_EQ(f->hotX, -5);
  EXPECT_EQ(f->hotY, 300);
  EXPECT_EQ(f->dataSize, 14u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(f->reserved[i], 0xA0 + i);
  EXPECT_EQ(f->data, (std::vector<uint16_t>{0, 3, 1, 3, 7, 8, 9}));
}

TEST_F(SpriteLoad, ConvertsPixelWordsOnlyWhenUse565IsExactlyOne) {
  // A skip, then a copy whose pixels include bit 15; segment words must stay as they are.
  const RawFrame frame{5, 1, 0, 0, {0, 2, 9, 3, 0x7FFF, 0x0421, 0x8000}};
  struct Case {
    int use565;
    std::vector<uint16_t> words;
  };
  const Case cases[] = {
      {0, {0, 2, 9, 3, 0x7FFF, 0x0421, 0x8000}},
      {1, {0, 2, 9, 3, 0xFFDF, 0x0841, 0x0000}},
      {2, {0, 2, 9, 3, 0x7FFF, 0x0421, 0x8000}},
      {-1, {0, 2, 9, 3, 0x7FFF, 0x0421, 0x8000}},
  };
  for (const Case& c : cases) {
    sheet.clear();
    ASSERT_EQ(load(spriteBytes({frame}), c.use565), 1);
    EXPECT_EQ(frameAt(sheet, 1)->data, c.words) << "use565 " << c.use565;
  }
}

TEST_F(SpriteLoad, AllSkipFrameLoadsAndConvertsToItself) {
  const RawFrame frame{4, 3, 0, 0, {0, 4, 0, 1, 0, 3, 0, 4}};
  ASSERT_EQ(load(spriteBytes({frame, kTwoPixels}), 1), 1);
  EXPECT_EQ(frameAt(sheet, 1)->data, frame.words);
  EXPECT_EQ(frameAt(sheet, 2)->data, (std::vector<uint16_t>{1, 2, 0xFFDF, 0x0841}));
}

TEST_F(SpriteLoad, FramesAreNumberedFromOneInFileOrder) {
  ASSERT_EQ(load(spriteBytes(
                {RawFrame{1, 0, 0, 0, {}}, RawFrame{2, 0, 0, 0, {}}, RawFrame{3, 0, 0, 0, {}}})),
            1);
  EXPECT_EQ(frameCountOf(sheet), 3);
  EXPECT_EQ(frameAt(sheet, 0), nullptr);
  EXPECT_EQ(frameAt(sheet, -1), nullptr);
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(frameAt(sheet, n)->width, n);
  EXPECT_EQ(frameAt(sheet, 4), nullptr);
  EXPECT_EQ(frameAt(sheet, 1000), nullptr);

  // A second load appends after the frames already there.
  ASSERT_EQ(load(spriteBytes({RawFrame{9, 0, 0, 0, {}}})), 1);
  EXPECT_EQ(frameCountOf(sheet), 4);
  EXPECT_EQ(frameAt(sheet, 4)->width, 9);
}

TEST_F(SpriteLoad, InsertFrameLinksAfterTheNthNodeAndCopies) {
  SpriteFrame f = test::makeFrame(1, 1, {1, 1, 5});
  EXPECT_EQ(insertFrame(sheet, f, 0), 1);
  f.width = 2;
  EXPECT_EQ(insertFrame(sheet, f, 0), 1);  // goes in front
  f.width = 3;
  EXPECT_EQ(insertFrame(sheet, f, 99), 1);  // past the end appends
  f.data[2] = 6;
  EXPECT_EQ(frameAt(sheet, 1)->width, 2);
  EXPECT_EQ(frameAt(sheet, 2)->width, 1);
  EXPECT_EQ(frameAt(sheet, 3)->width, 3);
  EXPECT_EQ(frameAt(sheet, 3)->data[2], 5);
}

TEST_F(SpriteLoad, OddDataSizeKeepsTheLastByte) {
  std::vector<uint8_t> bytes = spriteBytes({RawFrame{1, 1, 0, 0, {1, 1, 0x1234}, 7}});
  bytes.push_back(0x42);
  ASSERT_EQ(load(bytes), 1);
  const SpriteFrame* f = frameAt(sheet, 1);
  EXPECT_EQ(f->dataSize, 7u);
  EXPECT_EQ(f->data, (std::vector<uint16_t>{1, 1, 0x1234, 0x0042}));
}

TEST_F(SpriteLoad, BrokenRunLengthDataIsRefusedAndTheSheetUntouched) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> cutHeader = spriteBytes({kTwoPixels});
  cutHeader.resize(5 + 19);
  std::vector<uint8_t> cutData = spriteBytes({kTwoPixels});
  cutData.pop_back();
  const Case cases[] = {
      {"segment overshoots the width", spriteBytes({RawFrame{2, 1, 0, 0, {0, 3}}})},
      {"copy overshoots after a skip", spriteBytes({RawFrame{3, 1, 0, 0, {0, 2, 1, 2, 5, 6}}})},
      {"copy runs past the data", spriteBytes({RawFrame{3, 1, 0, 0, {1, 3, 5, 6}}})},
      {"line ends inside a segment", spriteBytes({RawFrame{3, 1, 0, 0, {0}}})},
      {"missing last line", spriteBytes({RawFrame{3, 2, 0, 0, {0, 3}}})},
      {"pixel word cut to an odd byte", spriteBytes({RawFrame{1, 1, 0, 0, {1, 1, 5}, 5}})},
      {"negative width", spriteBytes({RawFrame{-1, 1, 0, 0, {}}})},
      {"negative height", spriteBytes({RawFrame{1, -1, 0, 0, {}}})},
      {"file header cut short", {'S', '1', '6', 0}},
      {"fewer frames than counted",
       [] {
         auto b = spriteBytes({kTwoPixels});
         b[4] = 2;
         return b;
       }()},
      {"frame header cut short", cutHeader},
      {"pixel data cut short", cutData},
      {"huge data size", spriteBytes({RawFrame{1, 1, 0, 0, {1, 1, 5}, 0xFFFFFFFFll}})},
  };
  ASSERT_EQ(load(spriteBytes({kTwoPixels})), 1);
  for (const Case& c : cases) {
    backend.dialogs.clear();
    EXPECT_EQ(load(c.bytes), 0) << c.what;
    expectOneDialog("Broken Sprite File: x.spr", Icon::Error);
    EXPECT_EQ(frameCountOf(sheet), 1) << c.what;
  }
}

TEST_F(SpriteLoad, WidthZeroLinesHaveNoSegments) {
  ASSERT_EQ(load(spriteBytes({RawFrame{0, 5, 0, 0, {}}})), 1);
  EXPECT_EQ(frameAt(sheet, 1)->height, 5);
}

TEST_F(SpriteLoad, MissingFileShowsSprNotFound) {
  EXPECT_EQ(loadSpriteSheet(sheet, "/nonexistent/dir/none.spr", 0), 0);
  expectOneDialog("SPR Not Found", Icon::Error);
}

TEST_F(SpriteLoad, ReadsAFileFromDisk) {
  const std::string path = ::testing::TempDir() + "gfx_load_test.spr";
  const std::vector<uint8_t> bytes = spriteBytes({kTwoPixels, kTwoPixels});
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  EXPECT_EQ(loadSpriteSheet(sheet, path.c_str(), 1), 1);
  EXPECT_EQ(frameCountOf(sheet), 2);
  EXPECT_EQ(frameAt(sheet, 2)->data[2], 0xFFDF);
  std::remove(path.c_str());
}

TEST_F(SpriteLoad, ResetSheetsEmptiesTheGlobalSheets) {
  ASSERT_EQ(loadSpriteSheetFromBytes(xSheet, spriteBytes({kTwoPixels}), "x.spr", 0), 1);
  ASSERT_EQ(loadSpriteSheetFromBytes(etcSheet, spriteBytes({kTwoPixels}), "etc.spr", 0), 1);
  resetSheets();
  EXPECT_EQ(frameCountOf(xSheet), 0);
  EXPECT_EQ(frameCountOf(etcSheet), 0);
}

}  // namespace
}  // namespace vane
