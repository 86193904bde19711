// Placement of the picture in windows of several sizes, and the 60 Hz pacing of flips.
#include "platform/sdl/presentation.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vane::platform {
namespace {

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

constexpr uint64_t kPeriod = FlipPacer::kPeriodNanos;

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
