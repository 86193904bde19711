// The bank loader: header bytes, counts, short data, missing files and clip numbering.
#include <cstdio>
#include <filesystem>

#include "audio_fixture.h"

namespace vane::testing {
namespace {

using Bank = AudioTest;

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
  EXPECT_EQ(backend.dialogs[0].icon, platform::Icon::Error);
}

TEST_F(Bank, LoadsAFileFromDiskAndAppends) {
  const auto path = std::filesystem::temp_directory_path() / "vane-audio-bank-test.snd";
  ASSERT_TRUE(tools::writeFile(path.string(),
                               tools::soundBankBytes({clipOfMillis(2, 1), clipOfMillis(3, 2)})));
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

}  // namespace
}  // namespace vane::testing
