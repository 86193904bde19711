// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the sound-bank loader from bytes, then mixes every clip it found playable, once through
// and looping, at a common device rate and at a rate far from the clip's.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "audio/sound.h"
#include "host/host.h"
#include "platform/headless/headless.h"
#include "platform/mix/mixer.h"

namespace {

void mixClip(const vane::SoundClip& clip) {
  namespace mix = vane::platform::mix;
  std::array<int32_t, 512> sums{};
  std::array<int16_t, 512> out{};
  for (const uint32_t deviceRate : {44100u, 8000u}) {
    for (const bool looping : {false, true}) {
      mix::Cursor cursor{clip.samples.get(), 0, mix::stepFor(clip.format.samplesPerSec, deviceRate),
                         looping};
      for (int pass = 0; pass < 3 && mix::accumulate(sums, cursor); ++pass) {
      }
      mix::advance(cursor, 1000);
    }
  }
  mix::limitTo16(sums, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vane::platform::HeadlessBackend backend;
  backend.echoDialogs = false;
  backend.keepRecords = false;
  vane::platform::setBackend(&backend);
  vane::SoundBank bank;
  if (!vane::loadSoundBankFromBytes(bank, std::span<const uint8_t>(data, size))) return 0;
  for (int n = 1; const vane::SoundClip* clip = vane::clipAt(bank, n); ++n) {
    if (clip->playable) mixClip(*clip);
  }
  return 0;
}
