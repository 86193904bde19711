// SPDX-License-Identifier: GPL-3.0-or-later
// The main loop, the game states, the window procedure and the pause word.
#include <gtest/gtest.h>

#include <cstring>

#include "core/devices.h"
#include "core/state.h"
#include "shell/shell_fixture.h"
#include "world/actor.h"

namespace vane::testing {
namespace {

// Counts frames and stops the loop after a number of them.
class CountingObserver : public LoopObserver {
 public:
  explicit CountingObserver(int limit) : limit_(limit) {}
  Next beforeFrame() override { return frames < limit_ ? Next::RunFrame : Next::Stop; }
  void afterFrame() override { ++frames; }
  bool whileInactive() override {
    ++inactiveWaits;
    return inactiveWaits < 3;
  }
  int frames = 0;
  int inactiveWaits = 0;

 private:
  int limit_;
};

class LoopTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    writeDataFiles();
    ASSERT_EQ(startUpHere(), 1);
    ASSERT_TRUE(pumpMessages());  // the activation
  }
};

TEST_F(LoopTest, BootFrameDrawsNothingAndMovesToTheFirstTitle) {
  EXPECT_EQ(gameState, Boot);
  ASSERT_TRUE(host::fill(0x1234));
  runFrame();
  EXPECT_EQ(gameState, TitleA);
  host::LockedSurface surface;
  ASSERT_TRUE(host::lock(surface));
  EXPECT_EQ(surface.pixels[0], 0x1234);  // not even cleared
  EXPECT_EQ(backend.flips, 0);
}

TEST_F(LoopTest, NoFrameRunsWhileInactive) {
  host::postMessage(host::Message{host::kWmActivateApp, 0, 0});
  CountingObserver observer(5);
  runMainLoop(&observer);
  EXPECT_EQ(observer.frames, 0);
  EXPECT_EQ(gameState, Boot);
  EXPECT_EQ(appActive, 0);
}

TEST_F(LoopTest, FramesResumeWithTheNextActivation) {
  host::postMessage(host::Message{host::kWmActivateApp, 0, 0});
  CountingObserver idle(5);
  runMainLoop(&idle);
  host::postMessage(host::Message{host::kWmActivateApp, 1, 0});
  CountingObserver active(2);
  runMainLoop(&active);
  EXPECT_EQ(active.frames, 2);
  EXPECT_EQ(gameState, TitleA);
}

TEST_F(LoopTest, MessagesGoBeforeFrames) {
  runFrame();  // Boot -> TitleA
  keyDown(host::kVkSpace);
  keyDown(host::kVkLeft);
  CountingObserver observer(1);
  runMainLoop(&observer);
  // Both key-downs were handled before the one frame: TitleA -> TitleB -> Menu.
  EXPECT_EQ(gameState, Menu);
  EXPECT_EQ(observer.frames, 1);
}

TEST_F(LoopTest, TitleKeysMoveOnAndResetTheMenuSettings) {
  runFrame();
  frameCount = 17;
  World.menuCursor() = 4;
  World.stageChoice() = 2;
  World.shipChoice() = 2;
  World.upLatch() = 100;
  World.downLatch() = 100;
  World.endMusicLatch() = -1;
  keyDown(host::kVkUp);
  ASSERT_TRUE(pumpMessages());
  EXPECT_EQ(gameState, TitleB);
  EXPECT_EQ(frameCount, 0u);
  EXPECT_EQ(World.menuCursor(), 4);  // settings are set only when the menu is entered
  frameCount = 9;
  keyDown('A');
  ASSERT_TRUE(pumpMessages());
  EXPECT_EQ(gameState, Menu);
  EXPECT_EQ(frameCount, 0u);
  const int32_t expected[6] = {1, 1, 1, 0, 0, 0};
  const int32_t actual[6] = {World.menuCursor(), World.stageChoice(), World.shipChoice(),
                             World.upLatch(),    World.downLatch(),   World.endMusicLatch()};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(actual[i], expected[i]) << "setting " << i;
  keyDown(host::kVkDown);
  ASSERT_TRUE(pumpMessages());
  EXPECT_EQ(gameState, Menu);  // the menu polls its keys; messages change nothing
}

TEST_F(LoopTest, EscapeEndsTheProgramInEveryState) {
  for (int32_t state : {Boot, TitleA, TitleB, Menu, Stage1, Stage2, Quit}) {
    SCOPED_TRACE(state);
    TearDown();
    SetUp();
    gameState = state;
    pauseCount = state == Stage2 ? 1 : 0;
    keyDown(host::kVkEscape);
    EXPECT_FALSE(pumpMessages());
    EXPECT_FALSE(host::windowExists());
    EXPECT_TRUE(backend.displayReleased);
    EXPECT_FALSE(backend.audioOpen);
  }
}

TEST_F(LoopTest, QuitStatePostsACloseEveryFrameUntilTheWindowIsGone) {
  gameState = Quit;
  runFrame();
  runFrame();
  int closes = 0;
  host::Message m;
  while (host::peekMessage(m) && m.id == host::kWmClose) {
    closes += 1;
    host::dispatchMessage(host::getMessage());
  }
  EXPECT_EQ(closes, 2);
  EXPECT_FALSE(host::windowExists());
  CountingObserver observer(10);
  EXPECT_EQ(runMainLoop(&observer), 0);  // the quit the destruction posted
}

TEST_F(LoopTest, DestroyingTheWindowRestoresTheKeyboardFoundAtStart) {
  uint8_t found[256];
  host::getKeyboardState(found);
  uint8_t pressed[256];
  std::memcpy(pressed, found, 256);
  pressed[65] = 0x80;
  host::setKeyboardState(pressed);
  clearKeyboardState();
  host::scriptKeyHold(host::kVkShift);
  EXPECT_TRUE(keyHeld(host::kVkShift));  // the asynchronous state is untouched by the clear
  host::destroyWindow();
  uint8_t now[256];
  host::getKeyboardState(now);
  EXPECT_EQ(std::memcmp(found, now, 256), 0);
}

TEST_F(LoopTest, CursorQueryIsHandledSoThePointerStaysHidden) {
  EXPECT_EQ(windowProc(host::Message{host::kWmSetCursor, 0, 0}), 1);
}

class PauseTest : public LoopTest {
 protected:
  void stageFrame(bool space) {
    space ? host::scriptKeyHold(host::kVkSpace) : host::scriptKeyUp(host::kVkSpace);
    runFrame();
  }
};

TEST_F(PauseTest, SpaceTogglesOncePerPress) {
  gameState = Stage1;
  World.spawnActor(1, 1, 170, 400, 300, 2);
  struct Step {
    bool space;
    int32_t pause;
    uint32_t frames;
  };
  const Step steps[] = {
      {false, 0, 1},  {true, 101, 1}, {true, 101, 1}, {false, 1, 1},  {false, 1, 1},
      {true, 100, 2}, {true, 100, 3}, {false, 0, 4},  {true, 101, 4}, {false, 1, 4},
  };
  for (const Step& s : steps) {
    stageFrame(s.space);
    EXPECT_EQ(pauseCount, s.pause);
    EXPECT_EQ(frameCount, s.frames);
  }
}

TEST_F(PauseTest, PauseWordSurvivesLeavingTheStage) {
  gameState = Stage2;
  World.spawnActor(1, 1, 170, 400, 300, 2);
  stageFrame(true);
  stageFrame(false);
  EXPECT_EQ(pauseCount, 1);
  gameState = Menu;
  runFrame();
  EXPECT_EQ(pauseCount, 1);
}

TEST_F(PauseTest, EveryStageFrameLastsAtLeast25Milliseconds) {
  gameState = Stage1;
  World.spawnActor(1, 1, 170, 400, 300, 2);
  for (int i = 0; i < 5; ++i) {
    const uint64_t before = host::monotonicNanos();
    const uint32_t tickBefore = host::tickCount();
    runFrame();
    EXPECT_GE(host::monotonicNanos() - before, 25'000'000u);
    EXPECT_GE(host::tickCount() - tickBefore, 25u);
    EXPECT_EQ(frameStartTick >= tickBefore, true);
  }
}

}  // namespace
}  // namespace vane::testing
