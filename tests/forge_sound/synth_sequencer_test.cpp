// SPDX-License-Identifier: GPL-3.0-or-later
// The synthesiser's notes and mastering, and the sequencer's reading of patterns and sections.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tools/forge/sound/sequencer.h"
#include "tools/forge/sound/synth.h"

namespace vane::forge {
namespace {

constexpr Voice kBeep{.wave = Wave::Sine, .env = {0.01f, 0.05f, 0.8f, 0.05f}};

int16_t sampleAt(const std::vector<uint8_t>& pcm, std::size_t i) {
  return static_cast<int16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8);
}

TEST(Patterns, NoteNamesGiveNoteNumbers) {
  EXPECT_EQ(noteNumber("A4"), 69);
  EXPECT_EQ(noteNumber("C4"), 60);
  EXPECT_EQ(noteNumber("F#2"), 42);
  EXPECT_EQ(noteNumber("Bb3"), 58);
  EXPECT_EQ(noteNumber("Cb4"), 59);
  EXPECT_EQ(noteNumber("B#3"), 60);
  EXPECT_EQ(noteNumber("-"), kRest);
  EXPECT_THROW(noteNumber("H4"), std::invalid_argument);
  EXPECT_THROW(noteNumber("A"), std::invalid_argument);
  EXPECT_THROW(noteNumber("A44"), std::invalid_argument);
}

TEST(Patterns, ChordsGiveRootAndIntervals) {
  const Chord minor = parseChord("Am");
  EXPECT_EQ(minor.root, 9);
  EXPECT_EQ(minor.size, 3);
  EXPECT_EQ(minor.intervals[1], 3);
  const Chord seventh = parseChord("Bb7");
  EXPECT_EQ(seventh.root, 10);
  EXPECT_EQ(seventh.size, 4);
  EXPECT_EQ(seventh.intervals[3], 10);
  EXPECT_EQ(parseChord("C#").root, 1);
  EXPECT_THROW(parseChord("Cmaj9"), std::invalid_argument);
}

TEST(Patterns, StepsAddUpAcrossBarLines) {
  EXPECT_EQ(patternSteps("E5:4 A5:4 | -:2 C6:10"), 20);
  EXPECT_EQ(patternSteps(""), 0);
  EXPECT_THROW(patternSteps("E5:4 A5"), std::invalid_argument);
  EXPECT_THROW(patternSteps("E5:0"), std::invalid_argument);
  EXPECT_THROW(patternSteps("E5:4x"), std::invalid_argument);
}

TEST(Patterns, SectionsMustSpanWholeBarsInEveryLine) {
  constexpr Groove kBeat{.kick = "X...x...", .snare = "....X..."};
  constexpr Groove kOddBeat{.kick = "X..x.."};
  constexpr Groove kBadBeat{.kick = "X...o..."};
  EXPECT_TRUE(sectionFits({.chords = "Am:16", .lead = "A4:8 C5:8", .groove = &kBeat}));
  EXPECT_FALSE(sectionFits({.chords = "Am:16", .lead = "A4:8 C5:4"}));
  EXPECT_FALSE(sectionFits({.chords = "Am:8"}));
  EXPECT_FALSE(sectionFits({.chords = "Am:16", .groove = &kOddBeat}));
  EXPECT_FALSE(sectionFits({.chords = "Am:16", .groove = &kBadBeat}));
  EXPECT_FALSE(sectionFits({.chords = "Am:16", .groove = &kBeat, .fill = &kOddBeat}));
}

// A note that runs past the end of a loop continues at its start, sample for sample.
TEST(Notes, RingingPastALoopsEndWrapsToItsStart) {
  constexpr long kLoop = 2000;
  NoiseSource noise(1);
  Signal straight(4000, 0.0f);
  renderNote(straight, 1500, 440.0f, 0.02f, 1.0f, kBeep, noise, false);
  Signal looped(kLoop, 0.0f);
  renderNote(looped, 1500, 440.0f, 0.02f, 1.0f, kBeep, noise, true);
  for (long i = 0; i < kLoop; ++i) {
    EXPECT_FLOAT_EQ(looped[i], straight[i] + straight[i + kLoop]) << i;
  }
  EXPECT_NE(looped[100], 0.0f);
}

TEST(Notes, ReleaseEndsInSilenceAndNothingSoundsAfter) {
  NoiseSource noise(1);
  Signal out(3000, 0.0f);
  renderNote(out, 0, 440.0f, 0.05f, 1.0f, kBeep, noise, false);
  const auto end = static_cast<std::size_t>(std::ceil(soundingSeconds(kBeep, 0.05f) * kSampleRate));
  EXPECT_LT(std::fabs(out[end - 1]), 1e-3f);
  for (std::size_t i = end; i < out.size(); ++i) ASSERT_EQ(out[i], 0.0f) << i;
  EXPECT_EQ(out[0], 0.0f);
}

TEST(Notes, SameSeedSameNoise) {
  NoiseSource a(7), b(7), c(8);
  bool differs = false;
  for (int i = 0; i < 100; ++i) {
    const float x = a.next();
    EXPECT_EQ(x, b.next());
    EXPECT_GE(x, -1.0f);
    EXPECT_LT(x, 1.0f);
    differs = differs || x != c.next();
  }
  EXPECT_TRUE(differs);
}

TEST(Mastering, ScalesThePeakAndKeepsTheOrderOfLevels) {
  Signal ramp;
  for (int i = -50; i <= 50; ++i) ramp.push_back(static_cast<float>(i) * 0.2f);
  const std::vector<uint8_t> pcm = masterPcm16(ramp, 0.5f);
  ASSERT_EQ(pcm.size(), ramp.size() * 2);
  EXPECT_EQ(sampleAt(pcm, 100), 16384);
  EXPECT_EQ(sampleAt(pcm, 0), -16384);
  EXPECT_EQ(sampleAt(pcm, 50), 0);
  for (std::size_t i = 1; i < ramp.size(); ++i) EXPECT_GT(sampleAt(pcm, i), sampleAt(pcm, i - 1));
  // The quiet half passes the limiter untouched: a straight line.
  EXPECT_NEAR(sampleAt(pcm, 60) * 2, sampleAt(pcm, 70), 2);
}

TEST(Mastering, SilenceStaysSilent) {
  const std::vector<uint8_t> pcm = masterPcm16(Signal(10, 0.0f), 0.8f);
  EXPECT_EQ(pcm, std::vector<uint8_t>(20, 0));
}

}  // namespace
}  // namespace vane::forge
