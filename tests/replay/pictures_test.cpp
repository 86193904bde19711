// SPDX-License-Identifier: GPL-3.0-or-later
// Golden pictures: the title, the menu and a frame of each stage, compared pixel for pixel; on a
// difference the run's picture and a diff image are written beside the build.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fingerprint.h"
#include "tools/sim/sim_run.h"
#include "tools/spr/spr_png.h"

namespace vane::testing {
namespace {

namespace fs = std::filesystem;

struct Picture {
  const char* name;  // tests/golden/pictures/<name>.png
  const char* keys;  // a golden key script, or "" for none
  uint32_t seed;
  int stage;
  int ship;
  long long frame;
};

constexpr Picture kPictures[] = {
    {"title", "", 7, 0, 0, 40},
    {"menu", "boot-to-menu", 7, 0, 0, 55},
    {"stage1", "stage1-ship1", 1, 1, 1, 600},
    {"stage2", "stage2-ship2", 4, 2, 2, 600},
};

void PrintTo(const Picture& p, std::ostream* out) {
  *out << p.name;
}

// Runs the game to the picture's frame and returns the PNG vane-sim wrote of it.
fs::path shoot(const Picture& p) {
  const fs::path dir = fs::absolute(fs::path("picture-runs") / p.name);
  fs::remove_all(dir);
  std::string error;
  sim::KeyScript script;
  if (*p.keys != '\0') {
    script = sim::readKeyScript(std::string(VANE_GOLDEN_DIR) + "/" + p.keys + ".keys", error);
  }
  EXPECT_TRUE(error.empty()) << error;
  sim::Options options;
  options.seed = p.seed;
  options.dataDir = VANE_DATA_DIR;
  options.stage = p.stage;
  options.ship = p.ship;
  options.frames = p.frame;
  options.pngDir = dir.string();
  options.pngEvery = p.frame;
  EXPECT_EQ(sim::run(options, script, nullptr), 0);
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06lld.png", p.frame);
  return dir / name;
}

// Differing pixels in red over the expected picture dimmed to a quarter; the count of them.
int writeDiff(const tools::RgbaImage& want, const tools::RgbaImage& got, const fs::path& path) {
  tools::RgbaImage diff = want;
  int differing = 0;
  for (size_t i = 0; i < diff.rgba.size(); i += 4) {
    const bool same = std::equal(&want.rgba[i], &want.rgba[i + 4], &got.rgba[i]);
    differing += same ? 0 : 1;
    for (size_t c = 0; c < 3; ++c) {
      diff.rgba[i + c] = same ? static_cast<uint8_t>(want.rgba[i + c] / 4) : (c == 0 ? 255 : 0);
    }
  }
  tools::writePng(path.string(), diff);
  return differing;
}

class PictureTest : public ::testing::TestWithParam<Picture> {};

TEST_P(PictureTest, MatchesTheGoldenPicture) {
  const Picture& p = GetParam();
  const fs::path shot = shoot(p);
  const fs::path golden = fs::path(VANE_GOLDEN_DIR) / "pictures" / (std::string(p.name) + ".png");
  if (std::getenv("VANE_REGENERATE_GOLDEN") != nullptr) {
    fs::create_directories(golden.parent_path());
    fs::copy_file(shot, golden, fs::copy_options::overwrite_existing);
    GTEST_SKIP() << "golden picture rewritten: " << golden;
  }
  const std::string otherSources = pictureSourcesDiffer();
  if (!otherSources.empty()) GTEST_SKIP() << "picture not compared: " << otherSources;

  tools::RgbaImage want;
  tools::RgbaImage got;
  ASSERT_EQ(tools::readPng(golden.string(), want), "") << "run with VANE_REGENERATE_GOLDEN=1";
  ASSERT_EQ(tools::readPng(shot.string(), got), "");
  ASSERT_EQ(got.width, want.width);
  ASSERT_EQ(got.height, want.height);
  if (got.rgba == want.rgba) return;
  const fs::path diffs = fs::absolute("picture-diffs");
  fs::create_directories(diffs);
  const fs::path actual = diffs / (std::string(p.name) + "-actual.png");
  const fs::path diff = diffs / (std::string(p.name) + "-diff.png");
  fs::copy_file(shot, actual, fs::copy_options::overwrite_existing);
  const int differing = writeDiff(want, got, diff);
  ADD_FAILURE() << differing << " pixels differ from " << golden << "; see " << actual << " and "
                << diff;
}

INSTANTIATE_TEST_SUITE_P(Golden, PictureTest, ::testing::ValuesIn(kPictures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vane::testing
