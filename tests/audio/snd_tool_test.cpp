// SPDX-License-Identifier: GPL-3.0-or-later
// vane-snd: a bank unpacked to WAV files and an index packs back to the same bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/common/formats.h"

namespace vane::tools {
namespace {

class SndTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() / ("vane-snd-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  static int run(const std::string& arguments) {
    return std::system((std::string(VANE_SND) + " " + arguments + " 2>/dev/null").c_str());
  }
  std::string at(const std::string& name) const { return (dir / name).string(); }

  std::filesystem::path dir;
};

TEST_F(SndTool, UnpackThenPackGivesTheSameFile) {
  Clip odd;
  odd.format = platform::WaveFormat{1, 1, 11025, 11025, 1, 8, 0};
  odd.data = {0x80, 0x90, 0x70};
  Clip stereo;
  stereo.format = pcm16Format(44100, 2);
  stereo.format.extraSize = 0x1234;
  for (int i = 0; i < 400; ++i) stereo.data.push_back(static_cast<uint8_t>(i * 7));
  std::vector<uint8_t> bank = soundBankBytes({odd, stereo, Clip{pcm16Format(22050, 1), {}}});
  bank[0] = 0xDE;
  bank[1] = 0xAD;
  bank[2] = 0xBE;
  bank[3] = 0xEF;
  ASSERT_EQ(writeFile(at("in.snd"), bank), "");

  ASSERT_EQ(run("unpack " + at("in.snd") + " " + at("clips")), 0);
  for (const char* name : {"clip-01.wav", "clip-02.wav", "clip-03.wav", "index.txt"}) {
    EXPECT_TRUE(std::filesystem::exists(dir / "clips" / name)) << name;
  }
  const std::vector<uint8_t> wav = readFile(at("clips/clip-01.wav"));
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(wav.size() % 2, 0u) << "an odd data chunk is padded";

  ASSERT_EQ(run("pack " + at("clips") + " " + at("out.snd")), 0);
  EXPECT_EQ(readFile(at("out.snd")), bank);
}

TEST_F(SndTool, EmptyBankAndBadInputs) {
  const std::vector<uint8_t> empty{'A', 'B', 'C', 'D', 0};
  ASSERT_EQ(writeFile(at("empty.snd"), empty), "");
  ASSERT_EQ(run("unpack " + at("empty.snd") + " " + at("none")), 0);
  ASSERT_EQ(run("pack " + at("none") + " " + at("again.snd")), 0);
  EXPECT_EQ(readFile(at("again.snd")), empty);

  // An odd-sized chunk at the very end without its pad byte: 21 bytes, no data chunk.
  std::filesystem::create_directories(dir / "odd");
  const std::string index =
      "header 53 4e 44 00\nodd.wav 01 00 01 00 11 2b 00 00 11 2b 00 00 01 00 08 00 00 00\n";
  ASSERT_EQ(writeFile(at("odd/index.txt"), std::vector<uint8_t>(index.begin(), index.end())), "");
  std::vector<uint8_t> wav{'R', 'I', 'F', 'F', 13, 0, 0, 0, 'W', 'A', 'V', 'E'};
  wav.insert(wav.end(), {'j', 'u', 'n', 'k', 1, 0, 0, 0, 0x55});
  ASSERT_EQ(wav.size(), 21u);
  ASSERT_EQ(writeFile(at("odd/odd.wav"), wav), "");
  EXPECT_EQ(run("pack " + at("odd") + " " + at("odd.snd")), 1 << 8) << "refused, not crashed";

  // A bank the game would load with a clip it cannot play (24 bits a sample) is not built.
  Clip deep;
  deep.format = platform::WaveFormat{1, 1, 22050, 66150, 3, 24, 0};
  deep.data.assign(300, 0x40);
  ASSERT_EQ(writeFile(at("deep.snd"), soundBankBytes({deep})), "");
  ASSERT_EQ(run("unpack " + at("deep.snd") + " " + at("deep")), 0);
  EXPECT_EQ(run("pack " + at("deep") + " " + at("deep-again.snd")), 1 << 8);
  EXPECT_FALSE(std::filesystem::exists(dir / "deep-again.snd"));

  EXPECT_NE(run("unpack " + at("missing.snd") + " " + at("x")), 0);
  EXPECT_NE(run("pack " + at("missing-dir") + " " + at("y.snd")), 0);
  EXPECT_NE(run("frobnicate a b"), 0);
}

}  // namespace
}  // namespace vane::tools
