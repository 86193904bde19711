// SPDX-License-Identifier: GPL-3.0-or-later
// Sound buffers as handles onto the clips' samples, played by the one mixer an output pulls.
#include "host/sound.h"

#include <memory>
#include <unordered_map>

#include "host/host.h"
#include "host/internal.h"
#include "platform/mix/mixer.h"
#include "platform/platform.h"

namespace vane::host {

namespace {

constexpr uint64_t kNanosPerSecond = 1'000'000'000;

struct Buffer {
  HeldSamples samples;
  uint32_t bytes = 0;
  platform::Mixer::VoiceId voice = 0;
};

struct Sound {
  SoundSettings settings;
  bool created = false;
  bool outputOpen = false;  // an output pulls the mix; else the clock moves it, silently
  bool active = true;
  uint32_t askedRate = 0;  // the rate last asked of the output, which may have chosen another
  std::unique_ptr<platform::Mixer> mixer;
  std::unordered_map<BufferId, Buffer> buffers;
  BufferId nextId = 1;
  // Without an output, where the clock stood at the last look, and the part of a frame carried.
  uint64_t lastNanos = 0;
  uint64_t carriedNanoFrames = 0;
};
Sound sound;
bool keepOps = false;
std::vector<SoundOp> ops;

void record(SoundOp::Kind kind, BufferId id) {
  if (keepOps) ops.push_back(SoundOp{kind, id});
}

// Without an output, plays silently the frames the clock says have passed since the last look.
void catchUp() {
  if (!sound.created || sound.outputOpen || !sound.active) return;
  const uint64_t now = platform::backend().now();
  const uint64_t nanoFrames =
      (now - sound.lastNanos) * sound.mixer->rate() + sound.carriedNanoFrames;
  sound.lastNanos = now;
  sound.carriedNanoFrames = nanoFrames % kNanosPerSecond;
  if (nanoFrames >= kNanosPerSecond) sound.mixer->pull(nullptr, nanoFrames / kNanosPerSecond);
}

bool openOutput(uint32_t rate) {
  sound.askedRate = rate;
  uint32_t opened = rate;
  if (sound.settings.mute ||
      !platform::backend().openAudio(rate, &platform::Mixer::pullInto, sound.mixer.get(), opened)) {
    sound.outputOpen = false;
    sound.mixer->setRate(rate);
    sound.lastNanos = platform::backend().now();
    sound.carriedNanoFrames = 0;
    return false;
  }
  sound.outputOpen = true;
  sound.mixer->setRate(opened);
  if (!sound.active) platform::backend().pauseAudio(true);
  return true;
}

Buffer* find(BufferId id) {
  const auto it = sound.buffers.find(id);
  return it == sound.buffers.end() ? nullptr : &it->second;
}

}  // namespace

void setSoundSettings(const SoundSettings& settings) {
  sound.settings = settings;
  if (sound.mixer) sound.mixer->setVolumes(settings.musicVolume, settings.effectVolume);
}

bool createSoundDevice() {
  if (sound.created) return true;
  if (faults().soundDevice) return false;
  sound.mixer =
      std::make_unique<platform::Mixer>(sound.settings.musicVolume, sound.settings.effectVolume);
  sound.created = true;
  openOutput(platform::mix::kDefaultRate);
  return true;
}

void preferSoundRate(uint32_t rate) {
  if (!sound.created || rate == sound.mixer->rate() || rate == sound.askedRate ||
      rate < platform::kMinSoundRate || rate > platform::kMaxSoundRate ||
      sound.mixer->anyStarted()) {
    return;
  }
  catchUp();
  if (sound.outputOpen) platform::backend().closeAudio();
  openOutput(rate);
}

BufferId createBuffer(const HeldSamples& samples, uint32_t bytes) {
  if (!sound.created || faults().createBuffer || samples == nullptr || bytes == 0 ||
      !platform::clipRefusal(samples->format, bytes).empty()) {
    return 0;
  }
  catchUp();
  const BufferId id = sound.nextId++;
  sound.buffers.emplace(id, Buffer{samples, bytes, sound.mixer->add(samples, false)});
  record(SoundOp::Create, id);
  return id;
}

void setSoundGroup(BufferId id, SoundGroup group) {
  if (Buffer* b = find(id)) sound.mixer->setMusic(b->voice, group == SoundGroup::Music);
}

const uint8_t* lockBuffer(BufferId id, uint32_t& bytes) {
  Buffer* b = find(id);
  // A started buffer's clip may be in use by the output, so it is not handed out again.
  if (b == nullptr || faults().lockBuffer || sound.mixer->started(b->voice)) return nullptr;
  bytes = b->bytes;
  return b->samples->bytes.data();
}

bool unlockBuffer(BufferId id) {
  const Buffer* b = find(id);
  return b != nullptr && !faults().unlockBuffer && !sound.mixer->started(b->voice);
}

bool play(BufferId id, bool looping) {
  catchUp();
  const Buffer* b = find(id);
  if (b == nullptr || !sound.mixer->start(b->voice, looping)) return false;
  record(looping ? SoundOp::Loop : SoundOp::Play, id);
  return true;
}

bool stop(BufferId id) {
  catchUp();
  const Buffer* b = find(id);
  if (b == nullptr) return false;
  sound.mixer->stop(b->voice);
  record(SoundOp::Stop, id);
  return true;
}

uint32_t status(BufferId id) {
  catchUp();
  const Buffer* b = find(id);
  if (b == nullptr || !sound.mixer->playing(b->voice)) return 0;
  return sound.mixer->looping(b->voice) ? kStatusPlaying | kStatusLooping : kStatusPlaying;
}

void releaseBuffer(BufferId id) {
  catchUp();
  const auto it = sound.buffers.find(id);
  if (it == sound.buffers.end()) return;
  sound.mixer->remove(it->second.voice);
  sound.buffers.erase(it);
  record(SoundOp::Release, id);
}

void releaseSoundDevice() {
  if (!sound.created) return;
  if (sound.outputOpen) platform::backend().closeAudio();
  sound.outputOpen = false;
  sound.buffers.clear();
  sound.mixer.reset();
  sound.created = false;
}

uint32_t soundRate() {
  return sound.mixer ? sound.mixer->rate() : 0;
}

bool soundAudible() {
  return sound.outputOpen;
}

size_t clipsHeld() {
  return sound.mixer ? sound.mixer->clipsHeld() : 0;
}

void keepSoundOps(bool keep) {
  keepOps = keep;
  ops.clear();
}

const std::vector<SoundOp>& soundOps() {
  return ops;
}

std::optional<BufferState> bufferState(BufferId id) {
  const Buffer* b = find(id);
  if (b == nullptr) return std::nullopt;
  return BufferState{b->samples, b->bytes, sound.mixer->playing(b->voice),
                     sound.mixer->looping(b->voice),
                     sound.mixer->music(b->voice) ? SoundGroup::Music : SoundGroup::Effects};
}

void internal::setSoundActive(bool active) {
  if (active == sound.active) return;
  catchUp();
  sound.active = active;
  if (!sound.created) return;
  sound.lastNanos = platform::backend().now();
  if (sound.outputOpen) platform::backend().pauseAudio(!active);
}

void internal::resetSound() {
  releaseSoundDevice();
  sound = Sound{};
  ops.clear();
}

}  // namespace vane::host
