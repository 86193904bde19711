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

// The game speeds a player may choose, in percent of full speed: a slower game only lengthens the
// stage frame's period (25 ms at 100 %, 50 ms at 50 %); every frame does what it does at full
// speed.
inline constexpr std::array<int, 6> kGameSpeeds{100, 90, 80, 70, 60, 50};
bool isGameSpeed(int percent);
void setGameSpeed(int percent);
int gameSpeed();
// How long a stage frame lasts at `percent` of full speed.
uint64_t stageFrameNanos(int percent);

// Waits until the frame begun at `startNanos` (monotonic) and `startTick` (tick count) has lasted
// the stage frame's period at the game speed on both clocks.
void waitForFrameEnd(SleepAccuracy& accuracy, uint64_t startNanos, uint32_t startTick);

// Off: stage frames end at once, and whoever runs them paces them (a replay's player).
void setStageFramePacing(bool paced);

}  // namespace vane
