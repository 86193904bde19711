// SPDX-License-Identifier: GPL-3.0-or-later
// Clip samples held once in the process: the sound banks and every device buffer share them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/platform.h"

namespace vane::platform {

// Sample bytes from the heap when short; long ones straight from the system and straight back to
// it when freed, so that a piece that has stopped leaves nothing behind.
void* allocateSampleBytes(size_t bytes);
void freeSampleBytes(void* p, size_t bytes);

template <typename T>
struct SampleAllocator {
  using value_type = T;
  SampleAllocator() = default;
  template <typename U>
  SampleAllocator(const SampleAllocator<U>&) {}
  T* allocate(size_t n) { return static_cast<T*>(allocateSampleBytes(n * sizeof(T))); }
  void deallocate(T* p, size_t n) { freeSampleBytes(p, n * sizeof(T)); }
  bool operator==(const SampleAllocator&) const = default;
};
using SampleBytes = std::vector<uint8_t, SampleAllocator<uint8_t>>;

// A clip's format and bytes, never changed once held.
struct ClipSamples {
  WaveFormat format;
  SampleBytes bytes;
  // Whole frames of the format in the bytes; 0 for a format without a frame size.
  uint64_t frames() const;
};

using HeldSamples = std::shared_ptr<const ClipSamples>;

// The samples some holder keeps with this format and these bytes; nullptr when none are held.
HeldSamples heldSamplesLike(const WaveFormat& format, std::span<const uint8_t> bytes);
// The samples held for these bytes: those already held when there are (the given bytes are then
// dropped), else these, now held. Samples stay while any holder keeps them, whoever took them
// first.
HeldSamples holdSamples(const WaveFormat& format, SampleBytes bytes);

}  // namespace vane::platform
