// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL sound device: one-shot and looping PCM buffers mixed in the audio callback.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/clip_samples.h"
#include "platform/options.h"
#include "platform/platform.h"

namespace vane::platform {

// The mixing core, free of any device: voices read their clip's own samples, stepping through
// them at the ratio of the clip's rate to the device's, and the sum is softly limited to 16 bits.
namespace mix {

// The rate the device opens at until the banks ask for theirs: the rate of the banks the game ships
// with, so that with them the device is opened once.
constexpr uint32_t kDefaultRate = 22050;
constexpr int kChannels = 2;  // the device plays interleaved left, right
constexpr int32_t kUnityGain = 1 << 15;

// Where one voice stands in its clip: frames in 32.32 fixed point.
struct Cursor {
  const ClipSamples* clip = nullptr;
  uint64_t position = 0;
  uint64_t step = uint64_t{1} << 32;  // clip frames a device frame, 32.32
  bool looping = false;
  int32_t gain = kUnityGain;  // 1.15
};

// The step through a clip of this rate on a device of that rate.
uint64_t stepFor(uint32_t clipRate, uint32_t deviceRate);

// Adds the voice's next sums.size() / 2 frames into the stereo sums, wrapping to its start when
// looping. Returns false once a one-shot voice has run out.
bool accumulate(std::span<int32_t> sums, Cursor& voice);
// Moves the voice on by that many device frames without sounding it, exactly as accumulate would.
bool advance(Cursor& voice, uint64_t frames);

// The mix's sum as a 16-bit sample: unchanged up to kLimiterKnee, then bent smoothly so that no
// sum, however loud, reaches past full scale.
constexpr int32_t kLimiterKnee = 24576;
int16_t softLimit(int32_t sum);
void limitTo16(std::span<const int32_t> sums, std::span<int16_t> out);

// A volume of 0..100 as a gain: the square of the fraction, so that the steps sound even.
int32_t gainForVolume(int volume);

}  // namespace mix

class SdlMixer {
 public:
  explicit SdlMixer(const SoundOptions& options = {});
  ~SdlMixer();
  SdlMixer(const SdlMixer&) = delete;
  SdlMixer& operator=(const SdlMixer&) = delete;

  // Opens the machine's audio output at the rate asked for (the device may choose another, then
  // the voices are resampled); false when there is none. Muted, no device is opened and the
  // buffers keep their time by the clock alone.
  bool open(uint32_t rate = mix::kDefaultRate);
  void close();
  // Opens the device again at this rate, when no buffer has been started yet and it was opened at
  // another.
  void preferRate(uint32_t rate);
  uint32_t deviceRate() const;
  // Inactive, the output is silent and the buffers stand still where they are.
  void setActive(bool active);
  void setVolumes(int music, int effects);

  BufferId create(const WaveFormat& format, uint32_t bytes);
  uint8_t* lock(BufferId buffer, uint32_t& bytes);
  bool unlock(BufferId buffer);
  void setGroup(BufferId buffer, SoundGroup group);
  bool play(BufferId buffer, bool looping);
  bool stop(BufferId buffer);
  uint32_t status(BufferId buffer);
  void release(BufferId buffer);
  // Distinct clips held for the buffers now alive (or released while a pass was reading them);
  // equal bytes are held once in the process, shared with the banks (see clip_samples.h).
  size_t clipsHeld();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vane::platform
