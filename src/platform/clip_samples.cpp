// SPDX-License-Identifier: GPL-3.0-or-later
// Clip samples held once in the process, found again by a sampled key and a full compare.
#include "platform/clip_samples.h"

#include <sys/mman.h>

#include <algorithm>
#include <mutex>
#include <new>
#include <unordered_map>

namespace vane::platform {

namespace {

bool sameFormat(const WaveFormat& a, const WaveFormat& b) {
  return a.formatTag == b.formatTag && a.channels == b.channels &&
         a.samplesPerSec == b.samplesPerSec && a.avgBytesPerSec == b.avgBytesPerSec &&
         a.blockAlign == b.blockAlign && a.bitsPerSample == b.bitsPerSample &&
         a.extraSize == b.extraSize;
}

// A key for finding equal samples: the format, the size and bytes taken from along the clip, cheap
// however long it is; equal keys are then told apart by comparing the whole clip.
uint64_t keyOf(const WaveFormat& format, std::span<const uint8_t> bytes) {
  constexpr size_t kSamples = 256;
  uint64_t key = 0xcbf29ce484222325ull ^ bytes.size() ^ uint64_t { format.samplesPerSec } << 32 ^
                 uint64_t { format.channels } << 24 ^ uint64_t { format.bitsPerSample } << 16;
  const size_t stride = std::max<size_t>(1, bytes.size() / kSamples);
  for (size_t i = 0; i < bytes.size(); i += stride) {
    key ^= bytes[i];
    key *= 0x100000001b3ull;
  }
  return key;
}

// Every held clip, by key. Only the holders own the samples; an entry whose samples are gone is
// dropped at the next look.
struct Registry {
  std::mutex lock;
  std::unordered_multimap<uint64_t, std::weak_ptr<const ClipSamples>> held;
};

Registry& registry() {
  static Registry r;
  return r;
}

// Equal samples held, under the registry's lock.
HeldSamples find(Registry& r, uint64_t key, const WaveFormat& format,
                 std::span<const uint8_t> bytes) {
  std::erase_if(r.held, [](const auto& entry) { return entry.second.expired(); });
  const auto [first, last] = r.held.equal_range(key);
  for (auto it = first; it != last; ++it) {
    HeldSamples samples = it->second.lock();
    if (samples && sameFormat(samples->format, format) &&
        std::ranges::equal(samples->bytes, bytes)) {
      return samples;
    }
  }
  return nullptr;
}

}  // namespace

constexpr size_t kFromSystemBytes = size_t{64} << 10;

void* allocateSampleBytes(size_t bytes) {
  if (bytes < kFromSystemBytes) return ::operator new(bytes);
  // Populated at once: every byte is about to be written, and one call costs less than a fault a
  // page.
  void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  return p;
}

void freeSampleBytes(void* p, size_t bytes) {
  if (bytes < kFromSystemBytes) {
    ::operator delete(p);
  } else {
    ::munmap(p, bytes);
  }
}

uint64_t ClipSamples::frames() const {
  const uint64_t frameBytes = uint64_t{format.channels} * format.bitsPerSample / 8;
  return frameBytes == 0 ? 0 : bytes.size() / frameBytes;
}

HeldSamples heldSamplesLike(const WaveFormat& format, std::span<const uint8_t> bytes) {
  Registry& r = registry();
  const uint64_t key = keyOf(format, bytes);
  std::lock_guard<std::mutex> hold(r.lock);
  return find(r, key, format, bytes);
}

HeldSamples holdSamples(const WaveFormat& format, SampleBytes bytes) {
  Registry& r = registry();
  const uint64_t key = keyOf(format, bytes);
  std::lock_guard<std::mutex> hold(r.lock);
  if (HeldSamples held = find(r, key, format, bytes)) return held;
  auto made = std::make_shared<const ClipSamples>(ClipSamples{format, std::move(bytes)});
  r.held.emplace(key, made);
  return made;
}

}  // namespace vane::platform
