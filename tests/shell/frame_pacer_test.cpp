// SPDX-License-Identifier: GPL-3.0-or-later
// Stage frame pacing: how long it sleeps, when it spins, and that a frame never ends early.
#include "shell/frame_pacer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "host/host.h"
#include "platform/headless/headless.h"

namespace vane::testing {
namespace {

// A machine whose sleeps wake `lateNanos` after they were due, and that counts clock queries.
class LateSleeper : public platform::HeadlessBackend {
 public:
  explicit LateSleeper(uint64_t lateNanos) : late_(lateNanos) {}
  void sleep(uint64_t nanos) override {
    ++sleeps;
    HeadlessBackend::sleep(nanos + late_);
  }
  uint64_t now() override {
    ++polls;
    return HeadlessBackend::now();
  }
  int sleeps = 0;
  int polls = 0;

 private:
  uint64_t late_;
};

TEST(FramePacerTest, SpinsOnlyAsLongAsRecentSleepsWereLate) {
  struct Case {
    uint64_t late;
    int samples;
    uint64_t spin;
  };
  // Accurate sleeps (up to 0.1 ms late) never spin; late ones spin by their lateness, at most 1 ms.
  for (const Case& c : {Case{0, 0, 0}, Case{50'000, 32, 0}, Case{100'000, 32, 0},
                        Case{300'000, 32, 300'000}, Case{9'000'000, 32, 1'000'000}}) {
    SleepAccuracy accuracy;
    for (int i = 0; i < c.samples; ++i) accuracy.record(c.late);
    EXPECT_EQ(accuracy.spinNanos(), c.spin) << c.late;
  }
  // Delays on a busy machine, a third of the sleeps, are not chased.
  SleepAccuracy accuracy;
  for (int i = 0; i < 32; ++i) accuracy.record(i % 3 == 0 ? 4'000'000 : 20'000);
  EXPECT_EQ(accuracy.spinNanos(), 0u);
}

TEST(FramePacerTest, FramesLastTheGameSpeedsPeriodAndEndCloseToIt) {
  struct Case {
    int speed;
    uint64_t late;
    uint64_t period;
  };
  // 25 ms at full speed, 50 ms at half; a slower game is only a longer period.
  for (const Case& c :
       {Case{100, 0, 25'000'000}, Case{100, 60'000, 25'000'000}, Case{100, 400'000, 25'000'000},
        Case{50, 0, 50'000'000}, Case{50, 400'000, 50'000'000}, Case{90, 60'000, 27'777'777}}) {
    LateSleeper machine(c.late);
    platform::setBackend(&machine);
    setGameSpeed(c.speed);
    SleepAccuracy accuracy;
    uint64_t longest = 0;
    for (int frame = 0; frame < 50; ++frame) {
      const uint64_t start = machine.now();
      const uint32_t tick = host::tickCount();
      machine.sleeps = 0;
      machine.polls = 0;
      waitForFrameEnd(accuracy, start, tick);
      const uint64_t lasted = machine.now() - start;
      EXPECT_GE(lasted, c.period);
      EXPECT_GE(host::tickCount() - tick, c.period / 1'000'000);
      if (frame >= 32) longest = std::max(longest, lasted);
      // A machine with accurate sleeps is never polled in a loop.
      if (c.late == 0 && frame > 0) {
        EXPECT_LE(machine.polls, 8) << frame;
      }
    }
    // Once the lateness is known, a frame overshoots by no more than a sleep's lateness.
    EXPECT_LE(longest, c.period + c.late + 50'000u) << c.speed << "% " << c.late;
    setGameSpeed(100);
    platform::setBackend(nullptr);
  }
}

}  // namespace
}  // namespace vane::testing
