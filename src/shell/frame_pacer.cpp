// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a stage frame: sleeps until it is due, and spins only when this machine's sleeps are
// late.
#include "shell/frame_pacer.h"

#include <algorithm>

#include "host/host.h"

namespace vane {

namespace {

constexpr uint64_t kStageFrameNanos = 25'000'000;
// Sleeps that typically wake at most this late keep the median period within a tenth of a
// millisecond of 25 ms: no spin.
constexpr uint64_t kAccurateSleepNanos = 100'000;
// Never spin longer than this: later wake-ups come from a busy machine, which spinning only makes
// busier, and a frame a millisecond long still ends within the 99th percentile's bound.
constexpr uint64_t kMaxSpinNanos = 1'000'000;

int speedPercent = 100;
bool stageFramesPaced = true;

}  // namespace

bool isGameSpeed(int percent) {
  return std::find(kGameSpeeds.begin(), kGameSpeeds.end(), percent) != kGameSpeeds.end();
}

void setGameSpeed(int percent) {
  if (isGameSpeed(percent)) speedPercent = percent;
}

int gameSpeed() {
  return speedPercent;
}

uint64_t stageFrameNanos(int percent) {
  return kStageFrameNanos * 100 / static_cast<uint64_t>(percent);
}

void setStageFramePacing(bool paced) {
  stageFramesPaced = paced;
}

void SleepAccuracy::record(uint64_t lateNanos) {
  late_[next_] = lateNanos;
  next_ = (next_ + 1) % kSamples;
  count_ = std::min(count_ + 1, kSamples);
}

uint64_t SleepAccuracy::spinNanos() const {
  if (count_ == 0) return 0;
  std::array<uint64_t, kSamples> sorted = late_;
  // The median of recent lateness: occasional long delays (another process running) are not chased.
  const size_t index = count_ / 2;
  std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(index),
                   sorted.begin() + static_cast<std::ptrdiff_t>(count_));
  const uint64_t late = sorted[index];
  return late <= kAccurateSleepNanos ? 0 : std::min(late, kMaxSpinNanos);
}

void waitForFrameEnd(SleepAccuracy& accuracy, uint64_t startNanos, uint32_t startTick) {
  if (!stageFramesPaced) return;
  const uint64_t period = stageFrameNanos(speedPercent);
  const uint64_t deadline = startNanos + period;
  // The tick count is in whole milliseconds: due once it has counted the period's.
  const auto periodTicks = static_cast<uint32_t>(period / 1'000'000);
  for (;;) {
    const uint64_t now = host::monotonicNanos();
    const bool tickDue = static_cast<uint32_t>(host::tickCount() - startTick) >= periodTicks;
    if (now >= deadline && tickDue) return;
    // The tick count lags the monotonic clock by less than a millisecond: poll it out.
    if (now >= deadline) continue;
    const uint64_t spin = accuracy.spinNanos();
    const uint64_t left = deadline - now;
    if (left <= spin) continue;
    const uint64_t sleep = left - spin;
    host::sleepNanos(sleep);
    const uint64_t woke = host::monotonicNanos() - now;
    accuracy.record(woke > sleep ? woke - sleep : 0);
  }
}

}  // namespace vane
