// SPDX-License-Identifier: GPL-3.0-or-later
// Placement of the picture in windows of several sizes under both scaling modes, the first window
// size, the rows that changed, and the 60 Hz pacing of flips, sent or held.
#include "platform/picture/presentation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "host/changes.h"

namespace vane::platform {
namespace {

using host::changedBlocks;
using host::changedColumns;
using host::changedRows;
using host::kStripRows;

void expectRect(const PictureRect& r, int x, int y, int width, int height) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.width, width);
  EXPECT_EQ(r.height, height);
}

TEST(FitPicture, LargestWholeScaleCentred) {
  expectRect(fitPicture(640, 480, 640, 480), 0, 0, 640, 480);
  expectRect(fitPicture(800, 600, 640, 480), 80, 60, 640, 480);
  expectRect(fitPicture(1280, 960, 640, 480), 0, 0, 1280, 960);
  expectRect(fitPicture(1920, 1080, 640, 480), 320, 60, 1280, 960);
  expectRect(fitPicture(2560, 1440, 640, 480), 320, 0, 1920, 1440);
  expectRect(fitPicture(3840, 2160, 640, 480), 640, 120, 2560, 1920);
  expectRect(fitPicture(1279, 959, 640, 480), 319, 239, 640, 480);
}

TEST(FitPicture, SmallerOutputShrinksKeepingTheShape) {
  expectRect(fitPicture(320, 480, 640, 480), 0, 120, 320, 240);
  expectRect(fitPicture(640, 240, 640, 480), 160, 0, 320, 240);
  expectRect(fitPicture(0, 480, 640, 480), 0, 0, 0, 0);
}

TEST(PlacePicture, BothModesOnCommonAndOddOutputs) {
  struct Case {
    int outputWidth, outputHeight;
    PictureRect fit;
    int step;  // the whole enlargement before the linear step to `fit`
    PictureRect integer;
  };
  const Case cases[] = {
      {640, 480, {0, 0, 640, 480}, 1, {0, 0, 640, 480}},
      {1366, 768, {171, 0, 1024, 768}, 2, {363, 144, 640, 480}},
      {1920, 1080, {240, 0, 1440, 1080}, 3, {320, 60, 1280, 960}},
      {1280, 960, {0, 0, 1280, 960}, 2, {0, 0, 1280, 960}},
      {1024, 768, {0, 0, 1024, 768}, 2, {192, 144, 640, 480}},
      {1365, 767, {171, 0, 1022, 767}, 2, {362, 143, 640, 480}},
      {801, 1001, {0, 200, 801, 600}, 2, {80, 260, 640, 480}},
      {3841, 2161, {480, 0, 2881, 2161}, 5, {640, 120, 2560, 1920}},
      {333, 555, {0, 153, 333, 249}, 1, {0, 153, 333, 249}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.outputWidth << "x" << c.outputHeight);
    const PictureRect fit = placePicture(ScaleMode::Fit, c.outputWidth, c.outputHeight, 640, 480);
    expectRect(fit, c.fit.x, c.fit.y, c.fit.width, c.fit.height);
    // The shape is kept to the pixel, whatever the output.
    EXPECT_LE(std::abs(fit.width * 3 - fit.height * 4), 4);
    EXPECT_EQ(enlargementFor(fit, 640, 480), c.step);
    expectRect(placePicture(ScaleMode::Integer, c.outputWidth, c.outputHeight, 640, 480),
               c.integer.x, c.integer.y, c.integer.width, c.integer.height);
  }
}

TEST(FirstWindowSize, LargestWholeMultipleWithRoomForDecorations) {
  struct Case {
    int usableWidth, usableHeight, width, height;
  };
  const Case cases[] = {
      {1366, 768, 640, 480},    {1920, 1080, 1280, 960}, {1920, 1048, 1280, 960},
      {1280, 960, 640, 480},    {1312, 1024, 1280, 960}, {2560, 1440, 1280, 960},
      {3840, 2160, 2560, 1920}, {640, 480, 554, 416},    {0, 0, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.usableWidth << "x" << c.usableHeight);
    const WindowSize size = firstWindowSize(c.usableWidth, c.usableHeight, 640, 480);
    EXPECT_EQ(size.width, c.width);
    EXPECT_EQ(size.height, c.height);
  }
}

// A window's inside with its decorations always lies wholly in the usable area it is placed in.
TEST(PlaceWindow, ClampedSoThatWindowAndDecorationsFitTheUsableAreaCentred) {
  struct Case {
    const char* what;
    WindowSize wanted;
    PictureRect usable;
    Decorations decorations;
    PictureRect placed;
  };
  const Decorations none{};
  const Decorations titled{19, 1, 1, 1};
  const Case cases[] = {
      {"fits as it is", {640, 480}, {0, 0, 1366, 768}, none, {363, 144, 640, 480}},
      {"a maximised size, decorations known",
       {1366, 749},
       {0, 0, 1366, 768},
       titled,
       {1, 19, 1364, 748}},
      {"a maximised size, decorations assumed",
       {1366, 749},
       {0, 0, 1366, 768},
       kAssumedDecorations,
       {16, 48, 1334, 704}},
      {"under a top panel", {1366, 768}, {0, 27, 1366, 741}, titled, {1, 46, 1364, 721}},
      {"on a second display", {1920, 1200}, {1366, 0, 1920, 1080}, none, {1366, 0, 1920, 1080}},
      {"on a display left of the first",
       {800, 600},
       {-1024, 0, 1024, 768},
       titled,
       {-912, 84, 800, 600}},
      {"too wide only", {3000, 400}, {0, 0, 1366, 768}, none, {0, 184, 1366, 400}},
      {"a usable area smaller than the decorations",
       {640, 480},
       {0, 0, 20, 40},
       kAssumedDecorations,
       {16, 48, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PictureRect r = placeWindow(c.wanted, c.usable, c.decorations);
    expectRect(r, c.placed.x, c.placed.y, c.placed.width, c.placed.height);
    if (c.usable.width < 40) continue;
    EXPECT_GE(r.x - c.decorations.left, c.usable.x);
    EXPECT_GE(r.y - c.decorations.top, c.usable.y);
    EXPECT_LE(r.x + r.width + c.decorations.right, c.usable.x + c.usable.width);
    EXPECT_LE(r.y + r.height + c.decorations.bottom, c.usable.y + c.usable.height);
  }
}

TEST(ChangedRows, BandsOfRowsAndColumnsHoldEveryDifference) {
  struct Case {
    std::vector<int> changed;  // pixel indices in an 8 x 6 picture
    RowBand rows;
    RowBand columns;
  };
  const Case cases[] = {
      {{1 * 8 + 5}, {1, 2}, {5, 6}},
      {{1 * 8 + 7, 3 * 8 + 0}, {1, 4}, {0, 8}},
      {{2 * 8 + 4, 4 * 8 + 2, 3 * 8 + 6}, {2, 5}, {2, 7}},  // widest on a middle row
      {{0, 5 * 8 + 7}, {0, 6}, {0, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.changed.front());
    std::vector<uint16_t> before(8 * 6, 7);
    std::vector<uint16_t> after = before;
    EXPECT_TRUE(changedRows(before.data(), after.data(), 8, RowBand{0, 6}).empty());
    for (const int at : c.changed) after[static_cast<size_t>(at)] = 1;
    const RowBand rows = changedRows(before.data(), after.data(), 8, RowBand{0, 6});
    const RowBand columns = changedColumns(before.data(), after.data(), 8, rows);
    EXPECT_EQ(rows.first, c.rows.first);
    EXPECT_EQ(rows.end, c.rows.end);
    EXPECT_EQ(columns.first, c.columns.first);
    EXPECT_EQ(columns.end, c.columns.end);
  }
}

TEST(ChangedRows, BandFromFirstToLastDifferingRow) {
  std::vector<uint16_t> before(8 * 6, 7);
  std::vector<uint16_t> after = before;
  EXPECT_TRUE(changedRows(before.data(), after.data(), 8, RowBand{0, 6}).empty());
  after[1 * 8 + 7] = 1;
  after[3 * 8 + 0] = 1;
  RowBand band = changedRows(before.data(), after.data(), 8, RowBand{0, 6});
  EXPECT_EQ(band.first, 1);
  EXPECT_EQ(band.end, 4);
  after[5 * 8 + 3] = 1;
  after[0] = 1;
  band = changedRows(before.data(), after.data(), 8, RowBand{0, 6});
  EXPECT_EQ(band.first, 0);
  EXPECT_EQ(band.end, 6);
}

// Differences are gathered strip by strip: sprites far apart make small blocks of their own.
TEST(ChangedBlocks, EachStripWithDifferencesGivesTheBlockHoldingThem) {
  constexpr int kTall = kStripRows * 2 + 16;  // the last strip is cut short
  struct Case {
    std::vector<std::pair<int, int>> changed;  // row, column in an 8-wide picture
    std::vector<Block> blocks;
  };
  const Case cases[] = {
      {{}, {}},
      {{{5, 3}}, {{{5, 6}, {3, 4}}}},
      {{{2, 1}, {40, 6}}, {{{2, 3}, {1, 2}}, {{40, 41}, {6, 7}}}},
      {{{kStripRows - 1, 0}, {kStripRows, 7}}, {{{31, 32}, {0, 1}}, {{32, 33}, {7, 8}}}},
      {{{70, 2}, {kTall - 1, 5}, {66, 4}}, {{{66, kTall}, {2, 6}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.changed.size());
    std::vector<uint16_t> before(8 * kTall, 7);
    std::vector<uint16_t> after = before;
    for (const auto& [row, column] : c.changed) after[static_cast<size_t>(row * 8 + column)] = 1;
    std::vector<Block> blocks{Block{}};  // cleared first
    changedBlocks(before.data(), after.data(), 8, kTall, blocks);
    ASSERT_EQ(blocks.size(), c.blocks.size());
    for (size_t i = 0; i < blocks.size(); ++i) {
      EXPECT_EQ(blocks[i].rows.first, c.blocks[i].rows.first);
      EXPECT_EQ(blocks[i].rows.end, c.blocks[i].rows.end);
      EXPECT_EQ(blocks[i].columns.first, c.blocks[i].columns.first);
      EXPECT_EQ(blocks[i].columns.end, c.blocks[i].columns.end);
    }
  }
}

constexpr uint64_t kPeriod = FlipPacer::kPeriodNanos;

TEST(FlipPacer, HeldFlipsKeepTheSixtyHertzScheduleAndDoNotEndTheTrust) {
  // Unwaiting display: a still picture (held flips) and a moving one (presents), mixed, keep
  // to the same schedule.
  FlipPacer paced(false);
  uint64_t now = 0;
  for (int frame = 0; frame < 600; ++frame) {
    const bool still = frame % 5 != 0;
    now += (still ? paced.waitBeforeHold(now) : paced.waitBeforePresent(now)) + 200'000;
    if (still) {
      paced.held(now);
    } else {
      paced.presented(now);
    }
  }
  EXPECT_NEAR(static_cast<double>(now), 599.0 * kPeriod, 500'000.0);

  // Waiting display: a held flip takes a whole period, as the display's own wait would have,
  // and the presents around held ones are not judged early.
  FlipPacer trusted(true);
  now = 0;
  uint64_t previous = 0;
  for (int frame = 0; frame < 3 * FlipPacer::kJudgedPresents; ++frame) {
    now += 1'000'000;  // drawing the frame
    if (frame % 2 == 0) {
      now += trusted.waitBeforePresent(now);
      now = (now / kPeriod + 1) * kPeriod;  // the display waits for its next blank
      trusted.presented(now);
    } else {
      now += trusted.waitBeforeHold(now);
      trusted.held(now);
    }
    if (frame > 0) {
      EXPECT_EQ(now - previous, kPeriod);
    }
    previous = now;
  }
  EXPECT_FALSE(trusted.pacing());
}

TEST(FlipPacer, UnwaitingDisplayIsPacedAtSixtyHertz) {
  FlipPacer pacer(false);
  EXPECT_TRUE(pacer.pacing());
  EXPECT_EQ(pacer.waitBeforePresent(1'000), 0u);
  pacer.presented(1'000);
  // A frame drawn in 2 ms waits out the rest of the period.
  EXPECT_EQ(pacer.waitBeforePresent(2'001'000), kPeriod - 2'000'000);
}

TEST(FlipPacer, OvershootingSleepsDoNotAddUp) {
  FlipPacer pacer(false);
  uint64_t now = 0;
  pacer.presented(now);
  for (int frame = 1; frame <= 600; ++frame) {
    now += pacer.waitBeforePresent(now) + 200'000;  // every sleep ends 0.2 ms late
    pacer.presented(now);
  }
  // 600 frames last ten seconds, give or take one late wake-up.
  EXPECT_NEAR(static_cast<double>(now), 600.0 * kPeriod, 250'000.0);
}

TEST(FlipPacer, SlowFrameRestartsTheSchedule) {
  FlipPacer pacer(false);
  pacer.presented(0);
  pacer.presented(100'000'000);  // a frame that took 100 ms
  EXPECT_EQ(pacer.waitBeforePresent(100'000'000), kPeriod);
}

TEST(FlipPacer, DisplayThatWaitsIsTrusted) {
  FlipPacer pacer(true);
  uint64_t now = 0;
  for (int i = 0; i <= 3 * FlipPacer::kJudgedPresents; ++i) {
    EXPECT_EQ(pacer.waitBeforePresent(now), 0u);
    pacer.presented(now);
    // The present waited for the vertical blank; now and then a frame misses one.
    now += i % 7 == 0 ? 2 * kPeriod : kPeriod;
  }
  EXPECT_FALSE(pacer.pacing());
}

TEST(FlipPacer, DisplayThatClaimsToWaitButReturnsAtOnceIsPaced) {
  FlipPacer pacer(true);
  uint64_t now = 0;
  int presents = 0;
  while (!pacer.pacing()) {
    const uint64_t wait = pacer.waitBeforePresent(now);
    // Even while trusted the flips never come faster than twice a 60 Hz period.
    if (presents > 0) {
      EXPECT_GE(wait, kPeriod / 2 - 100'000);
    }
    now += wait + 100'000;
    pacer.presented(now);
    ASSERT_LT(++presents, FlipPacer::kJudgedPresents);
  }
  EXPECT_GE(pacer.waitBeforePresent(now + 1'000'000), kPeriod - 1'000'000 - 100'000);
}

TEST(FlipPacer, DisplayThatOftenReturnsEarlyIsPaced) {
  // Presents that take anything from 2 to 22 ms, as a slow display server without vertical
  // blank gives them: on average near a period, but no real wait.
  FlipPacer pacer(true);
  const uint64_t intervals[] = {15'000'000, 20'000'000, 11'000'000, 17'000'000, 2'000'000,
                                21'000'000, 13'000'000, 10'000'000, 22'000'000, 9'000'000};
  uint64_t now = 0;
  for (int i = 0; i < FlipPacer::kJudgedPresents && !pacer.pacing(); ++i) {
    pacer.presented(now);
    now += std::max(intervals[i % 10], pacer.waitBeforePresent(now));
  }
  EXPECT_TRUE(pacer.pacing());
}

}  // namespace
}  // namespace vane::platform
