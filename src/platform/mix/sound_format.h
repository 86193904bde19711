// SPDX-License-Identifier: GPL-3.0-or-later
// PCM clips: the wave format, a clip's samples held once, and the one check of what can be played.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vane::platform {

// The 18-byte wave format of a PCM clip, field for field.
struct WaveFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;
};

// A clip's format and bytes, never changed once made: the banks hold them, and every sound
// buffer playing the clip shares them.
struct ClipSamples {
  WaveFormat format;
  std::vector<uint8_t> bytes;
  // Whole frames of the format in the bytes; 0 for a format without a frame size.
  uint64_t frames() const;
};
using HeldSamples = std::shared_ptr<const ClipSamples>;
HeldSamples holdSamples(const WaveFormat& format, std::vector<uint8_t> bytes);

constexpr uint32_t kMinSoundRate = 1000;
constexpr uint32_t kMaxSoundRate = 192000;
// No clip may ask for more than this.
constexpr uint32_t kMaxClipBytes = 32u << 20;

// Why the mixer cannot play a clip of this format and size; empty when it can. It plays PCM of 8
// (unsigned) or 16 (signed) bits, mono or stereo, at kMinSoundRate..kMaxSoundRate, with the block
// size and byte rate that follow from those.
std::string clipRefusal(const WaveFormat& format, uint32_t bytes);

}  // namespace vane::platform
