// SPDX-License-Identifier: GPL-3.0-or-later
// The two sound banks the build forged: clip counts, formats, lengths, levels, loop seams, and that
// the forge composes the same bytes again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "audio/sound.h"
#include "tools/common/formats.h"
#include "tools/forge/sound/sound_forge.h"

namespace vane {
namespace {

constexpr uint32_t kRate = 22050;

std::vector<int16_t> samplesOf(const tools::Clip& clip) {
  std::vector<int16_t> samples(clip.data.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<int16_t>(clip.data[2 * i] | clip.data[2 * i + 1] << 8);
  }
  return samples;
}

double secondsOf(const tools::Clip& clip) {
  return static_cast<double>(clip.data.size()) / clip.format.avgBytesPerSec;
}

// The n-th smallest step between neighbouring samples, n given as a fraction of all steps.
int stepQuantile(const std::vector<int16_t>& s, double fraction) {
  std::vector<int> steps;
  for (std::size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
  const auto at = steps.begin() + static_cast<long>(fraction * (steps.size() - 1));
  std::nth_element(steps.begin(), at, steps.end());
  return *at;
}

std::vector<uint8_t> builtBank(const char* name) {
  return tools::readFile(std::string(VANE_DATA_DIR) + "/" + name);
}

// The clips of a bank file as the game's loader reads them.
std::vector<tools::Clip> clipsOf(const std::vector<uint8_t>& bytes) {
  SoundBank bank;
  loadSoundBankFromBytes(bank, bytes);
  std::vector<tools::Clip> clips;
  for (int n = 1; const SoundClip* clip = clipAt(bank, n); ++n) {
    clips.push_back({clip->format, std::vector<uint8_t>(clip->data, clip->data + clip->length)});
  }
  return clips;
}

// Composing the music takes a while: the tests read the banks the build made once.
class SoundBanks : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    effects = new std::vector<tools::Clip>(clipsOf(builtBank("1.snd")));
    music = new std::vector<tools::Clip>(clipsOf(builtBank("music.snd")));
  }
  static void TearDownTestSuite() {
    delete effects;
    delete music;
  }
  static std::vector<tools::Clip> all() {
    std::vector<tools::Clip> clips = *effects;
    clips.insert(clips.end(), music->begin(), music->end());
    return clips;
  }
  static inline std::vector<tools::Clip>* effects = nullptr;
  static inline std::vector<tools::Clip>* music = nullptr;
};

TEST_F(SoundBanks, HoldSevenEffectsAndFourPieces) {
  EXPECT_EQ(effects->size(), 7u);
  EXPECT_EQ(music->size(), 4u);
}

TEST_F(SoundBanks, ClipsAreWholeBlocksOfSixteenBitPcm) {
  for (const tools::Clip& clip : all()) {
    EXPECT_EQ(clip.format.formatTag, 1);
    EXPECT_EQ(clip.format.samplesPerSec, kRate);
    EXPECT_EQ(clip.format.bitsPerSample, 16);
    EXPECT_EQ(clip.format.blockAlign, clip.format.channels * 2);
    EXPECT_EQ(clip.format.avgBytesPerSec, kRate * clip.format.blockAlign);
    EXPECT_EQ(clip.data.size() % clip.format.blockAlign, 0u);
    EXPECT_GT(clip.data.size(), 0u);
  }
}

TEST_F(SoundBanks, DurationsSuitTheirUse) {
  struct Range {
    double low, high;
  };
  constexpr Range kEffects[] = {{0.8, 1.3}, {0.04, 0.1}, {0.1, 0.25}, {0.35, 0.6},
                                {1.0, 1.6}, {1.0, 1.6},  {0.4, 0.6}};
  constexpr Range kMusic[] = {{60.0, 90.0}, {60.0, 90.0}, {8.0, 15.0}, {4.0, 6.0}};
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_GE(secondsOf((*effects)[i]), kEffects[i].low) << "effect " << i + 1;
    EXPECT_LE(secondsOf((*effects)[i]), kEffects[i].high) << "effect " << i + 1;
  }
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_GE(secondsOf((*music)[i]), kMusic[i].low) << "piece " << i + 1;
    EXPECT_LE(secondsOf((*music)[i]), kMusic[i].high) << "piece " << i + 1;
  }
}

TEST_F(SoundBanks, NothingClipsAndNothingIsSilent) {
  for (const tools::Clip& clip : all()) {
    const std::vector<int16_t> s = samplesOf(clip);
    int loudest = 0;
    int flatTops = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
      loudest = std::max(loudest, std::abs(static_cast<int>(s[i])));
      if (i > 0 && s[i] == s[i - 1] && std::abs(static_cast<int>(s[i])) > 31000) ++flatTops;
    }
    EXPECT_LT(loudest, 32440);
    EXPECT_GT(loudest, 4000);
    EXPECT_EQ(flatTops, 0);
  }
}

TEST_F(SoundBanks, EffectsThatComeInBunchesLeaveTheMixItsHeadroom) {
  // Effects the game starts in the same frame, each on a voice of its own: the copies add up
  // sample for sample from the same start, the worst case of a bunch.
  struct Bunch {
    const char* what;
    std::vector<std::pair<int, int>> clipsAndCopies;
  };
  const Bunch bunches[] = {
      {"four energy balls and a shot", {{3, 4}, {2, 1}}},
      {"three enemies blown up by one shot volley", {{4, 3}, {2, 1}}},
      {"a special attack's first kills", {{5, 1}, {4, 2}, {2, 1}}},
      {"the ship hit while an enemy explodes", {{1, 1}, {4, 1}}},
  };
  for (const Bunch& bunch : bunches) {
    std::vector<int> sum;
    for (const auto& [clip, copies] : bunch.clipsAndCopies) {
      const std::vector<int16_t> s = samplesOf((*effects)[static_cast<std::size_t>(clip - 1)]);
      sum.resize(std::max(sum.size(), s.size()), 0);
      for (std::size_t i = 0; i < s.size(); ++i) sum[i] += copies * s[i];
    }
    int loudest = 0;
    for (int v : sum) loudest = std::max(loudest, std::abs(v));
    EXPECT_LE(loudest, 32767) << bunch.what;
  }
}

TEST_F(SoundBanks, EffectsStartAndEndAtRest) {
  for (const tools::Clip& clip : *effects) {
    const std::vector<int16_t> s = samplesOf(clip);
    EXPECT_EQ(s.front(), 0);
    EXPECT_LE(std::abs(static_cast<int>(s.back())), 64);
  }
}

// A looped piece jumps from its last sample to its first; that step must be an ordinary one,
// both for the piece as a whole and for the moments on either side of the seam.
TEST_F(SoundBanks, LoopsJoinWithoutAClick) {
  constexpr std::size_t kAround = 32;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::vector<int16_t> s = samplesOf((*music)[i]);
    const int seam = std::abs(s.front() - s.back());
    EXPECT_LE(seam, stepQuantile(s, 0.99)) << "piece " << i + 1;
    int nearby = 0;
    for (std::size_t k = 1; k < kAround; ++k) {
      nearby = std::max(
          {nearby, std::abs(s[k] - s[k - 1]), std::abs(s[s.size() - k] - s[s.size() - k - 1])});
    }
    EXPECT_LE(seam, nearby) << "piece " << i + 1;
  }
}

TEST_F(SoundBanks, GameOverTuneEndsInSilence) {
  const std::vector<int16_t> s = samplesOf((*music)[3]);
  const std::size_t lastTenth = kRate / 10;
  EXPECT_TRUE(std::all_of(s.end() - static_cast<long>(lastTenth), s.end(),
                          [](int16_t x) { return x == 0; }));
}

// The one test that composes: the forge makes the built files again, byte for byte.
TEST_F(SoundBanks, AreTheSameOnEveryRun) {
  EXPECT_EQ(tools::soundBankBytes(forge::makeEffects()), builtBank("1.snd"));
  EXPECT_EQ(tools::soundBankBytes(forge::makeMusic()), builtBank("music.snd"));
}

}  // namespace
}  // namespace vane
