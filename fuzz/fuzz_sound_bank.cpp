// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the sound-bank loader from bytes and reads every clip it stored.
#include <cstddef>
#include <cstdint>
#include <span>

#include "audio/sound.h"
#include "platform/headless/headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vane::platform::HeadlessBackend backend;
  backend.echoDialogs = false;
  vane::platform::setBackend(&backend);
  vane::SoundBank bank;
  if (!vane::loadSoundBankFromBytes(bank, std::span<const uint8_t>(data, size))) return 0;
  // Touch every byte each clip claims to hold, so a length beyond its data shows up.
  unsigned sum = 0;
  for (int n = 1; const vane::SoundClip* clip = vane::clipAt(bank, n); ++n) {
    for (uint32_t i = 0; i < clip->length; ++i) sum += clip->data[i];
  }
  return static_cast<int>(sum & 0);
}
