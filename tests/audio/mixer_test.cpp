// The mixer core on known samples, and the real device recorded by SDL's disk audio driver.
#include "platform/sdl/mixer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

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

TEST(MixerConversion, DeviceFormatPassesThroughUnchanged) {
  const std::vector<int16_t> samples{1, -1, 32767, -32768, 1234, -4321};
  EXPECT_EQ(mix::convertToDevice(pcm(44100, 2, 16), littleEndian(samples)), samples);
}

// SDL widens through floating point, so a sample may come out one step nearer zero.
void expectWithinOneStep(const std::vector<int16_t>& got, const std::vector<int16_t>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1) << "sample " << i;
}

TEST(MixerConversion, MonoIsCopiedToBothSidesAndEightBitsAreCentred) {
  expectWithinOneStep(mix::convertToDevice(pcm(44100, 1, 16), littleEndian({100, -200})),
                      {100, 100, -200, -200});
  const std::vector<uint8_t> eight{0x80, 0xFF, 0x00, 0xC0};
  expectWithinOneStep(mix::convertToDevice(pcm(44100, 1, 8), eight),
                      {0, 0, 32512, 32512, -32768, -32768, 16384, 16384});
}

TEST(MixerConversion, LowerRatesAreResampledToTheDeviceRate) {
  const std::vector<int16_t> level(22050, 8000);
  const std::vector<int16_t> out = mix::convertToDevice(pcm(22050, 1, 16), littleEndian(level));
  ASSERT_EQ(out.size(), 2u * 44100);
  // Away from the edges a steady level stays that level (the filter costs a quarter of a percent).
  for (size_t i = 2000; i < out.size() - 2000; ++i) ASSERT_NEAR(out[i], 8000, 24) << i;
  const std::vector<int16_t> third =
      mix::convertToDevice(pcm(11025, 2, 16), littleEndian(std::vector<int16_t>(2 * 1000, 0)));
  EXPECT_EQ(third.size(), 2u * 4000);
}

TEST(MixerConversion, UnplayableFormatsAndPartFramesGiveNothing) {
  const std::vector<uint8_t> bytes(64, 1);
  EXPECT_TRUE(mix::convertToDevice(WaveFormat{2, 1, 22050, 44100, 2, 16, 0}, bytes).empty());
  EXPECT_TRUE(mix::convertToDevice(pcm(22050, 3, 16), bytes).empty());
  EXPECT_TRUE(mix::convertToDevice(pcm(22050, 1, 24), bytes).empty());
  EXPECT_TRUE(mix::convertToDevice(pcm(0, 1, 16), bytes).empty());
  EXPECT_TRUE(mix::convertToDevice(pcm(44100, 2, 16), std::vector<uint8_t>{1, 2, 3}).empty());
  EXPECT_EQ(mix::convertToDevice(pcm(44100, 2, 16), std::vector<uint8_t>{1, 0, 2, 0, 3}).size(),
            2u);
}

TEST(MixerCore, OneShotVoiceEndsAndLoopingVoiceWrapsWithoutAGap) {
  const std::vector<int16_t> clip{1, 2, 3, 4};
  std::vector<int32_t> sums(10, 0);
  mix::Cursor once{clip, 0, false};
  EXPECT_FALSE(mix::accumulate(sums, once));
  EXPECT_EQ(sums, (std::vector<int32_t>{1, 2, 3, 4, 0, 0, 0, 0, 0, 0}));

  std::fill(sums.begin(), sums.end(), 0);
  mix::Cursor loop{clip, 2, true};
  EXPECT_TRUE(mix::accumulate(sums, loop));
  EXPECT_EQ(sums, (std::vector<int32_t>{3, 4, 1, 2, 3, 4, 1, 2, 3, 4}));
  EXPECT_EQ(loop.position, 4u);

  // A one-shot voice that exactly fills the pass has ended and reports it the next pass.
  std::vector<int32_t> four(4, 0);
  mix::Cursor exact{clip, 0, false};
  EXPECT_FALSE(mix::accumulate(four, exact));
}

TEST(MixerCore, SumsAreClippedTo16Bits) {
  const std::vector<int16_t> loud{30000, -30000};
  std::vector<int32_t> sums(2, 0);
  mix::Cursor a{loud, 0, false};
  mix::Cursor b{loud, 0, false};
  mix::accumulate(sums, a);
  mix::accumulate(sums, b);
  std::vector<int16_t> out(2);
  mix::clipTo16(sums, out);
  EXPECT_EQ(out, (std::vector<int16_t>{32767, -32768}));
  const std::vector<int32_t> within{32767, -32768, 0, -5};
  std::vector<int16_t> same(4);
  mix::clipTo16(within, same);
  EXPECT_EQ(same, (std::vector<int16_t>{32767, -32768, 0, -5}));
}

// The real device with SDL's disk driver, which writes each mixed pass to a file in real time.
class DiskDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    path = std::filesystem::temp_directory_path() /
           ("vane-disk-audio-" + std::to_string(::getpid()) + ".raw");
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    if (!mixer.open()) GTEST_SKIP() << "SDL's disk audio driver is not available";
  }
  void TearDown() override {
    mixer.close();
    std::filesystem::remove(path);
  }

  BufferId load(const WaveFormat& format, const std::vector<uint8_t>& data) {
    const BufferId id = mixer.create(format, static_cast<uint32_t>(data.size()));
    uint32_t bytes = 0;
    uint8_t* region = mixer.lock(id, bytes);
    EXPECT_EQ(bytes, data.size());
    std::copy(data.begin(), data.end(), region);
    EXPECT_TRUE(mixer.unlock(id));
    return id;
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
  // sample; returns how many times it went round.
  static size_t checkLoop(const std::vector<int16_t>& recorded, const std::vector<int16_t>& clip) {
    const size_t from = start(recorded, clip);
    for (size_t i = from; i < recorded.size(); ++i) {
      if (recorded[i] != clip[(i - from) % clip.size()]) {
        ADD_FAILURE() << "sample " << i - from << " of the voice differs";
        return 0;
      }
    }
    return (recorded.size() - from) / clip.size();
  }

  std::filesystem::path path;
  SdlMixer mixer;
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
  const std::vector<int16_t> converted = mix::convertToDevice(format, clip);
  ASSERT_FALSE(converted.empty());
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

}  // namespace
}  // namespace vane::platform
