// SPDX-License-Identifier: GPL-3.0-or-later
// The mixer core on known samples, and the host's sound buffers over SDL's audio output, recorded
// by its disk driver.
#include "platform/mix/mixer.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <thread>
#include <vector>

#include "host/host.h"
#include "host/internal.h"
#include "platform/headless/headless.h"
#include "platform/mix/sound_format.h"
#include "platform/sdl/sdl_backend.h"

namespace vane::platform {
namespace {

WaveFormat pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
  const auto align = static_cast<uint16_t>(channels * bits / 8);
  return WaveFormat{1, channels, rate, rate * align, align, bits, 0};
}

std::vector<uint8_t> littleEndian(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes;
  for (int16_t s : samples) {
    bytes.push_back(static_cast<uint8_t>(s & 0xFF));
    bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
  }
  return bytes;
}

// Sound device bytes of a clip: 16-bit samples as written, or 8-bit ones as they are.
ClipSamples clipOf(const WaveFormat& format, std::vector<uint8_t> bytes) {
  return ClipSamples{format, std::move(bytes)};
}

// The device frames a voice sounds, at unity gain, until it runs out or `frames` have been mixed.
std::vector<int32_t> sound(const ClipSamples& clip, uint32_t deviceRate, size_t frames,
                           bool looping = false) {
  std::vector<int32_t> sums(frames * 2, 0);
  mix::Cursor voice{&clip, 0, mix::stepFor(clip.format.samplesPerSec, deviceRate), looping};
  mix::accumulate(sums, voice);
  return sums;
}

TEST(MixerCore, EachFormatSoundsItsOwnSamplesAtTheDeviceRate) {
  struct Case {
    WaveFormat format;
    std::vector<uint8_t> bytes;
    std::vector<int32_t> frames;  // left, right
  };
  const Case cases[] = {
      {pcm(22050, 2, 16), littleEndian({1, -1, 32767, -32768}), {1, -1, 32767, -32768}},
      {pcm(22050, 1, 16), littleEndian({100, -200}), {100, 100, -200, -200}},
      {pcm(22050, 1, 8), {0x80, 0xFF, 0x00}, {0, 0, 32512, 32512, -32768, -32768}},
      {pcm(22050, 2, 8), {0xC0, 0x40}, {16384, -16384}},
  };
  for (const Case& c : cases) {
    const ClipSamples clip = clipOf(c.format, c.bytes);
    std::vector<int32_t> want = c.frames;
    want.resize(want.size() + 4, 0);  // then silence: a one-shot voice has ended
    EXPECT_EQ(sound(clip, 22050, want.size() / 2), want) << c.format.bitsPerSample << " bits";
  }
}

TEST(MixerCore, OtherRatesAreResampledInPlaceAndKeepTheirLength) {
  // Half the device rate: every second frame lies halfway between two of the clip's.
  const ClipSamples slow = clipOf(pcm(22050, 1, 16), littleEndian({0, 1000, 3000}));
  EXPECT_EQ(sound(slow, 44100, 7), (std::vector<int32_t>{0, 0, 500, 500, 1000, 1000, 2000, 2000,
                                                         3000, 3000, 3000, 3000, 0, 0}));
  // A steady level stays that level and lasts as long in time at any pair of rates.
  const ClipSamples level =
      clipOf(pcm(11025, 1, 16), littleEndian(std::vector<int16_t>(11025, 8000)));
  for (uint32_t deviceRate : {22050u, 44100u, 48000u, 8000u}) {
    const std::vector<int32_t> out = sound(level, deviceRate, deviceRate + 100);
    size_t frames = 0;
    while (frames * 2 < out.size() && out[frames * 2] == 8000) ++frames;
    EXPECT_NEAR(static_cast<double>(frames), deviceRate, 1.0) << deviceRate;
    EXPECT_EQ(out.back(), 0) << deviceRate;
  }
}

TEST(MixerCore, LoopsWrapWithoutAGapAndKeepingTimeAgreesWithMixing) {
  const ClipSamples clip = clipOf(pcm(22050, 2, 16), littleEndian({1, 2, 3, 4}));
  std::vector<int32_t> sums(10, 0);
  mix::Cursor loop{&clip, uint64_t{1} << 32, uint64_t{1} << 32, true};
  EXPECT_TRUE(mix::accumulate(sums, loop));
  EXPECT_EQ(sums, (std::vector<int32_t>{3, 4, 1, 2, 3, 4, 1, 2, 3, 4}));
  // A one-shot voice that exactly fills the pass has ended.
  std::vector<int32_t> four(4, 0);
  mix::Cursor exact{&clip, 0, uint64_t{1} << 32, false};
  EXPECT_FALSE(mix::accumulate(four, exact));

  // The muted device only keeps time: it must end and wrap voices where mixing would.
  const ClipSamples odd = clipOf(pcm(11025, 1, 8), std::vector<uint8_t>(777, 0x90));
  for (const uint32_t deviceRate : {11025u, 22050u, 44100u, 48000u}) {
    for (const bool looping : {false, true}) {
      mix::Cursor mixed{&odd, 0, mix::stepFor(11025, deviceRate), looping};
      mix::Cursor timed = mixed;
      for (const size_t frames : {100u, 1024u, 333u, 4096u}) {
        std::vector<int32_t> part(frames * 2, 0);
        const bool sounding = mix::accumulate(part, mixed);
        ASSERT_EQ(mix::advance(timed, frames), sounding) << deviceRate << " " << looping;
        if (sounding) {
          ASSERT_EQ(timed.position, mixed.position) << deviceRate;
        }
      }
    }
  }
}

TEST(MixerCore, LimiterIsTransparentWhenQuietAndNeverPassesFullScale) {
  int32_t previous = -32768;
  for (int32_t sum = -200000; sum <= 200000; sum += 7) {
    const int32_t out = mix::softLimit(sum);
    if (sum >= -mix::kLimiterKnee && sum <= mix::kLimiterKnee) {
      ASSERT_EQ(out, sum);
    }
    ASSERT_LE(out, 32767);
    ASSERT_GE(out, -32767);
    ASSERT_GE(out, previous) << sum;                // rising, so loud passages keep their shape
    ASSERT_LE(std::abs(out - previous), 7) << sum;  // and without a step at the knee
    previous = out;
  }
  EXPECT_EQ(mix::softLimit(std::numeric_limits<int32_t>::max()), 32767);
  EXPECT_EQ(mix::softLimit(std::numeric_limits<int32_t>::min()), -32767);
}

TEST(MixerCore, VolumesScaleTheVoice) {
  EXPECT_EQ(mix::gainForVolume(100), mix::kUnityGain);
  EXPECT_EQ(mix::gainForVolume(150), mix::kUnityGain);
  EXPECT_EQ(mix::gainForVolume(0), 0);
  EXPECT_EQ(mix::gainForVolume(-3), 0);
  const ClipSamples clip = clipOf(pcm(22050, 1, 16), littleEndian({20000, -12000}));
  for (const auto& [volume, left] : {std::pair{100, 20000}, {50, 5000}, {25, 1250}, {0, 0}}) {
    std::vector<int32_t> sums(4, 0);
    mix::Cursor voice{&clip, 0, uint64_t{1} << 32, false, mix::gainForVolume(volume)};
    mix::accumulate(sums, voice);
    EXPECT_EQ(sums[0], left) << volume;
    EXPECT_EQ(sums[2], -left * 12 / 20) << volume;
  }
}

using host::BufferId;
using host::kStatusLooping;
using host::kStatusPlaying;
using host::SoundGroup;

// The host's sound buffers over the SDL back end's audio output, as the game drives them.
class HostSound {
 public:
  explicit HostSound(SoundOptions options = {}) : options_(options) {}
  ~HostSound() { close(); }
  HostSound(const HostSound&) = delete;
  HostSound& operator=(const HostSound&) = delete;

  // False when muted is not asked and no output opened.
  bool open(uint32_t rate = mix::kDefaultRate) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    backend_ = makeSdlBackend();
    if (backend_ == nullptr) return false;
    setBackend(backend_.get());
    host::setSoundSettings(options_);
    host::createSoundDevice();
    host::preferSoundRate(rate);
    return options_.mute || host::soundAudible();
  }
  void close() {
    if (backend_ == nullptr) return;
    host::resetHost();
    backend_.reset();
    setBackend(nullptr);
  }
  BufferId load(const HeldSamples& samples) {
    return host::createBuffer(samples, static_cast<uint32_t>(samples->bytes.size()));
  }
  BufferId create(const WaveFormat& format, uint32_t bytes) {
    return host::createBuffer(holdSamples(format, std::vector<uint8_t>(bytes)), bytes);
  }
  void preferRate(uint32_t rate) { host::preferSoundRate(rate); }
  uint32_t deviceRate() const { return host::soundRate(); }
  void setActive(bool active) { host::internal::setSoundActive(active); }
  void setVolumes(int music, int effects) {
    options_.musicVolume = music;
    options_.effectVolume = effects;
    host::setSoundSettings(options_);
  }
  void setGroup(BufferId id, SoundGroup group) { host::setSoundGroup(id, group); }
  bool play(BufferId id, bool looping) { return host::play(id, looping); }
  bool stop(BufferId id) { return host::stop(id); }
  uint32_t status(BufferId id) { return host::status(id); }
  void release(BufferId id) { host::releaseBuffer(id); }
  size_t clipsHeld() { return host::clipsHeld(); }

 private:
  SoundOptions options_;
  std::unique_ptr<SdlBackend> backend_;
};

// The real device with SDL's disk driver, which writes each mixed pass to a file in real time.
class DiskDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    path = std::filesystem::temp_directory_path() /
           ("vane-disk-audio-" + std::to_string(::getpid()) + ".raw");
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    if (!mixer.open(44100)) GTEST_SKIP() << "SDL's disk audio driver is not available";
  }
  void TearDown() override {
    mixer.close();
    std::filesystem::remove(path);
  }

  BufferId load(const WaveFormat& format, const std::vector<uint8_t>& data) {
    return mixer.load(holdSamples(format, data));
  }

  // Everything the device wrote, once it is closed.
  std::vector<int16_t> recording() {
    mixer.close();
    std::ifstream in(path, std::ios::binary);
    std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(raw.size() / 2);
    std::memcpy(samples.data(), raw.data(), samples.size() * 2);
    return samples;
  }

  // Where a voice of these samples came in: the first sound, less the voice's own leading zeros.
  static size_t start(const std::vector<int16_t>& recorded, const std::vector<int16_t>& voice) {
    size_t i = 0;
    while (i < recorded.size() && recorded[i] == 0) ++i;
    size_t silent = 0;
    while (silent < voice.size() && voice[silent] == 0) ++silent;
    return i - std::min(i, silent);
  }

  // After its start, the recording is the clip's device samples over and over, sample for
  // sample; returns how many times it went round. From the close on, the device sounds silence
  // until SDL has stopped it, so the silence at the end is not the voice's.
  static size_t checkLoop(const std::vector<int16_t>& recorded, const std::vector<int16_t>& clip) {
    const size_t from = start(recorded, clip);
    size_t end = recorded.size();
    while (end > from && recorded[end - 1] == 0) --end;
    for (size_t i = from; i < end; ++i) {
      if (recorded[i] != clip[(i - from) % clip.size()]) {
        ADD_FAILURE() << "sample " << i - from << " of the voice differs";
        return 0;
      }
    }
    return (end - from) / clip.size();
  }

  std::filesystem::path path;
  HostSound mixer;
};

TEST_F(DiskDevice, LoopingClipRepeatsSampleExactlyWithNoGap) {
  // 1000 frames, a length that does not divide the 1024-frame pass, no zero sample anywhere.
  std::vector<int16_t> clip;
  for (int i = 0; i < 1000; ++i) {
    clip.push_back(static_cast<int16_t>(i * 30 - 15001));
    clip.push_back(static_cast<int16_t>(15001 - i * 30));
  }
  const BufferId id = load(pcm(44100, 2, 16), littleEndian(clip));
  mixer.play(id, false);
  mixer.stop(id);
  mixer.play(id, true);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_EQ(mixer.status(id), kStatusPlaying | kStatusLooping);
  EXPECT_GE(checkLoop(recording(), clip), 8u);
}

TEST_F(DiskDevice, ResampledLoopRepeatsItsConvertedSamples) {
  std::vector<uint8_t> clip;
  for (int i = 0; i < 777; ++i)
    clip.push_back(static_cast<uint8_t>(i % 2 == 0 ? 40 + i % 150 : 200));
  const WaveFormat format = pcm(22050, 1, 8);
  // At half the device rate the loop comes round every 2 * 777 device frames.
  std::vector<int16_t> converted;
  for (int32_t s : sound(clipOf(format, clip), 44100, 2 * 777, true))
    converted.push_back(static_cast<int16_t>(s));
  const BufferId id = load(format, clip);
  mixer.play(id, true);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_GE(checkLoop(recording(), converted), 4u);
}

TEST_F(DiskDevice, OneShotReportsPlayingUntilItHasSoundedAndThenSilence) {
  const std::vector<int16_t> clip(2 * 4410, 5000);  // a tenth of a second
  const BufferId id = load(pcm(44100, 2, 16), littleEndian(clip));
  mixer.play(id, false);
  EXPECT_EQ(mixer.status(id), kStatusPlaying);
  const auto begin = std::chrono::steady_clock::now();
  while (mixer.status(id) == kStatusPlaying &&
         std::chrono::steady_clock::now() - begin < std::chrono::seconds(2)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const auto took = std::chrono::steady_clock::now() - begin;
  EXPECT_EQ(mixer.status(id), 0u);
  EXPECT_GE(took, std::chrono::milliseconds(60));
  mixer.release(id);
  EXPECT_EQ(mixer.status(id), 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const std::vector<int16_t> recorded = recording();
  const size_t from = start(recorded, clip);
  ASSERT_GE(recorded.size(), from + clip.size() + 2048);
  for (size_t i = 0; i < clip.size(); ++i) ASSERT_EQ(recorded[from + i], 5000) << i;
  for (size_t i = from + clip.size(); i < recorded.size(); ++i) ASSERT_EQ(recorded[i], 0) << i;
}

TEST_F(DiskDevice, EachBufferSoundsItsOwnDataThoughAnotherHadTheSameShape) {
  const std::vector<int16_t> first(2 * 2000, 3000);
  const std::vector<int16_t> second(2 * 2000, -7000);
  const BufferId a = load(pcm(44100, 2, 16), littleEndian(first));
  const BufferId b = load(pcm(44100, 2, 16), littleEndian(second));
  const BufferId c = load(pcm(44100, 2, 16), littleEndian(first));
  mixer.play(b, false);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  mixer.release(a);
  mixer.release(c);
  const std::vector<int16_t> recorded = recording();
  const size_t from = start(recorded, second);
  ASSERT_GE(recorded.size(), from + second.size());
  for (size_t i = 0; i < second.size(); ++i) ASSERT_EQ(recorded[from + i], -7000) << i;
}

TEST_F(DiskDevice, InactiveOutputIsSilentAndResumesWhereItWas) {
  std::vector<int16_t> clip;  // no zero sample anywhere
  for (int i = 0; i < 3000; ++i) clip.push_back(static_cast<int16_t>(1000 + i * 7));
  const BufferId id = load(pcm(44100, 1, 16), littleEndian(clip));
  mixer.play(id, true);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  mixer.setActive(false);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_EQ(mixer.status(id), kStatusPlaying | kStatusLooping);
  mixer.setActive(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  std::vector<int16_t> recorded = recording();
  // A run of silence stands where the device was inactive; cut out, the loop goes on unbroken.
  const size_t from = start(recorded, clip);
  auto gap = std::find(recorded.begin() + static_cast<std::ptrdiff_t>(from), recorded.end(), 0);
  ASSERT_NE(gap, recorded.end()) << "no silence while inactive";
  const auto resumed = std::find_if(gap, recorded.end(), [](int16_t s) { return s != 0; });
  ASSERT_GE(resumed - gap, 2 * 4410) << "silent for at least a tenth of a second";
  ASSERT_NE(resumed, recorded.end()) << "the sound came back";
  recorded.erase(gap, resumed);
  std::vector<int16_t> stereo;
  for (int16_t s : clip) stereo.insert(stereo.end(), {s, s});
  EXPECT_GE(checkLoop(recorded, stereo), 3u);
}

TEST_F(DiskDevice, VolumesFollowEachBuffersGroupAndLoudSumsAreLimited) {
  mixer.setVolumes(50, 100);
  const BufferId effect = load(pcm(44100, 1, 16), littleEndian(std::vector<int16_t>(4410, 8000)));
  const BufferId music = load(pcm(44100, 1, 16), littleEndian(std::vector<int16_t>(4410, 8000)));
  mixer.setGroup(music, SoundGroup::Music);
  const BufferId loud = load(pcm(44100, 1, 16), littleEndian(std::vector<int16_t>(4410, 30000)));
  mixer.play(effect, false);
  mixer.play(music, false);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  mixer.setVolumes(100, 100);
  mixer.play(loud, false);
  mixer.play(effect, false);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const std::vector<int16_t> recorded = recording();
  const size_t from = start(recorded, {});
  ASSERT_LT(from, recorded.size());
  // Both voices started in the same pass: the effect at full volume, the music at a quarter.
  EXPECT_EQ(recorded[from], 10000);
  EXPECT_TRUE(std::find(recorded.begin(), recorded.end(), mix::softLimit(38000)) != recorded.end());
  EXPECT_EQ(*std::max_element(recorded.begin(), recorded.end()), mix::softLimit(38000));
}

TEST_F(DiskDevice, RunsAtTheRateAskedBeforeAnythingStartsAndKeepsEqualClipsOnce) {
  mixer.preferRate(22050);
  EXPECT_EQ(mixer.deviceRate(), 22050u);
  std::vector<int16_t> clip;
  for (int i = 0; i < 501; ++i) clip.push_back(static_cast<int16_t>(-9000 + i * 13));
  const HeldSamples bank = holdSamples(pcm(22050, 1, 16), littleEndian(clip));
  const BufferId first = mixer.load(bank);  // one clip of a bank, played twice
  const BufferId second = mixer.load(bank);
  const BufferId other = load(pcm(22050, 1, 16), littleEndian(std::vector<int16_t>(501, 5)));
  EXPECT_EQ(mixer.clipsHeld(), 2u);
  mixer.play(second, true);
  mixer.preferRate(44100);  // too late: a buffer has started
  EXPECT_EQ(mixer.deviceRate(), 22050u);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  mixer.release(first);
  mixer.release(other);
  EXPECT_EQ(mixer.clipsHeld(), 1u);
  std::vector<int16_t> stereo;
  for (int16_t s : clip) stereo.insert(stereo.end(), {s, s});
  EXPECT_GE(checkLoop(recording(), stereo), 8u);
}

// Refused alike by the clip check and the host's buffers.
TEST(SoundFormats, BothBackEndsAcceptExactlyTheSameClips) {
  struct Row {
    WaveFormat format;
    uint32_t bytes;
    bool plays;
  };
  WaveFormat badAlign = pcm(22050, 2, 16);
  badAlign.blockAlign = 2;
  WaveFormat badRate = pcm(22050, 1, 16);
  badRate.avgBytesPerSec = 1;
  const Row rows[] = {
      {pcm(22050, 1, 16), 4410, true},
      {pcm(44100, 2, 16), 4410, true},
      {pcm(11025, 1, 8), 1, true},
      {pcm(1000, 1, 8), 6'400'000, true},
      {pcm(192000, 2, 16), 64, true},
      {pcm(22050, 1, 16), kMaxClipBytes, true},
      {pcm(22050, 1, 16), kMaxClipBytes + 2, false},
      {pcm(999, 1, 8), 64, false},
      {pcm(192001, 1, 8), 64, false},
      {pcm(0, 1, 8), 64, false},
      {pcm(22050, 3, 16), 60, false},
      {pcm(22050, 0, 16), 60, false},
      {pcm(22050, 1, 24), 60, false},
      {pcm(22050, 1, 4), 60, false},
      {WaveFormat{2, 1, 22050, 44100, 2, 16, 0}, 64, false},
      {WaveFormat{0xFFFE, 2, 44100, 176400, 4, 16, 22}, 64, false},
      {badAlign, 64, false},
      {badRate, 64, false},
      {pcm(22050, 1, 16), 0, false},
  };
  HostSound muted(SoundOptions{.mute = true});
  ASSERT_TRUE(muted.open());
  for (const Row& row : rows) {
    const WaveFormat& f = row.format;
    SCOPED_TRACE(testing::Message() << f.formatTag << " " << f.channels << "ch " << f.bitsPerSample
                                    << "bit " << f.samplesPerSec << "Hz " << row.bytes << " bytes");
    if (row.bytes > 0) {
      EXPECT_EQ(clipRefusal(f, row.bytes).empty(), row.plays);
    }
    const BufferId onDevice = muted.create(f, row.bytes);
    EXPECT_EQ(onDevice != 0, row.plays);
    muted.release(onDevice);
  }
}

// Muted, no device is opened, yet the buffers report what they would with sound.
TEST(MutedDevice, OpensNoAudioYetBuffersPlayForTheirLengthAndStandStillWhenInactive) {
  HostSound mixer(SoundOptions{.mute = true});
  ASSERT_TRUE(mixer.open());
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  EXPECT_FALSE(host::soundAudible());
  const auto load = [&mixer](uint32_t millis) {
    return mixer.create(pcm(22050, 1, 16), millis * 441 / 10);
  };
  const BufferId shortOne = load(100);
  const BufferId looped = load(50);
  const BufferId held = load(100);
  const auto begin = std::chrono::steady_clock::now();
  mixer.play(shortOne, false);
  mixer.play(looped, true);
  while (mixer.status(shortOne) == kStatusPlaying &&
         std::chrono::steady_clock::now() - begin < std::chrono::seconds(2)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(100));
  EXPECT_EQ(mixer.status(shortOne), 0u);
  EXPECT_EQ(mixer.status(looped), kStatusPlaying | kStatusLooping);
  mixer.play(held, false);
  mixer.setActive(false);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_EQ(mixer.status(held), kStatusPlaying) << "time stands still while inactive";
  mixer.setActive(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_EQ(mixer.status(held), 0u);
}

// The frame thread works the device as hard as it can while the audio thread mixes: buffers made,
// filled, started, stopped, read back and released, volumes and activity changed. Run under
// ThreadSanitizer by `make tsan-test`.
TEST(MixerStress, FrameThreadAndAudioThreadShareNothingUnguarded) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  HostSound mixer;
  if (!mixer.open(22050)) GTEST_SKIP() << "SDL's dummy audio driver is not available";
  std::vector<BufferId> live;
  HeldSamples clips[2][2][2][3];
  uint32_t seed = 12345;
  const auto next = [&seed](uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  int started = 0;
  while (std::chrono::steady_clock::now() < until) {
    const auto format = pcm(next(2) == 0 ? 22050 : 11025, static_cast<uint16_t>(1 + next(2)),
                            next(2) == 0 ? 8 : 16);
    // Few distinct clips, each shared by many buffers, as a bank's are.
    HeldSamples& clip = clips[format.samplesPerSec == 22050][format.channels - 1]
                             [format.bitsPerSample == 8][next(3)];
    if (!clip)
      clip = holdSamples(format,
                         std::vector<uint8_t>(512 + 512 * next(3), static_cast<uint8_t>(next(4))));
    const BufferId id = mixer.load(clip);
    ASSERT_NE(id, 0u);
    if (next(3) == 0) mixer.setGroup(id, SoundGroup::Music);
    ASSERT_TRUE(mixer.play(id, next(4) == 0));
    ++started;
    live.push_back(id);
    for (BufferId b : live) {
      if (mixer.status(b) == 0 || next(8) == 0) mixer.stop(b);
    }
    if (next(50) == 0) mixer.setVolumes(static_cast<int>(next(101)), static_cast<int>(next(101)));
    if (next(200) == 0) mixer.setActive(next(2) == 0);
    while (live.size() > 40) {
      const size_t i = next(static_cast<uint32_t>(live.size()));
      mixer.release(live[i]);
      live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (next(20) == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  mixer.setActive(true);
  EXPECT_GT(started, 100);
  EXPECT_LT(mixer.clipsHeld(), live.size());  // equal fills share one clip
  for (BufferId b : live) mixer.release(b);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(mixer.clipsHeld(), 0u);
}

}  // namespace
}  // namespace vane::platform
