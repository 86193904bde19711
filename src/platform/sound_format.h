// SPDX-License-Identifier: GPL-3.0-or-later
// The clips the sound device plays: one check shared by every back end and the bank loader.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace vane::platform {

constexpr uint32_t kMinSoundRate = 1000;
constexpr uint32_t kMaxSoundRate = 192000;
// The device keeps one copy of each clip as written; no clip may ask for more than this.
constexpr uint32_t kMaxClipBytes = 32u << 20;

// Why the device cannot play a clip of this format and size; empty when it can. The device plays
// PCM of 8 (unsigned) or 16 (signed) bits, mono or stereo, at kMinSoundRate..kMaxSoundRate, with
// the block size and byte rate that follow from those.
std::string clipRefusal(const WaveFormat& format, uint32_t bytes);

}  // namespace vane::platform
