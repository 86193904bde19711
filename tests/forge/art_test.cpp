// SPDX-License-Identifier: GPL-3.0-or-later
// The forged sprite sheets: they load through the game's own loader, hold every frame the game
// draws, sit over the hit boxes, and come out the same on every run.
#include "art.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>

#include "gfx/sprite.h"
#include "tools/common/formats.h"

namespace vane::forge {
namespace {

const std::vector<SpriteFrame>& sheetOf(const std::string& name) {
  static const std::map<std::string, std::vector<SpriteFrame>> sheets = [] {
    std::map<std::string, std::vector<SpriteFrame>> all;
    for (const frames::SheetInfo& s : frames::kSheets) {
      for (ForgedFrame& f : makeSheet(s.sheet)) all[s.fileName].push_back(std::move(f.frame));
    }
    return all;
  }();
  return sheets.at(name);
}

const SpriteFrame& frameOf(const std::string& sheet, int n) {
  return sheetOf(sheet).at(static_cast<size_t>(n - 1));
}

// The highest frame number the game asks of each sheet.
const std::map<std::string, int> kFrameCounts = {
    {"player.spr", 21}, {"enemy.spr", 48}, {"eb.spr", 4},  {"back001.spr", 2},
    {"stage.spr", 6},   {"x.spr", 18},     {"etc.spr", 27}};

TEST(ForgedSheets, LoadThroughTheGameLoaderWithEveryFrameTheGameDraws) {
  for (const frames::SheetInfo& s : frames::kSheets) {
    SCOPED_TRACE(s.fileName);
    const std::vector<uint8_t> bytes = tools::spriteFileBytes(sheetOf(s.fileName));
    SpriteSheet sheet;
    ASSERT_EQ(loadSpriteSheetFromBytes(sheet, bytes, s.fileName, 0), 1);
    EXPECT_EQ(frameCountOf(sheet), kFrameCounts.at(s.fileName));
    for (int n = 1; n <= kFrameCounts.at(s.fileName); ++n) {
      const SpriteFrame* f = frameAt(sheet, n);
      ASSERT_NE(f, nullptr) << "frame " << n;
      EXPECT_GT(f->width, 0);
      EXPECT_GT(f->height, 0);
    }
  }
}

TEST(ForgedSheets, EveryRunLengthLineCoversExactlyItsWidth) {
  for (const frames::SheetInfo& s : frames::kSheets) {
    for (const SpriteFrame& f : sheetOf(s.fileName)) {
      const tools::Picture p = tools::decodeFrame(f);
      // Decoding reads every line to its width; encoding the result again must use every word.
      EXPECT_EQ(tools::encodeFrame(p).data, f.data) << s.fileName;
      EXPECT_EQ(f.dataSize, f.data.size() * 2) << s.fileName;
    }
  }
}

TEST(ForgedSheets, ScreensAndBackgroundsHaveTheSizesTheirPlacesNeed) {
  const SpriteFrame& stage1 = frameOf("stage.spr", 1);
  EXPECT_EQ(stage1.width, 320);
  EXPECT_GE(stage1.height, 1380);  // drawn at -900 when a stage starts
  const SpriteFrame& sky = frameOf("stage.spr", 2);
  EXPECT_EQ(sky.width, 320);
  EXPECT_EQ(sky.height, 480);
  for (int n : {1, 2}) {
    EXPECT_EQ(frameOf("back001.spr", n).width, 320);
    EXPECT_EQ(frameOf("back001.spr", n).height, 480);
  }
  for (int n : {20, 21}) {
    EXPECT_EQ(frameOf("etc.spr", n).width, 620);
    EXPECT_EQ(frameOf("etc.spr", n).height, 480);
  }
  // Backgrounds and panels are solid: nothing of the cleared screen shows through.
  for (const auto& [sheet, n] : std::vector<std::pair<std::string, int>>{{"stage.spr", 1},
                                                                         {"stage.spr", 2},
                                                                         {"back001.spr", 1},
                                                                         {"back001.spr", 2},
                                                                         {"etc.spr", 20},
                                                                         {"etc.spr", 21}}) {
    const tools::Picture p = tools::decodeFrame(frameOf(sheet, n));
    EXPECT_EQ(std::count(p.opaque.begin(), p.opaque.end(), 0), 0) << sheet << " " << n;
    EXPECT_EQ(p.hotX, 0);
    EXPECT_EQ(p.hotY, 0);
  }
}

double luminance(uint16_t p) {
  return (0.3 * ((p >> 10) & 31) + 0.59 * ((p >> 5) & 31) + 0.11 * (p & 31)) / 31.0;
}

double meanLuminance(const tools::Picture& p, int x0, int y0, int x1, int y1) {
  double sum = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) sum += luminance(p.pixels[static_cast<size_t>(y) * p.width + x]);
  }
  return sum / ((x1 - x0) * (y1 - y0));
}

TEST(ForgedSheets, KeyHelpOnTheRightPanelStandsOnADarkGround) {
  // The panel is drawn at x 329; the white help lines start at x 350, y 100 to 255, and the dark
  // ground reaches a few pixels further left, so no letter touches its edge.
  const tools::Picture panel = tools::decodeFrame(frameOf("back001.spr", 2));
  EXPECT_LT(meanLuminance(panel, 350 - 329, 100, 300, 256), 0.15);
  EXPECT_LT(meanLuminance(panel, 350 - 329 - 5, 100, 350 - 329, 256), 0.15);
}

TEST(ForgedSheets, StageTwoSkyJoinsItsBottomRowToItsTopRow) {
  const tools::Picture sky = tools::decodeFrame(frameOf("stage.spr", 2));
  auto rowDistance = [&](int a, int b) {
    double sum = 0;
    for (int x = 0; x < sky.width; ++x) {
      sum += std::abs(luminance(sky.pixels[static_cast<size_t>(a) * sky.width + x]) -
                      luminance(sky.pixels[static_cast<size_t>(b) * sky.width + x]));
    }
    return sum / sky.width;
  };
  double worstInside = 0;
  for (int y = 0; y + 1 < sky.height; ++y)
    worstInside = std::max(worstInside, rowDistance(y, y + 1));
  EXPECT_LE(rowDistance(sky.height - 1, 0), worstInside);
}

// The game-over and stage-clear lines are black and may fall on any part of the stage's ground and
// of what floats over it: every pixel of that art keeps a contrast of 4.5:1 against black (WCAG
// relative luminance of at least 0.175). tests/replay measures it on the frames themselves.
TEST(ForgedSheets, StageArtStandsBehindBlackLinesAnywhere) {
  const auto relativeLuminance = [](uint16_t p) {
    const auto linear = [](int five) {
      const double c = ((five << 3) | (five >> 2)) / 255.0;
      return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear((p >> 10) & 31) + 0.7152 * linear((p >> 5) & 31) +
           0.0722 * linear(p & 31);
  };
  for (int n = 1; n <= kFrameCounts.at("stage.spr"); ++n) {
    const tools::Picture p = tools::decodeFrame(frameOf("stage.spr", n));
    double darkest = 1;
    for (size_t i = 0; i < p.pixels.size(); ++i) {
      if (p.opaque[i] != 0) darkest = std::min(darkest, relativeLuminance(p.pixels[i]));
    }
    EXPECT_GE((darkest + 0.05) / 0.05, 4.5) << "stage.spr frame " << n;
  }
}

struct HitBox {
  const char* sheet;
  int frame;
  int left, top, right, bottom;
};

// Hit boxes of the actors against the frames drawn for them.
constexpr HitBox kHitBoxes[] = {
    {"player.spr", 3, -5, -7, 5, 7},     {"player.spr", 15, -5, -7, 5, 7},
    {"player.spr", 6, 0, 0, 5, 20},      {"player.spr", 7, 0, 0, 5, 5},
    {"player.spr", 11, 0, 0, 10, 20},    {"player.spr", 12, 0, 0, 10, 20},
    {"player.spr", 18, 0, 0, 5, 20},     {"player.spr", 19, 0, 0, 7, 25},
    {"player.spr", 20, -5, 0, 5, 30},    {"eb.spr", 1, -1, -1, 2, 2},
    {"eb.spr", 2, -4, -4, 5, 5},         {"eb.spr", 3, -7, -7, 7, 7},
    {"eb.spr", 4, -5, 0, 5, 30},         {"enemy.spr", 3, -9, 0, 9, 25},
    {"enemy.spr", 6, -10, 0, 11, 32},    {"enemy.spr", 7, -24, 0, 25, 50},
    {"enemy.spr", 10, -21, -10, 22, 11}, {"enemy.spr", 13, -21, -10, 22, 11},
    {"enemy.spr", 15, -15, 0, 14, 30},   {"enemy.spr", 22, -11, -11, 10, 10},
    {"enemy.spr", 28, -44, -34, 43, 33}, {"enemy.spr", 29, -44, -34, 43, 33},
    {"enemy.spr", 30, -37, -37, 37, 37}, {"enemy.spr", 39, -30, -65, 30, 65},
    {"enemy.spr", 43, -30, -65, 30, 65}, {"etc.spr", 14, -5, -5, 5, 5},
    {"etc.spr", 16, -15, -15, 15, 15}};

TEST(ForgedSheets, ActorPicturesSitOverTheirHitBoxes) {
  for (const HitBox& box : kHitBoxes) {
    SCOPED_TRACE(std::string(box.sheet) + " frame " + std::to_string(box.frame));
    const tools::Picture p = tools::decodeFrame(frameOf(box.sheet, box.frame));
    auto opaqueAt = [&](int x, int y) {
      const int px = x + p.hotX;
      const int py = y + p.hotY;
      return px >= 0 && py >= 0 && px < p.width && py < p.height &&
             p.opaque[static_cast<size_t>(py) * p.width + px] != 0;
    };
    // The middle of the box is painted, and the picture reaches at least most of the box.
    EXPECT_TRUE(opaqueAt((box.left + box.right) / 2, (box.top + box.bottom) / 2));
    EXPECT_LE(-p.hotX, box.left + (box.right - box.left) / 4);
    EXPECT_GE(p.width - p.hotX - 1, box.right - (box.right - box.left) / 4);
    EXPECT_LE(-p.hotY, box.top + (box.bottom - box.top) / 4);
    EXPECT_GE(p.height - p.hotY - 1, box.bottom - (box.bottom - box.top) / 4);
  }
}

TEST(ForgedData, TwoRunsWriteTheSameNineFiles) {
  const auto base =
      std::filesystem::temp_directory_path() / ("vane-forge-test-" + std::to_string(::getpid()));
  const std::string first = (base / "a").string();
  const std::string second = (base / "b").string();
  ASSERT_TRUE(writeDataFiles(first, ""));
  ASSERT_TRUE(writeDataFiles(second, ""));
  for (const char* name : {"player.spr", "enemy.spr", "eb.spr", "back001.spr", "stage.spr", "x.spr",
                           "etc.spr", "1.snd", "music.snd"}) {
    const auto a = tools::readFile((std::filesystem::path(first) / name).string());
    const auto b = tools::readFile((std::filesystem::path(second) / name).string());
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_EQ(a, b) << name;
  }
  std::filesystem::remove_all(base);
}

TEST(ForgedData, TheBuildsDataFolderHoldsWhatTheForgeMakesNow) {
  // The build forges with the source tree's art folder when it holds any pictures or clips.
  const auto scratch =
      std::filesystem::temp_directory_path() / ("vane-forge-now-" + std::to_string(::getpid()));
  const bool haveArt = std::filesystem::is_directory(VANE_ART_DIR);
  ASSERT_TRUE(writeDataFiles(scratch.string(), haveArt ? VANE_ART_DIR : ""));
  for (const char* name : {"player.spr", "enemy.spr", "eb.spr", "back001.spr", "stage.spr", "x.spr",
                           "etc.spr", "1.snd", "music.snd"}) {
    const std::string path = (std::filesystem::path(VANE_DATA_DIR) / name).string();
    ASSERT_TRUE(std::filesystem::exists(path)) << path << " (build the vane_data target)";
    EXPECT_EQ(tools::readFile(path), tools::readFile((scratch / name).string())) << name;
  }
  std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace vane::forge
