// SPDX-License-Identifier: GPL-3.0-or-later
// The bank loader: header bytes, counts, short data, missing files, clip numbering, refused clips,
// and what a bank's clips cost the SDL sound device.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "audio_fixture.h"
#include "platform/sdl/sdl_backend.h"

namespace vane::testing {
namespace {

using Bank = AudioTest;

long peakKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

long residentKib() {
  std::ifstream statm("/proc/self/statm");
  long size = 0;
  long pages = 0;
  statm >> size >> pages;
  return pages * (::sysconf(_SC_PAGESIZE) / 1024);
}

TEST_F(Bank, CountZeroGivesAnEmptyBankAndSuccess) {
  const std::vector<uint8_t> bytes{'S', 'N', 'D', 0, 0};
  SoundBank bank;
  EXPECT_EQ(loadSoundBankFromBytes(bank, bytes), 1);
  EXPECT_EQ(clipCount(bank), 0);
  EXPECT_EQ(clipAt(bank, 1), nullptr);
  EXPECT_EQ(loadSoundBankFromBytes(bank, std::vector<uint8_t>{1, 2}), 1);
  EXPECT_EQ(clipCount(bank), 0);
}

TEST_F(Bank, ClipsAreNumberedFromOneInFileOrderWhateverTheFirstFourBytes) {
  tools::Clip first = clipOfMillis(10, 1);
  tools::Clip second;
  second.format = {1, 2, 11025, 44100, 4, 16, 0};
  second.data = {9, 8, 7, 6, 5};
  std::vector<uint8_t> bytes = tools::soundBankBytes({first, second});
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(0xF0 + i);
  SoundBank bank;
  ASSERT_EQ(loadSoundBankFromBytes(bank, bytes), 1);
  ASSERT_EQ(clipCount(bank), 2);
  EXPECT_EQ(clipAt(bank, 0), nullptr);
  EXPECT_EQ(clipAt(bank, -1), nullptr);
  EXPECT_EQ(clipAt(bank, 3), nullptr);
  const SoundClip* one = clipAt(bank, 1);
  EXPECT_EQ(one->length, first.data.size());
  EXPECT_EQ(one->format.samplesPerSec, 22050u);
  const SoundClip* two = clipAt(bank, 2);
  EXPECT_EQ(two->format.channels, 2);
  EXPECT_EQ(two->format.samplesPerSec, 11025u);
  EXPECT_EQ(two->format.avgBytesPerSec, 44100u);
  EXPECT_EQ(two->format.blockAlign, 4);
  EXPECT_EQ(std::vector<uint8_t>(two->data, two->data + two->length), second.data);
}

TEST_F(Bank, ShortDataKeepsOnlyTheBytesThatExist) {
  tools::Clip whole = clipOfMillis(1, 3);
  tools::Clip cut;
  cut.format = tools::pcm16Format(44100, 2);
  cut.data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  std::vector<uint8_t> bytes = tools::soundBankBytes({whole, cut, whole});
  // Keep the third clip's count but drop it, and six bytes of the second clip's data.
  bytes.resize(bytes.size() - (22 + whole.data.size()) - 6);
  SoundBank bank;
  ASSERT_EQ(loadSoundBankFromBytes(bank, bytes), 1);
  ASSERT_EQ(clipCount(bank), 2);
  const SoundClip* short_ = clipAt(bank, 2);
  EXPECT_EQ(short_->length, 4u);
  EXPECT_EQ(std::vector<uint8_t>(short_->data, short_->data + 4),
            (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(clipAt(bank, 3), nullptr);

  // A clip with nothing after its length field is kept empty and plays as nothing.
  bytes.resize(bytes.size() - 4);
  SoundBank empty;
  loadSoundBankFromBytes(empty, bytes);
  ASSERT_EQ(clipCount(empty), 2);
  EXPECT_EQ(clipAt(empty, 2)->length, 0u);
  EXPECT_EQ(playClip(clipAt(empty, 2)), nullptr);
  EXPECT_TRUE(backend.dialogs.empty());
}

TEST_F(Bank, MissingFileShowsFileNotFoundAndLeavesTheBankEmpty) {
  SoundBank bank;
  EXPECT_EQ(loadSoundBank(bank, "/nonexistent/vane-audio-test.snd"), 0);
  EXPECT_EQ(clipCount(bank), 0);
  ASSERT_EQ(backend.dialogs.size(), 1u);
  EXPECT_EQ(backend.dialogs[0].text, "File Not Found");
  EXPECT_EQ(backend.dialogs[0].title, "ERROR");
  EXPECT_EQ(backend.dialogs[0].icon, host::Icon::Error);
}

TEST_F(Bank, LoadsAFileFromDiskAndAppends) {
  const auto path = std::filesystem::temp_directory_path() / "vane-audio-bank-test.snd";
  ASSERT_EQ(tools::writeFile(path.string(),
                             tools::soundBankBytes({clipOfMillis(2, 1), clipOfMillis(3, 2)})),
            "");
  SoundBank bank;
  EXPECT_EQ(loadSoundBank(bank, path.c_str()), 1);
  EXPECT_EQ(loadSoundBank(bank, path.c_str()), 1);
  std::filesystem::remove(path);
  ASSERT_EQ(clipCount(bank), 4);
  EXPECT_EQ(clipAt(bank, 3)->data[0], 1);
  EXPECT_EQ(clipAt(bank, 4)->data[0], 2);
  EXPECT_TRUE(backend.dialogs.empty());
}

TEST_F(Bank, InsertClipLinksAfterTheNthNode) {
  SoundBank bank;
  auto clipWithLength = [](uint32_t n) {
    SoundClip c;
    c.length = n;
    return c;
  };
  insertClip(bank, clipWithLength(1), 0);
  insertClip(bank, clipWithLength(2), 0);
  insertClip(bank, clipWithLength(3), 1);
  insertClip(bank, clipWithLength(4), 99);
  ASSERT_EQ(clipCount(bank), 4);
  EXPECT_EQ(clipAt(bank, 1)->length, 2u);
  EXPECT_EQ(clipAt(bank, 2)->length, 3u);
  EXPECT_EQ(clipAt(bank, 3)->length, 1u);
  EXPECT_EQ(clipAt(bank, 4)->length, 4u);
  bank.clear();
  EXPECT_EQ(bank.head.next, nullptr);
}

// A modded bank: clips the device cannot play are told once, at load, and are then silent while
// the game asks for them as often as it likes.
TEST_F(Bank, UnplayableClipsAreNamedOnceAtLoadAndThenPlayNothingWithoutADialog) {
  tools::Clip threeChannels = clipOfMillis(5);
  threeChannels.format.channels = 3;
  tools::Clip wrongByteRate = clipOfMillis(5);
  wrongByteRate.format.avgBytesPerSec = 1;
  const auto path = std::filesystem::temp_directory_path() / "vane-modded-bank.snd";
  ASSERT_EQ(
      tools::writeFile(path.string(), tools::soundBankBytes({clipOfMillis(5), threeChannels,
                                                             wrongByteRate, clipOfMillis(5)})),
      "");
  ::testing::internal::CaptureStderr();
  loadSoundBank(effectsBank, path.c_str());
  const std::string told = ::testing::internal::GetCapturedStderr();
  std::filesystem::remove(path);
  const std::string name = path.string();
  EXPECT_EQ(told, "vane: " + name +
                      ", clip 2: 3 channels (1 or 2 are played); it will not be played\n" +
                      "vane: " + name + ", clip 3: 1 bytes a second where 22050 Hz take 44100; " +
                      "it will not be played\n");
  ASSERT_EQ(clipCount(effectsBank), 4);
  for (int n : {2, 3, 2, 1, 3, 4, 2}) playEffect(n);
  EXPECT_TRUE(backend.dialogs.empty());
  EXPECT_EQ(events.size(), 7u) << "the game still asks for every effect";
  EXPECT_EQ(opKinds(),
            (std::vector<host::SoundOp::Kind>{host::SoundOp::Create, host::SoundOp::Play,
                                              host::SoundOp::Create, host::SoundOp::Play}));
}

// A clip claiming a very low rate once cost gigabytes and seconds when it was converted whole on
// the frame thread; on the SDL device it now costs its own bytes, however often it plays.
TEST_F(Bank, AClipOfAVeryLowRateCostsTheSDLDeviceOnlyItsOwnBytes) {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  const auto sdl = platform::makeSdlBackend();
  ASSERT_NE(sdl, nullptr);
  host::resetHost();  // the sound device over the SDL back end in place of the fixture's
  platform::setBackend(sdl.get());
  ASSERT_TRUE(host::createSoundDevice());
  tools::Clip rumble;
  rumble.format = platform::WaveFormat{1, 1, 1000, 1000, 1, 8, 0};
  rumble.data.assign(6'400'000, 0x90);
  loadSoundBankFromBytes(effectsBank, tools::soundBankBytes({rumble}));
  const long before = peakKib();
  for (int i = 0; i < 4; ++i) playEffect(1);
  EXPECT_LT(peakKib() - before, 64 * 1024) << "KiB more at the peak";
  reclaimVoices(playingVoices);
  EXPECT_NE(playingVoices.next, nullptr) << "still sounding: it lasts an hour and three quarters";
  resetAudio();
  host::resetHost();
  platform::setBackend(nullptr);
}

// A long piece stays in its bank file until it plays; however often it is started then, released
// while it plays and whether its bank is still there, the process holds its samples once, the
// device sounds them as they are, and once it stops nothing of it is left. Recorded by SDL's disk
// driver.
TEST_F(Bank, ALongPieceIsHeldOnlyWhilePlayingAndThenOnceHoweverOftenItRestarts) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("vane-held-once-" + std::to_string(::getpid()) + ".raw");
  const auto bankPath = std::filesystem::temp_directory_path() /
                        ("vane-held-once-" + std::to_string(::getpid()) + ".snd");
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
  const auto sdl = platform::makeSdlBackend();
  ASSERT_NE(sdl, nullptr);
  host::resetHost();  // the sound device over the SDL back end in place of the fixture's
  platform::setBackend(sdl.get());
  ASSERT_TRUE(host::createSoundDevice());
  // A second of distinct odd samples, never silent, 96 times over: 4 MiB.
  constexpr int kRate = 22050;
  constexpr long kPieceKib = kRate * 96 * 2 / 1024;
  const auto after = [](int16_t s) {
    return static_cast<int16_t>(s + 2 < kRate ? s + 2 : 1 - kRate);
  };
  {
    tools::Clip piece;
    piece.format = tools::pcm16Format(kRate, 1);
    int16_t sample = 1 - kRate;
    for (int i = 0; i < kRate * 96; ++i, sample = after(sample)) {
      piece.data.push_back(static_cast<uint8_t>(sample & 0xFF));
      piece.data.push_back(static_cast<uint8_t>(static_cast<uint16_t>(sample) >> 8));
    }
    ASSERT_EQ(tools::writeFile(bankPath.string(), tools::soundBankBytes({piece})), "");
  }
  const long before = residentKib();
  ASSERT_EQ(loadSoundBank(musicBank, bankPath.c_str()), 1);
  std::filesystem::remove(bankPath);  // read from the file still open
  tuneSoundDevice();
  EXPECT_LT(residentKib() - before, kPieceKib / 2) << "KiB more once loaded";
  for (int i = 0; i < 6; ++i) {
    startMusicLooped(1);  // each start releases the buffer still playing the piece
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  EXPECT_LT(residentKib() - before, kPieceKib * 3 / 2) << "KiB more while the piece plays";
  resetAudio();  // the bank goes; the last buffer plays on from the samples it shared
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  host::resetHost();
  platform::setBackend(nullptr);
  // AddressSanitizer's allocator holds freed blocks back to catch late uses, so what the process
  // gives back is the allocator's decision there, not the game's.
#if !defined(__SANITIZE_ADDRESS__)
  EXPECT_LT(residentKib() - before, kPieceKib / 2) << "KiB more once it has stopped";
#endif

  std::ifstream in(path, std::ios::binary);
  const std::vector<char> raw((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
  std::filesystem::remove(path);
  std::vector<int16_t> recorded(raw.size() / 2);
  std::memcpy(recorded.data(), raw.data(), recorded.size() * 2);
  constexpr size_t kFrames = 4096;  // the last ones, all from the final start
  ASSERT_GE(recorded.size(), 2 * (kFrames + 1));
  for (size_t i = recorded.size() - 2 * kFrames; i < recorded.size(); i += 2) {
    ASSERT_EQ(recorded[i], recorded[i + 1]) << i;
    ASSERT_EQ(recorded[i], after(recorded[i - 2])) << i;
  }
}

}  // namespace
}  // namespace vane::testing
