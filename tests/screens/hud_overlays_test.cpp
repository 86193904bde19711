// SPDX-License-Identifier: GPL-3.0-or-later
// The HUD's digits and icons, and the game-over, stage-clear and key-help text with their keys.
#include "core/devices.h"
#include "core/state.h"
#include "screens/screens.h"
#include "screens_fixture.h"

namespace vane::testing {
namespace {

using host::kVkC;
using host::kVkReturn;

class HudTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    World.spawnActor(1, 1, 170, 400, 0, 0);
    lockBackBuffer(surface);
  }
  void draw() {
    fillBackBuffer(0);
    drawHud(surface);
  }
  std::vector<int> digits() const {
    std::vector<int> out;
    for (int x = 45; x <= 135; x += 15) out.push_back(frameInBackBuffer(Sheet::Etc, x, 13) - 1);
    return out;
  }
  host::LockedSurface surface;
};

TEST_F(HudTest, ScoreShowsSevenDigitsWithLeadingZeros) {
  ship().scoreValue = 1234;
  draw();
  EXPECT_EQ(frameInBackBuffer(Sheet::Etc, 30, 1), 11);
  EXPECT_EQ(digits(), (std::vector<int>{0, 0, 0, 1, 2, 3, 4}));
  ship().scoreValue = 12345678;
  draw();
  EXPECT_EQ(digits(), (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(frameInBackBuffer(Sheet::Etc, 30, 13), 0);
}

TEST_F(HudTest, LivesAndEnergyIconsStandInRowsFromTheRight) {
  ship().speed = 2;
  ship().angle = 300;
  draw();
  EXPECT_EQ(frameInBackBuffer(Sheet::Etc, 275, 13), 18);
  EXPECT_EQ(frameInBackBuffer(Sheet::Etc, 260, 13), 18);
  EXPECT_EQ(frameInBackBuffer(Sheet::Etc, 245, 13), 0);
  for (int x : {320, 310, 300}) EXPECT_EQ(frameInBackBuffer(Sheet::Etc, x, 465), 17) << x;
  EXPECT_EQ(frameInBackBuffer(Sheet::Etc, 290, 465), 0);

  ship().type = 2;
  ship().speed = 0;
  ship().angle = 299;
  draw();
  EXPECT_EQ(frameInBackBuffer(Sheet::Etc, 275, 13), 0);
  EXPECT_EQ(frameInBackBuffer(Sheet::Etc, 300, 465), 0);
  EXPECT_EQ(frameInBackBuffer(Sheet::Etc, 310, 465), 17);
  ship().speed = 1;
  draw();
  EXPECT_EQ(frameInBackBuffer(Sheet::Etc, 275, 13), 19);
}

class OverlayTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    gameState = Stage1;
    frameCount = 200;
    World.spawnActor(1, 1, 170, 400, 0, 0);
    spawn(1003, 100, 100);
    startMusicLooped(1);
    sounds.clear();
  }
  std::vector<SoundEvent> music() const {
    std::vector<SoundEvent> out;
    for (const SoundEvent& e : sounds) {
      if (e.kind != SoundEvent::Effect) out.push_back(e);
    }
    return out;
  }
  static void expectEvent(const SoundEvent& e, SoundEvent::Kind kind, int clip, int looped) {
    EXPECT_EQ(e.kind, kind);
    if (kind == SoundEvent::Music) {
      EXPECT_EQ(e.clip, clip);
      EXPECT_EQ(e.looped, looped);
    }
  }
  void expectBackAtTheMenu() {
    EXPECT_EQ(gameState, Menu);
    EXPECT_EQ(frameCount, UINT32_MAX);
    EXPECT_EQ(World.menuCursor(), 1);
    EXPECT_EQ(World.stageChoice(), 1);
    EXPECT_EQ(World.shipChoice(), 1);
    EXPECT_EQ(World.upLatch(), 0);
    EXPECT_EQ(World.downLatch(), 0);
    EXPECT_EQ(World.endMusicLatch(), 0);
    for (int l = 0; l < ListCount; ++l) EXPECT_EQ(World.next[l], nullptr) << l;
  }
  RecordingText text;
};

TEST_F(OverlayTest, KeyHelpIsWrittenInWhiteOnEveryFrame) {
  runStageOverlays(&text, false);
  EXPECT_TRUE(text.transparent);
  ASSERT_EQ(text.lines.size(), 7u);
  const char* expected[] = {"Key Setting...",
                            "Move : Arrow Keys",
                            "Shot : Shift Keys",
                            "Special Attack : Z Key",
                            "PAUSE : Space Key",
                            "T Key  ^^;",
                            "Get Energy Ball For Special Attack"};
  const int ys[] = {100, 120, 140, 160, 180, 200, 240};
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(text.lines[i].text, expected[i]);
    EXPECT_EQ(text.lines[i].x, 350);
    EXPECT_EQ(text.lines[i].y, ys[i]);
    EXPECT_EQ(text.lines[i].colour, 0xFFFFFFu);
  }
  EXPECT_TRUE(sounds.empty());
}

TEST_F(OverlayTest, GameOverStartsItsTuneOnceAndWritesItsLinesInBlack) {
  ship().speed = -1;
  runStageOverlays(&text, false);
  runStageOverlays(&text, false);
  const auto events = music();
  ASSERT_EQ(events.size(), 2u);
  expectEvent(events[0], SoundEvent::Release, 0, 0);
  expectEvent(events[1], SoundEvent::Music, 4, 0);
  EXPECT_EQ(World.endMusicLatch(), -1);
  ASSERT_GE(text.lines.size(), 3u);
  EXPECT_EQ(text.lines[0].text, "Game Over!!!");
  EXPECT_EQ(text.lines[0].x, 100);
  EXPECT_EQ(text.lines[0].y, 240);
  EXPECT_EQ(text.lines[0].colour, 0u);
  EXPECT_EQ(text.lines[1].text, "Hit -C- Key to continue..");
  EXPECT_EQ(text.lines[2].text, "Hit RETURN Key to End Stage..");
  EXPECT_EQ(text.lines[2].x, 60);
}

TEST_F(OverlayTest, ContinueInStageTwoRestartsTheFirstMusic) {
  gameState = Stage2;
  ship().speed = -1;
  ship().mode = 256;
  ship().scoreValue = 500;
  ship().hp = 3;
  hold(kVkC);
  runStageOverlays(&text, false);
  EXPECT_EQ(ship().speed, 2);
  EXPECT_EQ(ship().mode, 64);
  EXPECT_EQ(ship().x, 17000);
  EXPECT_EQ(ship().y, 40000);
  EXPECT_EQ(ship().anim, 0);
  EXPECT_EQ(ship().fireTimer, 9);
  EXPECT_EQ(ship().hp, 1);
  EXPECT_EQ(ship().angle, 300);
  EXPECT_EQ(ship().scoreValue, 501);
  EXPECT_EQ(World.endMusicLatch(), 0);
  const auto events = music();
  ASSERT_EQ(events.size(), 4u);
  expectEvent(events[1], SoundEvent::Music, 4, 0);
  expectEvent(events[2], SoundEvent::Release, 0, 0);
  expectEvent(events[3], SoundEvent::Music, 1, 1);
  EXPECT_EQ(gameState, Stage2);

  // A second game over plays its tune again.
  hold(kVkC, false);
  ship().speed = -1;
  runStageOverlays(&text, false);
  expectEvent(music().back(), SoundEvent::Music, 4, 0);
}

TEST_F(OverlayTest, StageClearLoopsItsTuneAndBlinksItsLines) {
  runStageOverlays(&text, true);
  EXPECT_TRUE(text.wrote("Clear Stage !!!"));
  EXPECT_TRUE(text.wrote("Press RETURN to Menu"));
  text.lines.clear();
  frameCount = 201;
  runStageOverlays(&text, true);
  EXPECT_FALSE(text.wrote("Clear Stage !!!"));
  EXPECT_FALSE(text.wrote("Press RETURN to Menu"));
  const auto events = music();
  ASSERT_EQ(events.size(), 2u);
  expectEvent(events[1], SoundEvent::Music, 3, 1);

  hold(kVkReturn);
  runStageOverlays(&text, true);
  expectBackAtTheMenu();
  expectEvent(music().back(), SoundEvent::Release, 0, 0);
}

TEST_F(OverlayTest, GameOverAndStageClearInTheSameFrame) {
  ship().speed = -1;
  runStageOverlays(&text, true);
  EXPECT_TRUE(text.wrote("Game Over!!!"));
  EXPECT_TRUE(text.wrote("Clear Stage !!!"));
  const auto events = music();
  ASSERT_EQ(events.size(), 2u);
  expectEvent(events[1], SoundEvent::Music, 4, 0);

  text.lines.clear();
  sounds.clear();
  hold(kVkReturn);
  hold(kVkC);
  runStageOverlays(&text, true);
  expectBackAtTheMenu();
  // After leaving, neither the continue nor the clear screen acts: one release, then the help.
  const auto after = music();
  ASSERT_EQ(after.size(), 1u);
  expectEvent(after[0], SoundEvent::Release, 0, 0);
  EXPECT_FALSE(text.wrote("Clear Stage !!!"));
  EXPECT_TRUE(text.wrote("Key Setting..."));
}

TEST_F(OverlayTest, LeavingFromAStageFrameRunsTheFrameToItsFlip) {
  ship().speed = -1;
  hold(kVkReturn);
  EXPECT_EQ(drawStageFrame(), 0);
  EXPECT_EQ(backend.flips, 1);
  expectBackAtTheMenu();
}

}  // namespace
}  // namespace vane::testing
