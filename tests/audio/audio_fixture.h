// SPDX-License-Identifier: GPL-3.0-or-later
// Bank bytes built from test clips, and a headless sound device with the sound events recorded.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "audio/sound.h"
#include "host/host.h"
#include "platform/headless/headless.h"
#include "tools/common/formats.h"

namespace vane::testing {

// A 16-bit mono clip at 22050 Hz (44100 bytes a second) lasting the given milliseconds.
inline tools::Clip clipOfMillis(int millis, uint8_t fill = 7) {
  tools::Clip clip;
  clip.format = tools::pcm16Format(22050, 1);
  clip.data.assign(static_cast<size_t>(millis) * 441 / 10, fill);
  return clip;
}

class AudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.echoDialogs = false;
    platform::setBackend(&backend);
    host::keepSoundOps(true);
    host::createSoundDevice();
    resetAudio();
    setSoundEventHook([this](const SoundEvent& e) { events.push_back(e); });
  }
  void TearDown() override {
    setSoundEventHook(nullptr);
    resetAudio();
    host::resetHost();
    host::keepSoundOps(false);
    platform::setBackend(nullptr);
  }

  void loadBank(SoundBank& bank, const std::vector<tools::Clip>& clips) {
    loadSoundBankFromBytes(bank, tools::soundBankBytes(clips));
  }
  static uint64_t millis(int n) { return static_cast<uint64_t>(n) * 1'000'000; }
  static std::vector<host::SoundOp::Kind> opKinds() {
    std::vector<host::SoundOp::Kind> kinds;
    for (const auto& op : host::soundOps()) kinds.push_back(op.kind);
    return kinds;
  }

  platform::HeadlessBackend backend;
  std::vector<SoundEvent> events;
};

}  // namespace vane::testing
