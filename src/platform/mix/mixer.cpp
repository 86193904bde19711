// SPDX-License-Identifier: GPL-3.0-or-later
// Mixing voices: 32.32 cursors through each clip, linear steps between frames, the soft limiter.
#include "platform/mix/mixer.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <utility>

namespace vane::platform {

namespace mix {

namespace {

constexpr int kFractionBits = 15;

struct Frame {
  int32_t left;
  int32_t right;
};

template <int Bits, int Channels>
Frame frameAt(const uint8_t* bytes, uint64_t index) {
  if constexpr (Bits == 8) {
    const uint8_t* p = bytes + index * Channels;
    const int32_t left = (int32_t{p[0]} - 128) * 256;
    return {left, Channels == 2 ? (int32_t{p[1]} - 128) * 256 : left};
  } else {
    const uint8_t* p = bytes + index * 2 * Channels;
    const int32_t left = static_cast<int16_t>(p[0] | p[1] << 8);
    return {left, Channels == 2 ? static_cast<int16_t>(p[2] | p[3] << 8) : left};
  }
}

int32_t between(int32_t a, int32_t b, int32_t fraction) {
  return a + static_cast<int32_t>((int64_t{b} - a) * fraction >> kFractionBits);
}

// Past the end a one-shot voice has run out; a looping one goes round again.
bool wrapped(Cursor& voice, uint64_t end) {
  if (voice.position < end) return true;
  if (!voice.looping) return false;
  voice.position %= end;
  return true;
}

template <int Bits, int Channels>
bool mixVoice(std::span<int32_t> sums, Cursor& voice) {
  const uint8_t* bytes = voice.clip->bytes.data();
  const uint64_t frames = voice.clip->frames();
  const uint64_t end = frames << 32;
  for (size_t out = 0; out + 1 < sums.size(); out += kChannels) {
    if (!wrapped(voice, end)) return false;
    const uint64_t index = voice.position >> 32;
    Frame s = frameAt<Bits, Channels>(bytes, index);
    // Between two frames, the straight line from one to the next (the first again in a loop).
    const auto fraction =
        static_cast<int32_t>((voice.position >> (32 - kFractionBits)) & ((1 << kFractionBits) - 1));
    if (fraction != 0) {
      const uint64_t next = index + 1 < frames ? index + 1 : (voice.looping ? 0 : index);
      const Frame b = frameAt<Bits, Channels>(bytes, next);
      s = Frame{between(s.left, b.left, fraction), between(s.right, b.right, fraction)};
    }
    sums[out] += s.left * voice.gain >> kFractionBits;
    sums[out + 1] += s.right * voice.gain >> kFractionBits;
    voice.position += voice.step;
  }
  return wrapped(voice, end);
}

}  // namespace

uint64_t stepFor(uint32_t clipRate, uint32_t deviceRate) {
  if (deviceRate == 0) return uint64_t{1} << 32;
  return (uint64_t{clipRate} << 32) / deviceRate;
}

bool accumulate(std::span<int32_t> sums, Cursor& voice) {
  if (voice.clip == nullptr || voice.clip->frames() == 0) return false;
  const WaveFormat& f = voice.clip->format;
  if (f.bitsPerSample == 8) {
    return f.channels == 1 ? mixVoice<8, 1>(sums, voice) : mixVoice<8, 2>(sums, voice);
  }
  return f.channels == 1 ? mixVoice<16, 1>(sums, voice) : mixVoice<16, 2>(sums, voice);
}

bool advance(Cursor& voice, uint64_t frames) {
  if (voice.clip == nullptr || voice.clip->frames() == 0) return false;
  const uint64_t end = voice.clip->frames() << 32;
  // In pieces small enough that the product cannot overflow.
  constexpr uint64_t kPiece = 1 << 20;
  while (frames > 0) {
    const uint64_t n = std::min(frames, kPiece);
    if (!wrapped(voice, end)) return false;
    voice.position += n * voice.step;
    frames -= n;
  }
  return wrapped(voice, end);
}

int16_t softLimit(int32_t sum) {
  const int64_t magnitude = sum < 0 ? -int64_t{sum} : int64_t{sum};
  if (magnitude <= kLimiterKnee) return static_cast<int16_t>(sum);
  // tanh bends the part above the knee with slope 1 at the knee and never reaches the room.
  constexpr double kRoom = 32767 - kLimiterKnee;
  const double over = static_cast<double>(magnitude - kLimiterKnee) / kRoom;
  const auto bent = static_cast<int32_t>(kLimiterKnee + kRoom * std::tanh(over));
  return static_cast<int16_t>(sum < 0 ? -bent : bent);
}

void limitTo16(std::span<const int32_t> sums, std::span<int16_t> out) {
  const size_t n = std::min(sums.size(), out.size());
  for (size_t i = 0; i < n; ++i) out[i] = softLimit(sums[i]);
}

int32_t gainForVolume(int volume) {
  const int32_t v = std::clamp(volume, 0, 100);
  return v * v * kUnityGain / 10000;
}

}  // namespace mix

namespace {
// Voices started and not yet removed; the audio thread's copy of the list never grows past this.
constexpr size_t kMaxVoices = 512;
// Frames mixed at a time: the sums are sized once, so a pull never allocates.
constexpr size_t kChunkFrames = 1024;
}  // namespace

struct Mixer::Voice {
  HeldSamples clip;
  std::atomic<uint64_t> position{0};
  std::atomic<bool> playing{false};
  std::atomic<bool> looping{false};
  std::atomic<bool> music{false};
  bool listed = false;
};

// A removed voice waits here until no pass can still be reading it.
struct Mixer::Retired {
  std::unique_ptr<Voice> voice;
  uint64_t lastPass;
};

Mixer::Mixer(int musicVolume, int effectVolume)
    : musicGain_(mix::gainForVolume(musicVolume)),
      effectGain_(mix::gainForVolume(effectVolume)),
      sums_(kChunkFrames * mix::kChannels, 0) {
  started_.reserve(kMaxVoices);
  snapshot_.reserve(kMaxVoices);
}

Mixer::~Mixer() = default;

void Mixer::setRate(uint32_t rate) {
  rate_.store(rate);
}

void Mixer::setVolumes(int music, int effects) {
  musicGain_.store(mix::gainForVolume(music));
  effectGain_.store(mix::gainForVolume(effects));
}

Mixer::VoiceId Mixer::add(HeldSamples clip, bool music) {
  freeRetired();
  auto v = std::make_unique<Voice>();
  v->clip = std::move(clip);
  v->music.store(music);
  const VoiceId id = nextId_++;
  voices_.emplace(id, std::move(v));
  return id;
}

Mixer::Voice* Mixer::find(VoiceId id) {
  const auto it = voices_.find(id);
  return it == voices_.end() ? nullptr : it->second.get();
}

void Mixer::setMusic(VoiceId id, bool music) {
  if (Voice* v = find(id)) v->music.store(music);
}

bool Mixer::start(VoiceId id, bool looping) {
  Voice* v = find(id);
  if (v == nullptr) return false;
  if (!v->listed) {
    std::lock_guard<std::mutex> hold(listLock_);
    if (started_.size() == kMaxVoices) return false;
    started_.push_back(v);
    v->listed = true;
  }
  v->looping.store(looping);
  v->playing.store(true);
  return true;
}

void Mixer::stop(VoiceId id) {
  if (Voice* v = find(id)) v->playing.store(false);
}

bool Mixer::playing(VoiceId id) {
  const Voice* v = find(id);
  return v != nullptr && v->playing.load();
}

bool Mixer::looping(VoiceId id) {
  const Voice* v = find(id);
  return v != nullptr && v->looping.load();
}

bool Mixer::music(VoiceId id) {
  const Voice* v = find(id);
  return v != nullptr && v->music.load();
}

bool Mixer::started(VoiceId id) {
  const Voice* v = find(id);
  return v != nullptr && v->listed;
}

void Mixer::remove(VoiceId id) {
  const auto it = voices_.find(id);
  if (it == voices_.end()) return;
  Voice* v = it->second.get();
  v->playing.store(false);
  uint64_t lastPass = 0;
  if (v->listed) {
    std::lock_guard<std::mutex> hold(listLock_);
    std::erase(started_, v);
    lastPass = passesStarted_.load();
  }
  retired_.push_back(Retired{std::move(it->second), lastPass});
  voices_.erase(it);
  freeRetired();
}

bool Mixer::anyStarted() {
  std::lock_guard<std::mutex> hold(listLock_);
  return !started_.empty();
}

void Mixer::clear() {
  std::lock_guard<std::mutex> hold(listLock_);
  started_.clear();
  snapshot_.clear();
  voices_.clear();
  retired_.clear();
}

void Mixer::freeRetired() {
  const uint64_t ended = passesEnded_.load();
  std::erase_if(retired_, [ended](const Retired& r) { return r.lastPass <= ended; });
}

size_t Mixer::clipsHeld() {
  freeRetired();
  std::unordered_set<const ClipSamples*> held;
  for (const auto& [id, v] : voices_) held.insert(v->clip.get());
  for (const Retired& r : retired_) held.insert(r.voice->clip.get());
  return held.size();
}

namespace {

mix::Cursor cursorOf(const ClipSamples* clip, uint64_t position, bool looping, uint32_t rate,
                     int32_t gain) {
  return mix::Cursor{clip, position, mix::stepFor(clip->format.samplesPerSec, rate), looping, gain};
}

}  // namespace

void Mixer::pull(int16_t* out, size_t frames) {
  uint64_t pass = 0;
  {
    std::lock_guard<std::mutex> hold(listLock_);
    snapshot_.assign(started_.begin(), started_.end());
    pass = ++passesStarted_;
  }
  const uint32_t deviceRate = rate_.load();
  const int32_t gains[2] = {effectGain_.load(), musicGain_.load()};
  // A one-shot voice that has run out stops and stands at its start again.
  const auto moveOn = [](Voice& v, const mix::Cursor& cursor, bool sounding) {
    v.position.store(sounding ? cursor.position : 0);
    if (!sounding) v.playing.store(false);
  };
  const auto cursorFor = [&](const Voice& v) {
    return cursorOf(v.clip.get(), v.position.load(), v.looping.load(), deviceRate,
                    gains[v.music.load() ? 1 : 0]);
  };
  if (out == nullptr) {
    for (Voice* v : snapshot_) {
      if (!v->playing.load()) continue;
      mix::Cursor cursor = cursorFor(*v);
      moveOn(*v, cursor, mix::advance(cursor, frames));
    }
  }
  for (size_t done = 0; out != nullptr && done < frames; done += kChunkFrames) {
    const std::span<int32_t> part(sums_.data(),
                                  std::min(kChunkFrames, frames - done) * mix::kChannels);
    std::fill(part.begin(), part.end(), 0);
    for (Voice* v : snapshot_) {
      if (!v->playing.load()) continue;
      mix::Cursor cursor = cursorFor(*v);
      moveOn(*v, cursor, mix::accumulate(part, cursor));
    }
    mix::limitTo16(part, std::span<int16_t>(out + done * mix::kChannels, part.size()));
  }
  passesEnded_.store(pass);
}

void Mixer::pullInto(void* mixer, int16_t* out, size_t frames) {
  static_cast<Mixer*>(mixer)->pull(out, frames);
}

}  // namespace vane::platform
