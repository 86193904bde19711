// SPDX-License-Identifier: GPL-3.0-or-later
// The black game-over and stage-clear lines against the art behind them, on every frame of a run
// where they show: the contrast (WCAG relative luminance) over each pixel the text covers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "core/state.h"
#include "gfx/frames.h"
#include "gfx/sprite.h"
#include "host/display.h"
#include "host/host.h"
#include "host/text.h"
#include "screens/frame_choice.h"
#include "screens/screen_parts.h"
#include "screens/screens.h"
#include "tools/sim/sim_run.h"
#include "world/actor.h"

namespace vane::testing {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kStageX = 10;
constexpr int kSkyHeight = 480;

struct OverlayRun {
  const char* what;
  const char* keys;  // tests/golden/<keys>.keys, or nullptr for a run without keys
  uint32_t seed;
  int stage;
  int ship;
  long long frames;
};

// The golden runs to both stage clears, and a ship of each stage left alone until its game over,
// which then lasts while the stage scrolls on under the lines.
constexpr OverlayRun kRuns[] = {
    {"stage 1 clear", "stage1-clear", 111, 1, 1, 5500},
    {"stage 2 clear", "stage2-clear", 122, 2, 2, 7700},
    {"stage 1 game over", nullptr, 1, 1, 1, 5500},
    {"stage 2 game over", nullptr, 1, 2, 2, 6000},
};

void PrintTo(const OverlayRun& r, std::ostream* out) {
  *out << r.what;
}

double linear(int eightBit) {
  const double c = eightBit / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Relative luminance of a 5-6-5 pixel, widened to 8 bits as the pictures are written.
double luminance(uint16_t p) {
  const int r = p >> 11, g = (p >> 5) & 63, b = p & 31;
  return 0.2126 * linear((r << 3) | (r >> 2)) + 0.7152 * linear((g << 2) | (g >> 4)) +
         0.0722 * linear((b << 3) | (b >> 2));
}

// The pixels a set of lines covers: 1 - what is left of white where they are written in black.
struct Mask {
  std::vector<int> covered;  // pixel indices
  std::vector<int> full;     // those covered wholly, black wherever the lines are shown
  std::vector<int> around;   // the rest of the lines' boxes
};

Mask maskOf(std::span<const OverlayLine> lines) {
  std::vector<uint16_t> white(kWidth * kHeight, 0xFFFF);
  auto dc = host::makeTextContext(white.data(), kWidth, kHeight, kWidth * 2, true);
  dc->setTextColor(0x000000);
  dc->setTransparentBackground();
  for (const OverlayLine& line : lines) dc->textOut(line.x, line.y, line.text);
  Mask mask;
  int left = kWidth, top = kHeight, right = 0, bottom = 0;
  for (int i = 0; i < kWidth * kHeight; ++i) {
    if (white[i] == 0xFFFF) continue;
    mask.covered.push_back(i);
    if (white[i] == 0) mask.full.push_back(i);
    left = std::min(left, i % kWidth), right = std::max(right, i % kWidth);
    top = std::min(top, i / kWidth), bottom = std::max(bottom, i / kWidth);
  }
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      if (white[y * kWidth + x] == 0xFFFF) mask.around.push_back(y * kWidth + x);
    }
  }
  return mask;
}

bool linesShown(const Mask& mask, const uint16_t* shown) {
  return std::all_of(mask.full.begin(), mask.full.end(), [&](int i) { return shown[i] == 0; });
}

// The art the stage draws first, as the stage renderer places it: the ground at the scroll
// position, and in stage 2 the clouds and islands floating over it.
std::vector<uint16_t> artBehind(int stage) {
  std::vector<uint16_t> art(kWidth * kHeight, 0);
  const host::LockedSurface surface{art.data(), kWidth, kHeight, kWidth * 2};
  if (stage == 1) {
    drawFrame(surface, stageSheet, frames::number(frames::Stage::Stage1Ground), kStageX,
              -scrollPos);
    return art;
  }
  const int32_t sky = frames::number(frames::Stage::Stage2Sky);
  drawFrame(surface, stageSheet, sky, kStageX, -scrollPos);
  drawFrame(surface, stageSheet, sky, kStageX, kSkyHeight - scrollPos);
  for (const Actor* a = World.next[EnemyList]; a != nullptr; a = a->next[EnemyList]) {
    for (const FrameRule& rule : kDecorationFrames) {
      if (rule.type == a->type)
        drawFrame(surface, stageSheet, rule.first.number, pixelX(*a), pixelY(*a));
    }
  }
  return art;
}

struct Measure {
  long long frames = 0;
  double lowest = 21;
  long long pixels = 0;
  long long below = 0;    // covered pixels under 4.5:1
  long long matched = 0;  // pixels of the boxes around the text where the art is what is shown
  long long compared = 0;
};

void measureFrame(const Mask& mask, int stage, Measure& m) {
  const uint16_t* shown = host::shownPicture();
  if (shown == nullptr || !linesShown(mask, shown)) return;
  const std::vector<uint16_t> art = artBehind(stage);
  ++m.frames;
  for (int i : mask.covered) {
    const double contrast = (luminance(art[static_cast<size_t>(i)]) + 0.05) / 0.05;
    m.lowest = std::min(m.lowest, contrast);
    ++m.pixels;
    if (contrast < 4.5) ++m.below;
  }
  for (int i : mask.around) {
    ++m.compared;
    if (art[static_cast<size_t>(i)] == shown[i]) ++m.matched;
  }
}

class OverlayContrast : public ::testing::TestWithParam<OverlayRun> {};

// Ships, shots, bullets and items pass under the lines too; they are not the art behind them.
TEST_P(OverlayContrast, TheLinesStandOutFromTheArtBehindThemOnEveryFrameTheyShow) {
  const OverlayRun& r = GetParam();
  sim::KeyScript script;
  if (r.keys != nullptr) {
    std::string error;
    script = sim::readKeyScript(std::string(VANE_GOLDEN_DIR) + "/" + r.keys + ".keys", error);
    ASSERT_TRUE(error.empty()) << error;
  }
  const Mask gameOver = maskOf(gameOverLines());
  const Mask clear = maskOf(stageClearLines());
  Measure m;
  sim::Options options;
  options.seed = r.seed;
  options.dataDir = VANE_DATA_DIR;
  options.stage = r.stage;
  options.ship = r.ship;
  options.frames = r.frames;
  options.afterFrame = [&](long long) {
    if (gameState != Stage1 && gameState != Stage2) return;
    const Actor* ship = firstPlayer();
    if (ship == nullptr) return;
    measureFrame(ship->lives() < 0 ? gameOver : clear, gameState == Stage1 ? 1 : 2, m);
  };
  ASSERT_EQ(sim::run(options, script), 0);
  std::printf(
      "%s: lines shown on %lld frames; lowest contrast %.2f:1 over %lld covered pixels, "
      "%lld under 4.5:1\n",
      r.what, m.frames, m.lowest, m.pixels, m.below);
  ASSERT_GT(m.frames, 20) << "the lines were hardly shown: the run no longer reaches them";
  // Most of the boxes around the lines show the art as composed here: it is the art behind.
  EXPECT_GT(m.matched * 2, m.compared);
  EXPECT_GE(m.lowest, 4.5) << m.below << " of " << m.pixels << " covered pixels";
}

std::string runName(const ::testing::TestParamInfo<OverlayRun>& info) {
  std::string name = info.param.what;
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
}

// Long runs: the `slow` label.
INSTANTIATE_TEST_SUITE_P(SlowRuns, OverlayContrast, ::testing::ValuesIn(kRuns), runName);

}  // namespace
}  // namespace vane::testing
