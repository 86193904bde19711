// SPDX-License-Identifier: GPL-3.0-or-later
// Title screens and the menu: curtains, keys and latches, starting and quitting, failures.
#include "core/state.h"
#include "flow/flow.h"
#include "screens/screens.h"
#include "screens_fixture.h"

namespace vane::testing {
namespace {

using host::kVkDown;
using host::kVkLeft;
using host::kVkNumpad2;
using host::kVkReturn;
using host::kVkRight;
using host::kVkUp;

class MenuTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    gameState = Menu;
    frameCount = 0;
    World.menuCursor() = 1;
    World.stageChoice() = 1;
    World.shipChoice() = 1;
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) runMenuFrame();
  }
};

TEST_F(ScreensTest, TitleScreenShowsItsPictureBetweenClosingCurtains) {
  EXPECT_EQ(drawTitleScreen(21), 1);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 10, 0), 21);
  EXPECT_EQ(frameOnScreen(Sheet::Back, 0, 0), 1);
  EXPECT_EQ(frameOnScreen(Sheet::Back, 320, 0), 2);
  EXPECT_EQ(frameCount, 1u);
  frameCount = 5;
  drawTitleScreen(20);
  EXPECT_EQ(frameOnScreen(Sheet::Back, 370, 0), 2);
  EXPECT_EQ(frameOnScreen(Sheet::Back, 320, 0), 0);
  frameCount = 31;
  drawTitleScreen(20);
  EXPECT_EQ(frameOnScreen(Sheet::Back, 630, 0), 2);
  EXPECT_EQ(backend.flips, 3);
}

TEST_F(ScreensTest, TitleScreenFailuresReturnTheirCodesWithoutFlipping) {
  host::faults().describe = true;
  EXPECT_EQ(drawTitleScreen(20), 1);
  host::faults().describe = false;
  host::faults().lock = true;
  EXPECT_EQ(drawTitleScreen(20), 2);
  host::faults().lock = false;
  host::faults().unlock = true;
  EXPECT_EQ(drawTitleScreen(20), 3);
  EXPECT_EQ(backend.flips, 0);
  EXPECT_EQ(frameCount, 1u);  // only the frame that got as far as drawing counted
}

// A still screen is drawn once and then shown again as it stands, every frame still flipped and
// counted, until what it shows changes or something else writes to the back buffer.
TEST_F(ScreensTest, AStillTitleIsDrawnOnceAndShownEveryFrame) {
  frameCount = 40;
  drawTitleScreen(20);
  const uint64_t stamp = host::backBufferStamp();
  const std::vector<uint16_t> shown = backend.screen();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(drawTitleScreen(20), 1);
  EXPECT_EQ(host::backBufferStamp(), stamp);
  EXPECT_EQ(backend.flips, 4);
  EXPECT_EQ(frameCount, 44u);
  EXPECT_EQ(backend.screen(), shown);
  drawTitleScreen(21);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 10, 0), 21);
}

TEST_F(MenuTest, AStillMenuIsShownAgainUntilAKeyOrAnotherWriterChangesIt) {
  frames(40);
  const uint64_t stamp = host::backBufferStamp();
  const std::vector<uint16_t> shown = backend.screen();
  frames(5);
  EXPECT_EQ(host::backBufferStamp(), stamp);
  EXPECT_EQ(backend.flips, 45);
  EXPECT_EQ(frameCount, 45u);
  EXPECT_EQ(backend.screen(), shown);

  hold(kVkDown);
  runMenuFrame();
  EXPECT_EQ(World.menuCursor(), 2);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 200, 210), 27);
  hold(kVkDown, false);
  frames(2);
  EXPECT_EQ(World.downLatch(), 0);  // the keys still act on still frames

  host::fill(0x1234);
  runMenuFrame();
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 200, 210), 27);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 300, 30), 22);
}

TEST_F(MenuTest, DrawsPicturesCursorAndMarkers) {
  World.shipChoice() = 2;
  runMenuFrame();
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 300, 30), 22);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 420, 30), 23);
  EXPECT_EQ(frameOnScreen(Sheet::Player, 320, 240), 3);
  EXPECT_EQ(frameOnScreen(Sheet::Player, 440, 240), 15);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 320, 300), 26);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 200, 80), 27);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 290, 25), 24);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 423, 220), 25);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 303, 220), 0);
}

TEST_F(MenuTest, UpAndDownMoveOncePerPressAndClampButStillLatch) {
  hold(kVkDown);
  frames(10);
  EXPECT_EQ(World.menuCursor(), 2);
  hold(kVkDown, false);
  runMenuFrame();
  EXPECT_EQ(World.downLatch(), 0);
  hold(kVkNumpad2);
  runMenuFrame();
  EXPECT_EQ(World.menuCursor(), 3);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 200, 300), 27);
  hold(kVkNumpad2, false);
  runMenuFrame();
  hold(kVkDown);
  frames(2);
  hold(kVkDown, false);
  runMenuFrame();
  hold(kVkDown);
  runMenuFrame();
  EXPECT_EQ(World.menuCursor(), 4);
  EXPECT_EQ(World.downLatch(), 100);

  hold(kVkDown, false);
  World.menuCursor() = 1;
  hold(kVkUp);
  runMenuFrame();
  EXPECT_EQ(World.menuCursor(), 1);
  EXPECT_EQ(World.upLatch(), 100);
}

TEST_F(MenuTest, LeftAndRightChooseOnTheirRowsOnlyAndClamp) {
  hold(kVkRight);
  frames(5);
  EXPECT_EQ(World.stageChoice(), 2);
  EXPECT_EQ(frameOnScreen(Sheet::Etc, 410, 25), 24);
  World.menuCursor() = 2;
  runMenuFrame();
  EXPECT_EQ(World.shipChoice(), 2);
  hold(kVkRight, false);
  hold(kVkLeft);
  frames(3);
  EXPECT_EQ(World.shipChoice(), 1);
  EXPECT_EQ(World.stageChoice(), 2);
  World.menuCursor() = 3;
  hold(kVkLeft, false);
  hold(kVkRight);
  runMenuFrame();
  World.menuCursor() = 4;
  runMenuFrame();
  EXPECT_EQ(World.stageChoice(), 2);
  EXPECT_EQ(World.shipChoice(), 1);
}

TEST_F(MenuTest, ReturnIsIgnoredWhileTheCurtainsOpen) {
  World.menuCursor() = 3;
  hold(kVkReturn);
  frames(32);
  EXPECT_EQ(gameState, Menu);
  EXPECT_EQ(firstPlayer(), nullptr);
  EXPECT_EQ(backend.flips, 32);
  runMenuFrame();
  EXPECT_EQ(gameState, Stage1);
}

TEST_F(MenuTest, StartingSpawnsTheShipAndLeavesTheFrameUnflipped) {
  frameCount = 40;
  World.menuCursor() = 3;
  World.stageChoice() = 2;
  World.shipChoice() = 2;
  runMenuFrame();
  const int flipsBefore = backend.flips;
  hold(kVkReturn);
  EXPECT_EQ(runMenuFrame(), 1);
  EXPECT_EQ(backend.flips, flipsBefore);
  EXPECT_EQ(gameState, Stage2);
  EXPECT_EQ(frameCount, 0u);
  EXPECT_EQ(scrollPos, 480);
  ASSERT_NE(firstPlayer(), nullptr);
  EXPECT_EQ(ship().type, 2);
  EXPECT_EQ(ship().x, 17000);
  EXPECT_EQ(ship().y, 40000);
  EXPECT_EQ(ship().angle, 300);
  EXPECT_EQ(ship().speed, 2);
  EXPECT_EQ(ship().mode, 64);
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_EQ(sounds[0].kind, SoundEvent::Music);
  EXPECT_EQ(sounds[0].clip, 2);
  EXPECT_EQ(sounds[0].looped, 1);
}

TEST_F(MenuTest, StageOneStartsWithItsMusicAndScroll) {
  startStage(1, 1);
  EXPECT_EQ(gameState, Stage1);
  EXPECT_EQ(scrollPos, 900);
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_EQ(sounds[0].clip, 1);
}

TEST_F(MenuTest, QuitRowQuitsWithoutFlipping) {
  frameCount = 32;
  World.menuCursor() = 4;
  hold(kVkReturn);
  EXPECT_EQ(runMenuFrame(), 1);
  EXPECT_EQ(gameState, Quit);
  EXPECT_EQ(frameCount, 0u);
  EXPECT_EQ(backend.flips, 0);
}

TEST_F(MenuTest, FirstFrameAfterAStageShowsTheCurtainsOpenAndStartsNothing) {
  frameCount = UINT32_MAX;
  hold(kVkReturn);
  runMenuFrame();
  EXPECT_EQ(gameState, Menu);
  EXPECT_EQ(frameCount, 0u);
  EXPECT_EQ(frameOnScreen(Sheet::Back, 630, 0), 2);
  runMenuFrame();
  EXPECT_EQ(frameOnScreen(Sheet::Back, 320, 0), 2);
}

TEST_F(MenuTest, UnlockFailureAfterStartingKeepsTheStart) {
  frameCount = 32;
  World.menuCursor() = 3;
  hold(kVkReturn);
  host::faults().unlock = true;
  EXPECT_EQ(runMenuFrame(), 3);
  EXPECT_EQ(gameState, Stage1);
  EXPECT_NE(firstPlayer(), nullptr);
  host::faults().unlock = false;
  host::faults().lock = true;
  gameState = Menu;
  EXPECT_EQ(runMenuFrame(), 2);
  EXPECT_EQ(backend.flips, 0);
}

}  // namespace
}  // namespace vane::testing
