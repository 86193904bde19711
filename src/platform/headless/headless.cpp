// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory back end used by tests and vane-sim.
#include "platform/headless/headless.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/sound_format.h"

namespace vane::platform {

namespace {
// Each clock query moves time on by a microsecond, so a loop that polls the clock always ends.
constexpr uint64_t kQueryStepNanos = 1'000;
}  // namespace

HeadlessBackend::HeadlessBackend() : front_(static_cast<size_t>(kWidth) * kHeight, 0) {}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::setKeyHeld(int virtualKey, bool held) {
  if (virtualKey < 0 || virtualKey > 255) return;
  held_[static_cast<size_t>(virtualKey)] = held;
  keyboardState[static_cast<size_t>(virtualKey)] = held ? 0x80 : 0;
}

void HeadlessBackend::releaseAllKeys() {
  for (int k = 0; k < 256; ++k) setKeyHeld(k, false);
}

void HeadlessBackend::advanceNanos(uint64_t nanos) {
  nanos_ += nanos;
}

const HeadlessBackend::Buffer* HeadlessBackend::buffer(BufferId id) const {
  const auto at = buffers_.find(id);
  return at == buffers_.end() ? nullptr : at->second.get();
}

HeadlessBackend::Buffer* HeadlessBackend::find(BufferId id) {
  const auto at = buffers_.find(id);
  if (at == buffers_.end() || at->second->released) return nullptr;
  return at->second.get();
}

uint64_t HeadlessBackend::screenHash() const {
  uint64_t h = 0xcbf29ce484222325ull;
  for (uint16_t w : front_) {
    for (uint8_t byte : {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>(w >> 8)}) {
      h ^= byte;
      h *= 0x100000001b3ull;
    }
  }
  return h;
}

bool HeadlessBackend::refuses(Step step) const {
  switch (step) {
    case Step::RegisterClass:
      return failRegisterClass;
    case Step::ReadPixelFormat:
      return failPixelFormat;
    case Step::Describe:
      return failDescribe;
    case Step::Lock:
      return failLock;
    case Step::Unlock:
      return failUnlock;
  }
  return false;
}

bool HeadlessBackend::keyHeld(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return false;
  return held_[static_cast<size_t>(virtualKey)];
}

void HeadlessBackend::getKeyboardState(uint8_t state[256]) {
  std::memcpy(state, keyboardState.data(), 256);
}

void HeadlessBackend::setKeyboardState(const uint8_t state[256]) {
  std::memcpy(keyboardState.data(), state, 256);
}

uint64_t HeadlessBackend::monotonicNanos() {
  nanos_ += kQueryStepNanos;
  return nanos_;
}

void HeadlessBackend::sleepNanos(uint64_t nanos) {
  nanos_ += nanos;
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

bool HeadlessBackend::present(const uint16_t* pixels) {
  ++flips;
  std::copy_n(pixels, front_.size(), front_.begin());
  return true;
}

bool HeadlessBackend::createSoundDevice() {
  if (failSoundDevice) return false;
  soundReady_ = true;
  return true;
}

void HeadlessBackend::preferSoundRate(uint32_t samplesPerSec) {
  preferredSoundRate = samplesPerSec;
}

// Refuses exactly what the SDL device refuses, so a bank plays here as it does in the game.
BufferId HeadlessBackend::createBuffer(const WaveFormat& format, uint32_t bytes) {
  if (!soundReady_ || failCreateBuffer || bytes == 0 || !clipRefusal(format, bytes).empty()) {
    return 0;
  }
  auto b = std::make_unique<Buffer>();
  b->format = format;
  b->bytes.assign(bytes, 0);
  const BufferId id = nextBuffer_++;
  buffers_.emplace(id, std::move(b));
  record(SoundOp{SoundOp::Create, id});
  return id;
}

void HeadlessBackend::setSoundGroup(BufferId id, SoundGroup group) {
  if (Buffer* b = find(id)) b->group = group;
}

uint8_t* HeadlessBackend::lockBuffer(BufferId id, uint32_t& bytes) {
  Buffer* b = find(id);
  if (b == nullptr || failLockBuffer) return nullptr;
  bytes = static_cast<uint32_t>(b->bytes.size());
  return b->bytes.data();
}

bool HeadlessBackend::unlockBuffer(BufferId id) {
  return find(id) != nullptr && !failUnlockBuffer;
}

bool HeadlessBackend::play(BufferId id, bool looping) {
  Buffer* b = find(id);
  if (b == nullptr) return false;
  if (!b->playing) b->startedNanos = nanos_;
  b->playing = true;
  b->looping = looping;
  record(SoundOp{looping ? SoundOp::Loop : SoundOp::Play, id});
  return true;
}

bool HeadlessBackend::stop(BufferId id) {
  Buffer* b = find(id);
  if (b == nullptr) return false;
  b->playing = false;
  record(SoundOp{SoundOp::Stop, id});
  return true;
}

uint32_t HeadlessBackend::status(BufferId id) {
  Buffer* b = find(id);
  if (b == nullptr || !b->playing) return 0;
  if (b->looping) return kStatusPlaying | kStatusLooping;
  const uint64_t rate = b->format.avgBytesPerSec == 0 ? 1 : b->format.avgBytesPerSec;
  const uint64_t lengthNanos = b->bytes.size() * 1'000'000'000ull / rate;
  if (nanos_ - b->startedNanos >= lengthNanos) b->playing = false;
  return b->playing ? kStatusPlaying : 0;
}

void HeadlessBackend::releaseBuffer(BufferId id) {
  Buffer* b = find(id);
  if (b == nullptr) return;
  record(SoundOp{SoundOp::Release, id});
  if (!keepRecords) {
    buffers_.erase(id);
    return;
  }
  b->released = true;
  b->playing = false;
  b->bytes.clear();
  b->bytes.shrink_to_fit();
}

void HeadlessBackend::releaseSoundDevice() {
  soundReady_ = false;
  soundReleased = true;
}

void HeadlessBackend::record(const SoundOp& op) {
  if (keepRecords) soundOps.push_back(op);
}

}  // namespace vane::platform
