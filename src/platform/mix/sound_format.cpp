// SPDX-License-Identifier: GPL-3.0-or-later
// Held clip samples, and the one check of a clip's format and size.
#include "platform/mix/sound_format.h"

#include <utility>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vane::platform {

namespace {
constexpr uint16_t kPcmTag = 1;

#if defined(__GLIBC__)
// A piece of music is read from its bank file each time it starts and freed when it stops. glibc
// raises its threshold for taking blocks straight from the system to the size of the first such
// block freed, after which pieces come from the heap and their pages stay when they are freed; a
// fixed threshold keeps every long clip's bytes going straight back to the system.
constexpr int kFromSystemBytes = 64 << 10;
[[maybe_unused]] const int fixedThreshold = mallopt(M_MMAP_THRESHOLD, kFromSystemBytes);
#endif
}  // namespace

uint64_t ClipSamples::frames() const {
  const uint64_t frameBytes = uint64_t{format.channels} * format.bitsPerSample / 8;
  return frameBytes == 0 ? 0 : bytes.size() / frameBytes;
}

HeldSamples holdSamples(const WaveFormat& format, std::vector<uint8_t> bytes) {
  return std::make_shared<const ClipSamples>(ClipSamples{format, std::move(bytes)});
}

std::string clipRefusal(const WaveFormat& f, uint32_t bytes) {
  using std::to_string;
  if (f.formatTag != kPcmTag) return "format tag " + to_string(f.formatTag) + " is not PCM";
  if (f.channels != 1 && f.channels != 2)
    return to_string(f.channels) + " channels (1 or 2 are played)";
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16)
    return to_string(f.bitsPerSample) + " bits a sample (8 or 16 are played)";
  if (f.samplesPerSec < kMinSoundRate || f.samplesPerSec > kMaxSoundRate) {
    return to_string(f.samplesPerSec) + " Hz (" + to_string(kMinSoundRate) + " to " +
           to_string(kMaxSoundRate) + " Hz are played)";
  }
  const uint32_t frameBytes = uint32_t{f.channels} * f.bitsPerSample / 8;
  if (f.blockAlign != frameBytes) {
    return "block of " + to_string(f.blockAlign) + " bytes where " + to_string(f.channels) +
           " channels of " + to_string(f.bitsPerSample) + " bits take " + to_string(frameBytes);
  }
  // Both back ends time a clip by its byte rate, so it must be the one the samples have.
  if (f.avgBytesPerSec != f.samplesPerSec * frameBytes) {
    return to_string(f.avgBytesPerSec) + " bytes a second where " + to_string(f.samplesPerSec) +
           " Hz take " + to_string(f.samplesPerSec * frameBytes);
  }
  if (bytes > kMaxClipBytes) {
    return to_string(bytes) + " bytes (at most " + to_string(kMaxClipBytes) + " are kept)";
  }
  return {};
}

}  // namespace vane::platform
