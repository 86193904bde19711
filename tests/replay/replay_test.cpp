// SPDX-License-Identifier: GPL-3.0-or-later
// Replays recorded vane-sim runs (seed + key script) and compares every frame with its golden
// trace: every game field always, the picture hash only while the sprite files and the glyph table
// are those the traces were recorded with (tests/golden/fingerprint).
//
// To record the golden traces anew after an intended change of behaviour or art, run the test with
// VANE_REGENERATE_GOLDEN=1 in the environment; the files under tests/golden/ are rewritten.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fingerprint.h"
#include "tools/sim/sim_run.h"
#include "trace_diff.h"

namespace vane::testing {
namespace {

struct Replay {
  const char* name;  // tests/golden/<name>.keys and <name>.trace
  uint32_t seed;
  int stage;
  int ship;
  long long frames;
};

constexpr Replay kReplays[] = {
    {"boot-to-menu", 7, 0, 0, 140},  {"stage1-ship1", 1, 1, 1, 1200},
    {"stage1-ship2", 2, 1, 2, 1200}, {"stage2-ship1", 3, 2, 1, 1200},
    {"stage2-ship2", 4, 2, 2, 1200},
};
// Through the boss fights and the stage clears: the `slow` label (ctest -L slow).
constexpr Replay kLongReplays[] = {
    {"stage1-boss", 5, 1, 1, 5200},
    {"stage2-boss", 6, 2, 2, 6000},
    {"stage1-clear", 111, 1, 1, 5500},
    {"stage2-clear", 122, 2, 2, 7700},
};

void PrintTo(const Replay& r, std::ostream* out) {
  *out << r.name;
}

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ReplayTest : public ::testing::TestWithParam<Replay> {};

TEST_P(ReplayTest, MatchesTheGoldenTrace) {
  const Replay& r = GetParam();
  const std::string base = std::string(VANE_GOLDEN_DIR) + "/" + r.name;
  std::string error;
  const auto script = sim::readKeyScript(base + ".keys", error);
  ASSERT_TRUE(error.empty()) << error;
  sim::Options options;
  options.seed = r.seed;
  options.dataDir = VANE_DATA_DIR;
  options.stage = r.stage;
  options.ship = r.ship;
  options.frames = r.frames;
  std::ostringstream trace;
  ASSERT_EQ(sim::run(options, script, &trace), 0);

  if (std::getenv("VANE_REGENERATE_GOLDEN") != nullptr) {
    std::ofstream(base + ".trace", std::ios::binary) << digestTrace(trace.str());
    GTEST_SKIP() << "golden trace rewritten: " << base << ".trace";
  }
  const std::string expected = readText(base + ".trace");
  ASSERT_FALSE(expected.empty()) << "no golden trace; run with VANE_REGENERATE_GOLDEN=1";
  const std::string otherPictures = pictureSourcesDiffer();
  const Compare compare = otherPictures.empty() ? Compare::AllFields : Compare::GameFields;
  const std::string desync = firstDesync(expected, trace.str(), compare);
  EXPECT_TRUE(desync.empty()) << r.name << ": " << desync;
  if (!otherPictures.empty()) std::printf("picture hash not compared: %s\n", otherPictures.c_str());
}

std::string replayName(const ::testing::TestParamInfo<Replay>& info) {
  std::string n = info.param.name;
  for (char& c : n) c = c == '-' ? '_' : c;
  return n;
}

INSTANTIATE_TEST_SUITE_P(Golden, ReplayTest, ::testing::ValuesIn(kReplays), replayName);
INSTANTIATE_TEST_SUITE_P(SlowGolden, ReplayTest, ::testing::ValuesIn(kLongReplays), replayName);

// The picture hashes are compared only where this holds; a skip here says why they were not.
TEST(GoldenFingerprint, SpriteFilesAndGlyphsAreThoseOfTheRecording) {
  if (std::getenv("VANE_REGENERATE_GOLDEN") != nullptr) {
    recordFingerprint(currentFingerprint());
    GTEST_SKIP() << "fingerprint rewritten";
  }
  const std::string otherPictures = pictureSourcesDiffer();
  if (!otherPictures.empty()) GTEST_SKIP() << "picture hashes not compared: " << otherPictures;
}

}  // namespace
}  // namespace vane::testing
