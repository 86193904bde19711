// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a stage frame: sleeps until it is due, and spins only when this machine's sleeps are
// late.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vane {

// Sleep accuracy as measured on the running machine: how late recent sleeps woke up.
class SleepAccuracy {
 public:
  void record(uint64_t lateNanos);
  // How long before a deadline to stop sleeping and poll the clock; 0 while sleeps are accurate.
  uint64_t spinNanos() const;

 private:
  static constexpr size_t kSamples = 32;
  std::array<uint64_t, kSamples> late_{};
  size_t count_ = 0;
  size_t next_ = 0;
};

// Waits until the frame begun at `startNanos` (monotonic) and `startTick` (tick count) has lasted
// 25 ms on both clocks.
void waitForFrameEnd(SleepAccuracy& accuracy, uint64_t startNanos, uint32_t startTick);

}  // namespace vane
