// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL sound device: buffers holding their clip's own bytes, resampled and mixed in the
// callback.
#include "platform/sdl/mixer.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/sound_format.h"

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

constexpr Uint16 kCallbackFrames = 1024;
// Buffers started and not yet released; the callback's copy of the list never grows past this.
constexpr size_t kMaxVoices = 512;
constexpr uint64_t kNanosPerSecond = 1'000'000'000;

// One device buffer. Once it has been started it sits on the voice list and its clip no longer
// changes: only the flags and the position move, and those are atomic.
struct Buffer {
  WaveFormat format;
  SampleBytes written;  // from creation to unlock; then given up for the held clip
  HeldSamples clip;
  std::atomic<uint64_t> position{0};
  std::atomic<bool> playing{false};
  std::atomic<bool> looping{false};
  std::atomic<bool> music{false};
  bool listed = false;
};

// A released buffer waits here until no mixing pass can still be reading it.
struct Retired {
  std::unique_ptr<Buffer> buffer;
  uint64_t lastPass;
};

uint64_t steadyNanos() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

}  // namespace

struct SdlMixer::Impl {
  const bool muted;
  bool opened = false;
  bool active = true;
  SDL_AudioDeviceID device = 0;
  BufferId nextId = 1;
  std::unordered_map<BufferId, std::unique_ptr<Buffer>> buffers;
  std::vector<Retired> retired;
  // The rate last asked of the device, which may have opened at another.
  uint32_t askedRate = 0;
  // Muted, the time the buffers have played is the clock's: where it stood at the last look, and
  // the part of a frame carried over.
  uint64_t lastNanos = 0;
  uint64_t carriedNanoFrames = 0;

  // Shared with the audio thread: the voice list and its copy, under the lock; the rest atomic.
  std::mutex listLock;
  std::vector<Buffer*> voices;
  std::vector<Buffer*> snapshot;
  std::atomic<uint64_t> passesStarted{0};
  std::atomic<uint64_t> passesEnded{0};
  std::atomic<uint32_t> rate{mix::kDefaultRate};
  std::atomic<int32_t> musicGain;
  std::atomic<int32_t> effectGain;
  std::vector<int32_t> sums;

  explicit Impl(const SoundOptions& options)
      : muted(options.mute),
        musicGain(mix::gainForVolume(options.musicVolume)),
        effectGain(mix::gainForVolume(options.effectVolume)) {}

  static void callback(void* self, Uint8* stream, int bytes) {
    static_cast<Impl*>(self)->runPass(reinterpret_cast<int16_t*>(stream),
                                      static_cast<size_t>(bytes) / (mix::kChannels * 2));
  }

  // Moves every sounding voice on by that many device frames, mixing them into out (unless
  // nullptr: the muted device only keeps time).
  void runPass(int16_t* out, size_t frames) {
    uint64_t pass = 0;
    {
      std::lock_guard<std::mutex> hold(listLock);
      snapshot.assign(voices.begin(), voices.end());
      pass = ++passesStarted;
    }
    const uint32_t deviceRate = rate.load();
    const int32_t gains[2] = {effectGain.load(), musicGain.load()};
    if (out == nullptr) {
      for (Buffer* b : snapshot) {
        if (!b->playing.load()) continue;
        mix::Cursor cursor = cursorOf(*b, deviceRate, gains);
        moveOn(*b, cursor, mix::advance(cursor, frames));
      }
    }
    const size_t chunk = sums.size() / mix::kChannels;
    for (size_t done = 0; out != nullptr && done < frames; done += chunk) {
      const std::span<int32_t> part(sums.data(), std::min(chunk, frames - done) * mix::kChannels);
      std::fill(part.begin(), part.end(), 0);
      for (Buffer* b : snapshot) {
        if (!b->playing.load()) continue;
        mix::Cursor cursor = cursorOf(*b, deviceRate, gains);
        moveOn(*b, cursor, mix::accumulate(part, cursor));
      }
      mix::limitTo16(part, std::span<int16_t>(out + done * mix::kChannels, part.size()));
    }
    passesEnded.store(pass);
  }

  static mix::Cursor cursorOf(const Buffer& b, uint32_t deviceRate, const int32_t (&gains)[2]) {
    return mix::Cursor{b.clip.get(), b.position.load(),
                       mix::stepFor(b.format.samplesPerSec, deviceRate), b.looping.load(),
                       gains[b.music.load() ? 1 : 0]};
  }

  // A one-shot buffer that has run out stops and stands at its start again.
  static void moveOn(Buffer& b, const mix::Cursor& cursor, bool sounding) {
    b.position.store(sounding ? cursor.position : 0);
    if (!sounding) b.playing.store(false);
  }

  // Muted: plays, silently, the frames the clock says have passed since the last look.
  void catchUp() {
    if (!muted || !opened || !active) return;
    const uint64_t now = steadyNanos();
    const uint64_t nanoFrames = (now - lastNanos) * rate.load() + carriedNanoFrames;
    lastNanos = now;
    carriedNanoFrames = nanoFrames % kNanosPerSecond;
    if (nanoFrames >= kNanosPerSecond) runPass(nullptr, nanoFrames / kNanosPerSecond);
  }

  bool openDevice(uint32_t wanted) {
    askedRate = wanted;
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(wanted);
    want.format = AUDIO_S16SYS;
    want.channels = mix::kChannels;
    want.samples = kCallbackFrames;
    want.callback = &Impl::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                 SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (device == 0) return false;
    // The device opens paused: the callback first runs once these are in place. Only the audio
    // thread touches the sums and the copy of the voice list; sized here, it never allocates.
    rate.store(static_cast<uint32_t>(have.freq));
    sums.assign(size_t{std::max<Uint16>(have.samples, 1)} * mix::kChannels, 0);
    snapshot.reserve(kMaxVoices);
    voices.reserve(kMaxVoices);
    if (active) SDL_PauseAudioDevice(device, 0);
    return true;
  }

  Buffer* find(BufferId id) {
    const auto it = buffers.find(id);
    return it == buffers.end() ? nullptr : it->second.get();
  }

  void freeRetired() {
    const uint64_t ended = passesEnded.load();
    std::erase_if(retired, [ended](const Retired& r) { return r.lastPass <= ended; });
  }

  // The written bytes are given up for the clip held in the process, which a bank holding the
  // same clip already keeps: however often a clip plays, its samples exist once.
  static void settle(Buffer& b) {
    b.clip = heldSamplesLike(b.format, b.written);
    if (!b.clip) b.clip = holdSamples(b.format, std::move(b.written));
    b.written = SampleBytes();
  }

  bool list(Buffer* b) {
    std::lock_guard<std::mutex> hold(listLock);
    if (voices.size() == kMaxVoices) return false;
    voices.push_back(b);
    b->listed = true;
    return true;
  }

  void unlist(Buffer* b) {
    std::lock_guard<std::mutex> hold(listLock);
    std::erase(voices, b);
  }

  bool anyStarted() {
    std::lock_guard<std::mutex> hold(listLock);
    return !voices.empty();
  }
};

SdlMixer::SdlMixer(const SoundOptions& options) : impl_(std::make_unique<Impl>(options)) {}

SdlMixer::~SdlMixer() {
  close();
}

bool SdlMixer::open(uint32_t rate) {
  Impl& m = *impl_;
  if (m.opened) return true;
  if (m.muted) {
    m.askedRate = rate;
    m.rate.store(rate);
    m.lastNanos = steadyNanos();
    m.carriedNanoFrames = 0;
    m.opened = true;
    return true;
  }
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (!m.openDevice(rate)) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  m.opened = true;
  return true;
}

void SdlMixer::close() {
  Impl& m = *impl_;
  if (!m.opened) return;
  if (m.device != 0) {
    SDL_CloseAudioDevice(m.device);
    m.device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  m.opened = false;
  m.voices.clear();
  m.snapshot.clear();
  m.buffers.clear();
  m.retired.clear();
}

void SdlMixer::preferRate(uint32_t rate) {
  Impl& m = *impl_;
  if (!m.opened || rate == m.rate.load() || rate == m.askedRate || rate < kMinSoundRate ||
      rate > kMaxSoundRate || m.anyStarted()) {
    return;
  }
  if (m.muted) {
    m.catchUp();
    m.askedRate = rate;
    m.rate.store(rate);
    m.carriedNanoFrames = 0;
    return;
  }
  const uint32_t before = m.rate.load();
  SDL_CloseAudioDevice(m.device);
  // Should the device refuse the new rate, it goes back to the one it had.
  if (!m.openDevice(rate) && !m.openDevice(before)) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m.opened = false;
  }
}

uint32_t SdlMixer::deviceRate() const {
  return impl_->rate.load();
}

void SdlMixer::setActive(bool active) {
  Impl& m = *impl_;
  if (active == m.active) return;
  m.catchUp();
  m.active = active;
  m.lastNanos = steadyNanos();
  if (m.device != 0) SDL_PauseAudioDevice(m.device, active ? 0 : 1);
}

void SdlMixer::setVolumes(int music, int effects) {
  impl_->musicGain.store(mix::gainForVolume(music));
  impl_->effectGain.store(mix::gainForVolume(effects));
}

BufferId SdlMixer::create(const WaveFormat& format, uint32_t bytes) {
  Impl& m = *impl_;
  if (!m.opened || bytes == 0 || !clipRefusal(format, bytes).empty()) return 0;
  m.catchUp();
  m.freeRetired();
  auto b = std::make_unique<Buffer>();
  b->format = format;
  b->written.assign(bytes, format.bitsPerSample == 8 ? 0x80 : 0);
  const BufferId id = m.nextId++;
  m.buffers.emplace(id, std::move(b));
  return id;
}

uint8_t* SdlMixer::lock(BufferId id, uint32_t& bytes) {
  Buffer* b = impl_->find(id);
  // A started buffer's clip may be in use by the callback, so it is not written again.
  if (b == nullptr || b->listed) return nullptr;
  if (b->clip) {
    b->written = b->clip->bytes;
    b->clip.reset();
  }
  bytes = static_cast<uint32_t>(b->written.size());
  return b->written.data();
}

bool SdlMixer::unlock(BufferId id) {
  Buffer* b = impl_->find(id);
  if (b == nullptr || b->listed) return false;
  if (!b->clip) impl_->settle(*b);
  return true;
}

void SdlMixer::setGroup(BufferId id, SoundGroup group) {
  if (Buffer* b = impl_->find(id)) b->music.store(group == SoundGroup::Music);
}

bool SdlMixer::play(BufferId id, bool looping) {
  Impl& m = *impl_;
  m.catchUp();
  Buffer* b = m.find(id);
  if (b == nullptr) return false;
  if (!b->clip) m.settle(*b);
  if (!b->listed && !m.list(b)) return false;
  b->looping.store(looping);
  b->playing.store(true);
  return true;
}

bool SdlMixer::stop(BufferId id) {
  impl_->catchUp();
  Buffer* b = impl_->find(id);
  if (b == nullptr) return false;
  b->playing.store(false);
  return true;
}

uint32_t SdlMixer::status(BufferId id) {
  impl_->catchUp();
  Buffer* b = impl_->find(id);
  if (b == nullptr || !b->playing.load()) return 0;
  return b->looping.load() ? kStatusPlaying | kStatusLooping : kStatusPlaying;
}

void SdlMixer::release(BufferId id) {
  Impl& m = *impl_;
  m.catchUp();
  const auto it = m.buffers.find(id);
  if (it == m.buffers.end()) return;
  Buffer* b = it->second.get();
  b->playing.store(false);
  uint64_t lastPass = 0;
  if (b->listed) {
    m.unlist(b);
    lastPass = m.passesStarted.load();
  }
  m.retired.push_back(Retired{std::move(it->second), lastPass});
  m.buffers.erase(it);
  m.freeRetired();
}

size_t SdlMixer::clipsHeld() {
  Impl& m = *impl_;
  m.freeRetired();
  std::unordered_set<const ClipSamples*> held;
  for (const auto& [id, b] : m.buffers) {
    if (b->clip) held.insert(b->clip.get());
  }
  for (const Retired& r : m.retired) {
    if (r.buffer->clip) held.insert(r.buffer->clip.get());
  }
  return held.size();
}

}  // namespace vane::platform
