// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the sound-bank loader from bytes, then converts and mixes every clip it stored.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "audio/sound.h"
#include "platform/headless/headless.h"
#include "platform/sdl/mixer.h"

namespace {

// Mixes the clip's converted samples once through and once looping into a short device buffer.
void mixClip(const vane::SoundClip& clip) {
  namespace mix = vane::platform::mix;
  const std::vector<int16_t> samples =
      mix::convertToDevice(clip.format, std::span<const uint8_t>(clip.data, clip.length));
  std::array<int32_t, 1024> sums{};
  std::array<int16_t, 1024> out{};
  for (const bool looping : {false, true}) {
    mix::Cursor cursor{samples, 0, looping};
    for (int pass = 0; pass < 3 && mix::accumulate(sums, cursor); ++pass) {
    }
  }
  mix::clipTo16(sums, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vane::platform::HeadlessBackend backend;
  backend.echoDialogs = false;
  backend.dialogs.clear();
  vane::platform::setBackend(&backend);
  vane::SoundBank bank;
  if (!vane::loadSoundBankFromBytes(bank, std::span<const uint8_t>(data, size))) return 0;
  for (int n = 1; const vane::SoundClip* clip = vane::clipAt(bank, n); ++n) mixClip(*clip);
  return 0;
}
