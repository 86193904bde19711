// SPDX-License-Identifier: GPL-3.0-or-later
// The sprite file tool: unpack and pack give back the same bytes; pictures are checked on the way
// in.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <string>

#include "gfx/sprite_bytes.h"
#include "tools/common/formats.h"
#include "tools/spr/spr_files.h"
#include "tools/spr/spr_png.h"

namespace vane {
namespace {

using test::RawFrame;
using test::spriteBytes;
namespace fs = std::filesystem;

class SprTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) /
          ("vane_spr_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }

  // Unpacks `bytes` to a folder and packs it again; returns the packed bytes.
  std::vector<uint8_t> roundTrip(const std::vector<uint8_t>& bytes) {
    EXPECT_EQ(tools::writeFile(path("in.spr"), bytes), "");
    EXPECT_EQ(tools::unpackSpriteFile(path("in.spr"), path("frames")), "");
    std::string notes;
    EXPECT_EQ(tools::packSpriteFile(path("frames"), path("out.spr"), notes), "");
    EXPECT_EQ(notes, "");
    return tools::readFile(path("out.spr"));
  }
  fs::path dir;
};

tools::Picture checkerPicture() {
  tools::Picture p;
  p.width = 5;
  p.height = 3;
  p.hotX = -2;
  p.hotY = 7;
  for (int i = 0; i < 15; ++i) {
    p.pixels.push_back(static_cast<uint16_t>(i * 0x0843 & 0x7FFF));
    p.opaque.push_back(i % 3 != 0);
  }
  p.reserved[3] = 0x99;
  return p;
}

TEST(SprChannels, ExpansionAndReductionAreInverse) {
  for (int v = 0; v < 32; ++v) EXPECT_EQ(tools::reduce8(tools::expand5(v)), v);
  EXPECT_EQ(tools::expand5(31), 255);
  EXPECT_EQ(tools::expand5(1), 8);
  EXPECT_EQ(tools::reduce8(200), 24);
  EXPECT_EQ(tools::reduce8(7), 1);
}

TEST_F(SprTool, FilesWrittenByTheEncoderComeBackByteForByte) {
  const std::vector<uint8_t> bytes = tools::spriteFileBytes(
      {tools::encodeFrame(checkerPicture()), tools::encodeFrame(checkerPicture())});
  EXPECT_EQ(roundTrip(bytes), bytes);
  EXPECT_TRUE(fs::exists(path("frames/frame-001.png")));
  EXPECT_TRUE(fs::exists(path("frames/frame-002.png")));

  tools::RgbaImage image;
  ASSERT_EQ(tools::readPng(path("frames/frame-001.png"), image), "");
  ASSERT_EQ(image.width, 5);
  ASSERT_EQ(image.height, 3);
  // Pixel 0 is transparent; pixel 1 is 0x0843: R 2, G 2, B 3.
  EXPECT_EQ(std::vector<uint8_t>(image.rgba.begin(), image.rgba.begin() + 8),
            (std::vector<uint8_t>{0, 0, 0, 0, 16, 16, 24, 255}));
}

TEST_F(SprTool, OtherSegmentationsTailsAndTopBitsComeBackByteForByte) {
  const std::vector<uint8_t> bytes = spriteBytes(
      {
          // Copy kinds other than 1, a copy run split in two, a zero-length skip.
          RawFrame{4, 2, 1, 1, {7, 2, 0x1111, 0x2222, 3, 2, 0x3333, 0x4444, 0, 0, 0, 4}},
          // A pixel with bit 15 set, two words after the last line and an odd byte.
          RawFrame{2, 1, 0, 0, {1, 2, 0xFFFF, 0x0001, 0xBEEF, 0x1234}, 11},
          // No picture at all.
          RawFrame{0, 4, 3, 3, {}},
          RawFrame{6, 0, 0, 0, {5, 6}},
      },
      {'S', 0x01, 0xFE, 0x7F});
  EXPECT_EQ(roundTrip(bytes), bytes);
  EXPECT_FALSE(fs::exists(path("frames/frame-003.png")));
}

TEST_F(SprTool, ColoursAreReducedToTheNearestFiveBitValue) {
  ASSERT_EQ(tools::writeFile(path("in.spr"), spriteBytes({RawFrame{1, 1, 0, 0, {1, 1, 0}}})), "");
  ASSERT_EQ(tools::unpackSpriteFile(path("in.spr"), path("frames")), "");
  ASSERT_EQ(tools::writePng(path("frames/frame-001.png"), {1, 1, {200, 100, 7, 255}}), "");
  std::string notes;
  ASSERT_EQ(tools::packSpriteFile(path("frames"), path("out.spr"), notes), "");
  EXPECT_EQ(tools::readFile(path("out.spr")),
            spriteBytes({RawFrame{1, 1, 0, 0, {1, 1, (24 << 10) | (12 << 5) | 1}}}));
}

TEST_F(SprTool, HalfTransparentPixelsAreRefusedNamingFileAndPixel) {
  ASSERT_EQ(tools::writeFile(path("in.spr"), spriteBytes({RawFrame{2, 2, 0, 0, {0, 2, 0, 2}}})),
            "");
  ASSERT_EQ(tools::unpackSpriteFile(path("in.spr"), path("frames")), "");
  ASSERT_EQ(tools::writePng(path("frames/frame-001.png"),
                            {2, 2, {0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 128, 0, 0, 0, 0}}),
            "");
  std::string notes;
  EXPECT_EQ(tools::packSpriteFile(path("frames"), path("out.spr"), notes),
            "frame-001.png: pixel (0, 1) has alpha 128; only 0 (transparent) and 255 (opaque) are "
            "allowed");
  EXPECT_FALSE(fs::exists(path("out.spr")));
}

TEST_F(SprTool, EditedTransparencyIsCutAfreshWithANote) {
  ASSERT_EQ(tools::writeFile(path("in.spr"), spriteBytes({RawFrame{2, 1, 0, 0, {9, 2, 5, 6}}})),
            "");
  ASSERT_EQ(tools::unpackSpriteFile(path("in.spr"), path("frames")), "");
  ASSERT_EQ(tools::writePng(path("frames/frame-001.png"), {2, 1, {0, 0, 0, 0, 8, 8, 8, 255}}), "");
  std::string notes;
  ASSERT_EQ(tools::packSpriteFile(path("frames"), path("out.spr"), notes), "");
  EXPECT_NE(notes.find("frame-001.png"), std::string::npos);
  EXPECT_EQ(tools::readFile(path("out.spr")),
            spriteBytes({RawFrame{2, 1, 0, 0, {0, 1, 1, 1, 0x0421}}}));
}

TEST_F(SprTool, BadInputsAreNamed) {
  ASSERT_EQ(tools::writeFile(path("bad.spr"), {'X', 0, 0, 0, 0}), "");
  EXPECT_EQ(tools::unpackSpriteFile(path("bad.spr"), path("frames")),
            path("bad.spr") + ": not a sprite file (the first byte is not 'S')");
  ASSERT_EQ(tools::writeFile(path("cut.spr"), {'S', 0, 0, 0, 1, 2}), "");
  EXPECT_NE(tools::unpackSpriteFile(path("cut.spr"), path("frames")).find("broken"),
            std::string::npos);
  std::string notes;
  EXPECT_NE(tools::packSpriteFile(path("nowhere"), path("out.spr"), notes).find("index.txt"),
            std::string::npos);
}

// A 1x1 PNG whose header claims width x height (with a correct checksum).
std::vector<uint8_t> pngClaiming(uint32_t width, uint32_t height, const std::string& scratch) {
  EXPECT_EQ(tools::writePng(scratch, tools::RgbaImage{1, 1, {1, 2, 3, 255}}), "");
  std::vector<uint8_t> png = tools::readFile(scratch);
  constexpr size_t kIhdr = 12;  // after the signature and the chunk's length
  for (int i = 0; i < 4; ++i) {
    png[kIhdr + 4 + i] = static_cast<uint8_t>(width >> (24 - 8 * i));
    png[kIhdr + 8 + i] = static_cast<uint8_t>(height >> (24 - 8 * i));
  }
  const uLong crc = crc32(0, &png[kIhdr], 17);
  for (int i = 0; i < 4; ++i) png[kIhdr + 17 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  return png;
}

// Pictures larger than the tools handle are refused from their headers, before anything is
// allocated for their pixels (each of these once asked for gigabytes).
TEST_F(SprTool, HugePicturesAreRefusedBeforeTheirPixelsAreAllocated) {
  const std::string index = "signature 53 31 36 00\nframe 1 size {W} {H} hot 0 0 reserved" +
                            std::string(" 00 00 00 00 00 00 00 00\n");
  auto indexFor = [&index](const std::string& w, const std::string& h) {
    std::string text = index;
    text.replace(text.find("{W}"), 3, w);
    text.replace(text.find("{H}"), 3, h);
    return std::vector<uint8_t>(text.begin(), text.end());
  };
  fs::create_directories(dir / "huge-index");
  ASSERT_EQ(tools::writeFile(path("huge-index/index.txt"), indexFor("32767", "32767")), "");
  fs::create_directories(dir / "huge-png");
  ASSERT_EQ(tools::writeFile(path("huge-png/index.txt"), indexFor("5", "3")), "");
  ASSERT_EQ(tools::writeFile(path("huge-png/frame-001.png"),
                             pngClaiming(30000, 30000, path("scratch.png"))),
            "");
  std::string notes;
  EXPECT_NE(tools::packSpriteFile(path("huge-index"), path("out.spr"), notes)
                .find("index.txt line 2: a frame of 32767x32767 pixels is larger than the limit"),
            std::string::npos);
  EXPECT_NE(tools::packSpriteFile(path("huge-png"), path("out.spr"), notes)
                .find("frame-001.png: a picture of 30000x30000 pixels is larger than the limit"),
            std::string::npos);

  // A frame of only transparent lines is small on disk but huge as a picture.
  std::vector<uint16_t> lines;
  for (int row = 0; row < 32767; ++row) lines.insert(lines.end(), {0, 32767});
  ASSERT_EQ(tools::writeFile(path("huge.spr"), spriteBytes({RawFrame{32767, 32767, 0, 0, lines}})),
            "");
  EXPECT_NE(tools::unpackSpriteFile(path("huge.spr"), path("frames")).find("larger than the limit"),
            std::string::npos);
}

}  // namespace
}  // namespace vane
