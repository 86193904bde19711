// SPDX-License-Identifier: GPL-3.0-or-later
// Clip samples held once in the process: the sound banks and every device buffer share them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/platform.h"

namespace vane::platform {

// A clip's format and bytes, never changed once held.
struct ClipSamples {
  WaveFormat format;
  std::vector<uint8_t> bytes;
  // Whole frames of the format in the bytes; 0 for a format without a frame size.
  uint64_t frames() const;
};

using HeldSamples = std::shared_ptr<const ClipSamples>;

// The samples some holder keeps with this format and these bytes; nullptr when none are held.
HeldSamples heldSamplesLike(const WaveFormat& format, std::span<const uint8_t> bytes);
// The samples held for these bytes: those already held when there are (the given bytes are then
// dropped), else these, now held. Samples stay while any holder keeps them, whoever took them
// first.
HeldSamples holdSamples(const WaveFormat& format, std::vector<uint8_t> bytes);

}  // namespace vane::platform
