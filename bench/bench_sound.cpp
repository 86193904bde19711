// SPDX-License-Identifier: GPL-3.0-or-later
// Frame-thread cost of one play on the host's sound buffers over the SDL audio output (dummy
// driver), with the forged banks.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "audio/sound.h"
#include "host/host.h"
#include "platform/headless/headless.h"
#include "platform/sdl/sdl_backend.h"

namespace {

using vane::host::BufferId;

// The clips as the game holds them, read once from the forged banks.
struct Banks {
  vane::platform::HeadlessBackend dialogs;
  Banks() {
    vane::platform::setBackend(&dialogs);
    const std::string dir = VANE_DATA_DIR;
    vane::loadSoundBank(vane::effectsBank, (dir + "/1.snd").c_str());
    vane::loadSoundBank(vane::musicBank, (dir + "/music.snd").c_str());
  }
};

const vane::SoundClip& clip(bool music, int n) {
  static Banks banks;
  return *vane::clipAt(music ? vane::musicBank : vane::effectsBank, n);
}

// What the game does for each play: the clip's samples (read again when kept in the file), a fresh
// buffer sharing them, started, later released.
void playOnce(const vane::SoundClip& c) {
  const BufferId id = vane::host::createBuffer(vane::clipSamples(c), c.length);
  uint32_t bytes = 0;
  vane::host::lockBuffer(id, bytes);
  vane::host::unlockBuffer(id);
  vane::host::play(id, false);
  vane::host::releaseBuffer(id);
}

void playClip(benchmark::State& state) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  const vane::SoundClip& c = clip(state.range(0) != 0, 1);
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  const auto output = vane::platform::makeSdlBackend();
  if (output == nullptr) {
    state.SkipWithError("no SDL");
    return;
  }
  vane::platform::setBackend(output.get());
  vane::host::createSoundDevice();
  if (!vane::host::soundAudible()) {
    state.SkipWithError("no audio device");
    return;
  }
  // A clip never played before: a held copy with one byte changed each time, made untimed, so
  // nothing earlier can be reused.
  const bool fresh = state.range(1) != 0;
  vane::SoundClip own = c;
  for (auto _ : state) {
    if (fresh) {
      state.PauseTiming();
      std::vector<uint8_t> bytes = vane::clipSamples(c)->bytes;
      bytes[bytes.size() / 2] = static_cast<uint8_t>(state.iterations());
      own.samples = vane::platform::holdSamples(c.format, std::move(bytes));
      own.file = nullptr;
      state.ResumeTiming();
    }
    playOnce(fresh ? own : c);
  }
  vane::host::releaseSoundDevice();
  vane::platform::setBackend(nullptr);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * c.length);
}

}  // namespace

// Arguments: music (1) or the first effect (0); a clip never played before (1) or the same again.
BENCHMARK(playClip)
    ->ArgNames({"music", "fresh"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);
