// The SDL sound device: buffers converted once to the output format and mixed in the callback.
#include "platform/sdl/mixer.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <mutex>
#include <unordered_map>

namespace vane::platform {

namespace mix {

namespace {
constexpr uint16_t kPcmTag = 1;
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 192000;
}  // namespace

bool playableFormat(const WaveFormat& format) {
  return format.formatTag == kPcmTag && (format.channels == 1 || format.channels == 2) &&
         (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
         format.samplesPerSec >= kMinRate && format.samplesPerSec <= kMaxRate;
}

std::vector<int16_t> convertToDevice(const WaveFormat& format, std::span<const uint8_t> data) {
  if (!playableFormat(format)) return {};
  const size_t frameBytes = size_t{format.channels} * format.bitsPerSample / 8;
  const size_t wholeBytes = data.size() / frameBytes * frameBytes;
  if (wholeBytes == 0) return {};
  const SDL_AudioFormat source = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, source, static_cast<Uint8>(format.channels),
                        static_cast<int>(format.samplesPerSec), AUDIO_S16SYS, kMixChannels,
                        kMixRate) < 0) {
    return {};
  }
  // SDL converts in place in a buffer len_mult times the input.
  std::vector<uint8_t> work(wholeBytes * static_cast<size_t>(cvt.len_mult));
  std::copy_n(data.begin(), wholeBytes, work.begin());
  cvt.buf = work.data();
  cvt.len = static_cast<int>(wholeBytes);
  if (SDL_ConvertAudio(&cvt) != 0) return {};
  const size_t frames = static_cast<size_t>(cvt.len_cvt) / (kMixChannels * sizeof(int16_t));
  std::vector<int16_t> out(frames * kMixChannels);
  std::memcpy(out.data(), work.data(), out.size() * sizeof(int16_t));
  return out;
}

bool accumulate(std::span<int32_t> accumulator, Cursor& voice) {
  const size_t length = voice.samples.size();
  size_t done = 0;
  while (done < accumulator.size()) {
    if (voice.position >= length) {
      if (!voice.looping || length == 0) return false;
      voice.position = 0;
    }
    const size_t run = std::min(accumulator.size() - done, length - voice.position);
    for (size_t i = 0; i < run; ++i) accumulator[done + i] += voice.samples[voice.position + i];
    done += run;
    voice.position += run;
  }
  return voice.looping || voice.position < length;
}

void clipTo16(std::span<const int32_t> accumulator, std::span<int16_t> out) {
  constexpr int32_t kLow = std::numeric_limits<int16_t>::min();
  constexpr int32_t kHigh = std::numeric_limits<int16_t>::max();
  const size_t n = std::min(accumulator.size(), out.size());
  for (size_t i = 0; i < n; ++i)
    out[i] = static_cast<int16_t>(std::clamp(accumulator[i], kLow, kHigh));
}

}  // namespace mix

namespace {

constexpr Uint16 kCallbackFrames = 1024;
// Buffers started and not yet released; the callback's copy of the list never grows past this.
constexpr size_t kMaxVoices = 512;
// Clips converted lately, kept so that playing one again costs no second conversion.
constexpr size_t kKeptConversions = 16;

using Samples = std::shared_ptr<const std::vector<int16_t>>;

// One device buffer. Once it has been started it sits on the voice list and its samples no
// longer change: only the flags and the position move, and those are atomic.
struct Buffer {
  WaveFormat format;
  std::vector<uint8_t> written;
  Samples samples = std::make_shared<const std::vector<int16_t>>();
  std::atomic<size_t> position{0};
  std::atomic<bool> playing{false};
  std::atomic<bool> looping{false};
  bool listed = false;
};

struct Conversion {
  WaveFormat format;
  std::vector<uint8_t> source;
  Samples samples;
  uint64_t lastUse;
};

bool sameSource(const Conversion& c, const WaveFormat& f, const std::vector<uint8_t>& bytes) {
  return c.format.formatTag == f.formatTag && c.format.channels == f.channels &&
         c.format.samplesPerSec == f.samplesPerSec && c.format.bitsPerSample == f.bitsPerSample &&
         c.source == bytes;
}

// A released buffer waits here until no mixing pass can still be reading it.
struct Retired {
  std::unique_ptr<Buffer> buffer;
  uint64_t lastPass;
};

}  // namespace

struct SdlMixer::Impl {
  SDL_AudioDeviceID device = 0;
  BufferId nextId = 1;
  std::unordered_map<BufferId, std::unique_ptr<Buffer>> buffers;
  std::vector<Retired> retired;
  std::vector<Conversion> conversions;
  uint64_t conversionClock = 0;

  // Shared with the audio thread: the voice list and its copy, under the lock; pass counters.
  std::mutex listLock;
  std::vector<Buffer*> voices;
  std::vector<Buffer*> snapshot;
  std::atomic<uint64_t> passesStarted{0};
  std::atomic<uint64_t> passesEnded{0};
  std::vector<int32_t> accumulator;

  static void callback(void* self, Uint8* stream, int bytes) {
    static_cast<Impl*>(self)->mixPass(reinterpret_cast<int16_t*>(stream),
                                      static_cast<size_t>(bytes) / sizeof(int16_t));
  }

  void mixPass(int16_t* out, size_t count) {
    uint64_t pass = 0;
    {
      std::lock_guard<std::mutex> hold(listLock);
      snapshot.assign(voices.begin(), voices.end());
      pass = ++passesStarted;
    }
    const std::span<int32_t> sums(accumulator.data(), std::min(count, accumulator.size()));
    std::fill(sums.begin(), sums.end(), 0);
    for (Buffer* b : snapshot) {
      if (!b->playing.load()) continue;
      mix::Cursor cursor{*b->samples, b->position.load(), b->looping.load()};
      const bool sounding = mix::accumulate(sums, cursor);
      b->position.store(sounding ? cursor.position : 0);
      if (!sounding) b->playing.store(false);
    }
    mix::clipTo16(sums, std::span<int16_t>(out, count));
    std::fill(out + sums.size(), out + count, int16_t{0});
    passesEnded.store(pass);
  }

  Buffer* find(BufferId id) {
    const auto it = buffers.find(id);
    return it == buffers.end() ? nullptr : it->second.get();
  }

  void freeRetired() {
    const uint64_t ended = passesEnded.load();
    std::erase_if(retired, [ended](const Retired& r) { return r.lastPass <= ended; });
  }

  Samples convert(const WaveFormat& format, const std::vector<uint8_t>& bytes) {
    ++conversionClock;
    for (Conversion& c : conversions) {
      if (!sameSource(c, format, bytes)) continue;
      c.lastUse = conversionClock;
      return c.samples;
    }
    if (conversions.size() == kKeptConversions) {
      conversions.erase(std::min_element(
          conversions.begin(), conversions.end(),
          [](const Conversion& a, const Conversion& b) { return a.lastUse < b.lastUse; }));
    }
    auto samples =
        std::make_shared<const std::vector<int16_t>>(mix::convertToDevice(format, bytes));
    conversions.push_back(Conversion{format, bytes, samples, conversionClock});
    return samples;
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
};

SdlMixer::SdlMixer() : impl_(std::make_unique<Impl>()) {}

SdlMixer::~SdlMixer() {
  close();
}

bool SdlMixer::open() {
  if (impl_->device != 0) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = mix::kMixRate;
  want.format = AUDIO_S16SYS;
  want.channels = mix::kMixChannels;
  want.samples = kCallbackFrames;
  want.callback = &Impl::callback;
  want.userdata = impl_.get();
  SDL_AudioSpec have{};
  impl_->device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (impl_->device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  // The device opens paused: the callback first runs once these are in place. Only the audio
  // thread touches the copy of the voice list; reserved here, it never allocates there.
  impl_->accumulator.assign(size_t{have.samples} * mix::kMixChannels, 0);
  impl_->snapshot.reserve(kMaxVoices);
  impl_->voices.reserve(kMaxVoices);
  SDL_PauseAudioDevice(impl_->device, 0);
  return true;
}

void SdlMixer::close() {
  if (impl_->device == 0) return;
  SDL_CloseAudioDevice(impl_->device);
  impl_->device = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  impl_->voices.clear();
  impl_->snapshot.clear();
  impl_->buffers.clear();
  impl_->retired.clear();
  impl_->conversions.clear();
}

BufferId SdlMixer::create(const WaveFormat& format, uint32_t bytes) {
  if (impl_->device == 0 || bytes == 0 || !mix::playableFormat(format)) return 0;
  impl_->freeRetired();
  auto b = std::make_unique<Buffer>();
  b->format = format;
  b->written.assign(bytes, format.bitsPerSample == 8 ? 0x80 : 0);
  const BufferId id = impl_->nextId++;
  impl_->buffers.emplace(id, std::move(b));
  return id;
}

uint8_t* SdlMixer::lock(BufferId id, uint32_t& bytes) {
  Buffer* b = impl_->find(id);
  // A started buffer's samples may be in use by the callback, so it is not written again.
  if (b == nullptr || b->listed) return nullptr;
  bytes = static_cast<uint32_t>(b->written.size());
  return b->written.data();
}

bool SdlMixer::unlock(BufferId id) {
  Buffer* b = impl_->find(id);
  if (b == nullptr || b->listed) return false;
  b->samples = impl_->convert(b->format, b->written);
  return true;
}

bool SdlMixer::play(BufferId id, bool looping) {
  Buffer* b = impl_->find(id);
  if (b == nullptr) return false;
  if (!b->listed && !impl_->list(b)) return false;
  b->looping.store(looping);
  b->playing.store(true);
  return true;
}

bool SdlMixer::stop(BufferId id) {
  Buffer* b = impl_->find(id);
  if (b == nullptr) return false;
  b->playing.store(false);
  return true;
}

uint32_t SdlMixer::status(BufferId id) {
  Buffer* b = impl_->find(id);
  if (b == nullptr || !b->playing.load()) return 0;
  return b->looping.load() ? kStatusPlaying | kStatusLooping : kStatusPlaying;
}

void SdlMixer::release(BufferId id) {
  const auto it = impl_->buffers.find(id);
  if (it == impl_->buffers.end()) return;
  Buffer* b = it->second.get();
  b->playing.store(false);
  uint64_t lastPass = 0;
  if (b->listed) {
    impl_->unlist(b);
    lastPass = impl_->passesStarted.load();
  }
  impl_->retired.push_back(Retired{std::move(it->second), lastPass});
  impl_->buffers.erase(it);
  impl_->freeRetired();
}

}  // namespace vane::platform
