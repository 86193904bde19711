// SPDX-License-Identifier: GPL-3.0-or-later
// The null back end used by tests and vane-sim.
#include "platform/headless/headless.h"

#include <algorithm>
#include <cstdio>

namespace vane::platform {

namespace {
// Each clock query moves time on by a microsecond, so a loop that polls the clock always ends.
constexpr uint64_t kQueryStepNanos = 1'000;
constexpr uint64_t kNanosPerSecond = 1'000'000'000;
constexpr uint64_t kFnvBasis = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;
constexpr size_t kChunkFrames = 1024;

uint64_t fnvBytes(uint64_t h, uint16_t word) {
  for (uint8_t byte : {static_cast<uint8_t>(word & 0xFF), static_cast<uint8_t>(word >> 8)}) {
    h ^= byte;
    h *= kFnvPrime;
  }
  return h;
}
}  // namespace

HeadlessBackend::HeadlessBackend()
    : front_(static_cast<size_t>(kWidth) * kHeight, 0), mixHash_(kFnvBasis) {}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::advanceNanos(uint64_t nanos) {
  nanos_ += nanos;
  mixToNow();
}

void HeadlessBackend::pushEvent(const Event& event) {
  events_.push_back(event);
}

bool HeadlessBackend::pollEvent(Event& out) {
  if (nextEvent_ == events_.size()) {
    events_.clear();
    nextEvent_ = 0;
    return false;
  }
  out = events_[nextEvent_++];
  return true;
}

uint64_t HeadlessBackend::screenHash() const {
  uint64_t h = kFnvBasis;
  for (uint16_t w : front_) h = fnvBytes(h, w);
  return h;
}

uint64_t HeadlessBackend::takeMixHash() {
  mixToNow();
  const uint64_t h = mixHash_;
  mixHash_ = kFnvBasis;
  return h;
}

uint64_t HeadlessBackend::now() {
  nanos_ += kQueryStepNanos;
  mixToNow();
  return nanos_;
}

void HeadlessBackend::sleep(uint64_t nanos) {
  nanos_ += nanos;
  mixToNow();
}

void HeadlessBackend::messageBox(std::string_view text, std::string_view title, Icon icon) {
  if (keepRecords) dialogs.push_back(Dialog{std::string(text), std::string(title), icon});
  if (echoDialogs) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
  }
}

bool HeadlessBackend::openDisplay(bool& is565) {
  if (failDisplay) return false;
  is565 = use565Layout;
  return true;
}

bool HeadlessBackend::present(const uint16_t* pixels, std::span<const Block> changed) {
  ++flips;
  for (const Block& block : changed) {
    for (int row = block.rows.first; row < block.rows.end; ++row) {
      const auto at = static_cast<std::ptrdiff_t>(row) * kWidth;
      std::copy(pixels + at + block.columns.first, pixels + at + block.columns.end,
                front_.begin() + at + block.columns.first);
    }
  }
  return true;
}

bool HeadlessBackend::openAudio(uint32_t rate, AudioPull pull, void* user, uint32_t& openedRate) {
  if (failAudio) return false;
  pull_ = pull;
  pullUser_ = user;
  audioOpen = true;
  audioRate = rate;
  openedRate = rate;
  audioPaused_ = false;
  mixedNanos_ = nanos_;
  carriedNanoFrames_ = 0;
  chunk_.assign(kChunkFrames * 2, 0);
  return true;
}

void HeadlessBackend::pauseAudio(bool paused) {
  mixToNow();
  audioPaused_ = paused;
  mixedNanos_ = nanos_;
}

void HeadlessBackend::closeAudio() {
  mixToNow();
  pull_ = nullptr;
  audioOpen = false;
}

void HeadlessBackend::mixToNow() {
  if (pull_ == nullptr || audioPaused_) return;
  const uint64_t nanoFrames = (nanos_ - mixedNanos_) * audioRate + carriedNanoFrames_;
  mixedNanos_ = nanos_;
  carriedNanoFrames_ = nanoFrames % kNanosPerSecond;
  for (uint64_t frames = nanoFrames / kNanosPerSecond; frames > 0;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(frames, kChunkFrames));
    pull_(pullUser_, chunk_.data(), n);
    for (size_t i = 0; i < n * 2; ++i)
      mixHash_ = fnvBytes(mixHash_, static_cast<uint16_t>(chunk_[i]));
    if (keepMix)
      mixed.insert(mixed.end(), chunk_.begin(),
                   chunk_.begin() + static_cast<std::ptrdiff_t>(n * 2));
    frames -= n;
  }
}

}  // namespace vane::platform
