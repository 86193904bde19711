// The SDL sound device: one-shot and looping PCM buffers mixed in the audio callback.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/platform.h"

namespace vane::platform {

class SdlMixer {
 public:
  SdlMixer();
  ~SdlMixer();
  SdlMixer(const SdlMixer&) = delete;
  SdlMixer& operator=(const SdlMixer&) = delete;

  // Opens the machine's audio output; false when there is none.
  bool open();
  void close();
  BufferId create(const WaveFormat& format, uint32_t bytes);
  uint8_t* lock(BufferId buffer, uint32_t& bytes);
  bool unlock(BufferId buffer);
  bool play(BufferId buffer, bool looping);
  bool stop(BufferId buffer);
  uint32_t status(BufferId buffer);
  void release(BufferId buffer);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The mixing core, free of any device: the device plays 16-bit stereo frames at kMixRate.
namespace mix {

constexpr int kMixRate = 44100;
constexpr int kMixChannels = 2;

// Whether the device can take clips of this wave format: PCM, 8 or 16 bits, mono or stereo.
bool playableFormat(const WaveFormat& format);

// The clip's whole frames converted to the device's samples (interleaved left, right); empty
// when the format is not playable.
std::vector<int16_t> convertToDevice(const WaveFormat& format, std::span<const uint8_t> data);

// Where one voice stands in its converted samples.
struct Cursor {
  std::span<const int16_t> samples;
  size_t position = 0;  // in samples, always a whole frame
  bool looping = false;
};

// Adds the voice's next samples into the accumulator, wrapping to its start when looping.
// Returns false once a one-shot voice has run out (its cursor then stands at its end).
bool accumulate(std::span<int32_t> accumulator, Cursor& voice);

// The accumulated sums clipped to 16 bits.
void clipTo16(std::span<const int32_t> accumulator, std::span<int16_t> out);

}  // namespace mix

}  // namespace vane::platform
