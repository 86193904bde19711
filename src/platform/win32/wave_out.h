// SPDX-License-Identifier: GPL-3.0-or-later
// Sound through the waveOut interface: a thread of its own keeps a few buffers queued, each filled
// by pulling the portable mixer.
#pragma once

#include <windows.h>
// After windows.h, which declares its types.
#include <mmsystem.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace vane::platform::win32 {

class WaveOut {
 public:
  WaveOut() = default;
  ~WaveOut();
  WaveOut(const WaveOut&) = delete;
  WaveOut& operator=(const WaveOut&) = delete;

  // Starts playing what `pull` mixes at `rate`; false (with the reason on stderr) when no device
  // plays it.
  bool open(uint32_t rate, AudioPull pull, void* user, bool verbose);
  // Paused, the mixer is not pulled and the buffers play silence.
  void pause(bool paused) { paused_ = paused; }
  void close();

  // Four buffers of 1024 frames: 93 ms queued at 44.1 kHz, so a frame late by a whole 25 ms
  // period never starves the device.
  static constexpr size_t kBuffers = 4;
  static constexpr size_t kBufferFrames = 1024;

 private:
  void play();
  void fill(WAVEHDR& header);

  HWAVEOUT device_ = nullptr;
  HANDLE done_ = nullptr;  // set by the device whenever a buffer has played
  AudioPull pull_ = nullptr;
  void* user_ = nullptr;
  std::atomic<bool> paused_{false};
  std::atomic<bool> stopping_{false};
  std::array<WAVEHDR, kBuffers> headers_{};
  std::array<std::vector<int16_t>, kBuffers> samples_;
  std::thread thread_;
};

}  // namespace vane::platform::win32
