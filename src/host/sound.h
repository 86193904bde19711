// SPDX-License-Identifier: GPL-3.0-or-later
// The sound device as the game drives it: buffers over clips, played once or looping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/mix/sound_format.h"
#include "platform/options.h"

namespace vane::host {

using platform::HeldSamples;
using platform::WaveFormat;

// A sound buffer of the device; 0 is no buffer.
using BufferId = uint32_t;
constexpr uint32_t kStatusPlaying = 1;
constexpr uint32_t kStatusLooping = 4;
// Which of the player's two volumes a buffer follows.
enum class SoundGroup : uint8_t { Effects, Music };

// What the player chose for the sound: muted, no audio output is opened and the buffers play
// silently, by the clock.
using SoundSettings = platform::SoundOptions;
void setSoundSettings(const SoundSettings& settings);

// Opens the audio output. Without one (or muted) the buffers still start, play for their length
// and end, by the clock, silently.
bool createSoundDevice();
// The rate the clips share, if they do: the output then runs at it and resamples nothing. It is
// opened anew at that rate while no buffer has been started yet.
void preferSoundRate(uint32_t samplesPerSec);
// A buffer playing `bytes` of the clip's samples, which it shares; 0 when the device cannot play
// the format or the size.
BufferId createBuffer(const HeldSamples& samples, uint32_t bytes);
// A buffer follows the effects' volume unless set to the music's.
void setSoundGroup(BufferId buffer, SoundGroup group);
// The buffer's bytes, which hold its clip already; nullptr on failure or once it has started.
const uint8_t* lockBuffer(BufferId buffer, uint32_t& bytes);
bool unlockBuffer(BufferId buffer);
bool play(BufferId buffer, bool looping);
bool stop(BufferId buffer);
uint32_t status(BufferId buffer);
void releaseBuffer(BufferId buffer);
void releaseSoundDevice();

// The output's rate, and whether sound is heard at all (an output is open and not muted).
uint32_t soundRate();
bool soundAudible();
// Distinct clips held by the buffers alive.
size_t clipsHeld();

// What the game asked of the buffers, in order, kept while asked to (for tests).
struct SoundOp {
  enum Kind { Create, Play, Loop, Stop, Release } kind;
  BufferId buffer;
};
void keepSoundOps(bool keep);
const std::vector<SoundOp>& soundOps();
// A buffer alive: its samples and whether it plays; nullopt once released.
struct BufferState {
  HeldSamples samples;
  uint32_t bytes = 0;
  bool playing = false;
  bool looping = false;
  SoundGroup group = SoundGroup::Effects;
};
std::optional<BufferState> bufferState(BufferId buffer);

}  // namespace vane::host
