// SPDX-License-Identifier: GPL-3.0-or-later
// The one mixer: voices over held clips, resampled, summed and softly limited, pulled by an output.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/mix/sound_format.h"

namespace vane::platform {

// The mixing core: voices read their clip's own samples, stepping through
// them at the ratio of the clip's rate to the device's, and the sum is softly limited to 16 bits.
namespace mix {

// The rate the device opens at until the banks ask for theirs: the rate of the banks the game ships
// with, so that with them the device is opened once.
constexpr uint32_t kDefaultRate = 22050;
constexpr int kChannels = 2;  // the device plays interleaved left, right
constexpr int32_t kUnityGain = 1 << 15;

// Where one voice stands in its clip: frames in 32.32 fixed point.
struct Cursor {
  const ClipSamples* clip = nullptr;
  uint64_t position = 0;
  uint64_t step = uint64_t{1} << 32;  // clip frames a device frame, 32.32
  bool looping = false;
  int32_t gain = kUnityGain;  // 1.15
};

// The step through a clip of this rate on a device of that rate.
uint64_t stepFor(uint32_t clipRate, uint32_t deviceRate);

// Adds the voice's next sums.size() / 2 frames into the stereo sums, wrapping to its start when
// looping. Returns false once a one-shot voice has run out.
bool accumulate(std::span<int32_t> sums, Cursor& voice);
// Moves the voice on by that many device frames without sounding it, exactly as accumulate would.
bool advance(Cursor& voice, uint64_t frames);

// The mix's sum as a 16-bit sample: unchanged up to kLimiterKnee, then bent smoothly so that no
// sum, however loud, reaches past full scale.
constexpr int32_t kLimiterKnee = 24576;
int16_t softLimit(int32_t sum);
void limitTo16(std::span<const int32_t> sums, std::span<int16_t> out);

// A volume of 0..100 as a gain: the square of the fraction, so that the steps sound even.
int32_t gainForVolume(int volume);

}  // namespace mix

// Voices over held clips. The game's side adds, starts, stops and removes voices; the audio
// output's thread pulls the mix. Once started a voice's clip no longer changes: only its flags and
// position move, and those are atomic.
class Mixer {
 public:
  using VoiceId = uint32_t;  // 0 is no voice

  Mixer(int musicVolume, int effectVolume);
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  void setRate(uint32_t rate);
  uint32_t rate() const { return rate_.load(); }
  void setVolumes(int music, int effects);

  // A voice standing silent at the clip's start.
  VoiceId add(HeldSamples clip, bool music);
  void setMusic(VoiceId voice, bool music);
  // False when too many voices have been started.
  bool start(VoiceId voice, bool looping);
  void stop(VoiceId voice);
  // A one-shot voice that has run out is no longer playing and stands at its start again.
  bool playing(VoiceId voice);
  bool looping(VoiceId voice);
  bool started(VoiceId voice);
  bool music(VoiceId voice);
  void remove(VoiceId voice);
  bool anyStarted();
  void clear();
  // Distinct clips held by the voices alive (or removed while a pass was reading them).
  size_t clipsHeld();

  // Moves every sounding voice on by `frames` and writes their mix, interleaved stereo, to `out`
  // (unless nullptr: then time passes silently). The audio output's thread calls it.
  void pull(int16_t* out, size_t frames);
  static void pullInto(void* mixer, int16_t* out, size_t frames);

 private:
  struct Voice;
  struct Retired;
  Voice* find(VoiceId id);
  void list(Voice* voice);
  void freeRetired();

  VoiceId nextId_ = 1;
  std::unordered_map<VoiceId, std::unique_ptr<Voice>> voices_;
  std::vector<Retired> retired_;
  // Shared with the audio thread: the started voices and their copy, under the lock; the rest
  // atomic.
  std::mutex listLock_;
  std::vector<Voice*> started_;
  std::vector<Voice*> snapshot_;
  std::atomic<uint64_t> passesStarted_{0};
  std::atomic<uint64_t> passesEnded_{0};
  std::atomic<uint32_t> rate_{mix::kDefaultRate};
  std::atomic<int32_t> musicGain_;
  std::atomic<int32_t> effectGain_;
  std::vector<int32_t> sums_;
};

}  // namespace vane::platform
