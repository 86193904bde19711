// SPDX-License-Identifier: GPL-3.0-or-later
// The host every back end shares: message order and waiting, the window's messages, the back
// buffer's fill, lock, unlock and flip, text in both pixel layouts, and keys arriving as events.
#include "host/host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/headless/headless.h"

namespace vane::host {
namespace {

std::vector<uint32_t> dispatched;

int32_t recordingProc(const Message& message) {
  dispatched.push_back(message.id);
  return defWindowProc(message);
}

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dispatched.clear();
    platform::setBackend(&backend);
  }
  void TearDown() override {
    resetHost();
    platform::setBackend(nullptr);
  }
  uint16_t onScreen(int x, int y) const { return backend.screen()[y * kWidth + x]; }
  uint16_t inBackBuffer(int x, int y) const {
    LockedSurface surface;
    return lock(surface) ? surface.pixels[y * kWidth + x] : 0;
  }

  platform::HeadlessBackend backend;
};

TEST_F(CoreTest, MessagesComeOutInOrderAndPeekingTakesNothing) {
  Message m;
  EXPECT_FALSE(peekMessage(m));
  for (uint32_t key : {1u, 2u, 3u}) postMessage(Message{kWmKeyDown, key, 0});
  ASSERT_TRUE(peekMessage(m));
  ASSERT_TRUE(peekMessage(m));
  EXPECT_EQ(m.wParam, 1u);
  for (uint32_t key : {1u, 2u, 3u}) EXPECT_EQ(getMessage().wParam, key);
  EXPECT_FALSE(peekMessage(m));
  // Nothing more can arrive, so waiting ends with a close rather than hanging.
  waitMessage();
  EXPECT_EQ(getMessage().id, kWmClose);
}

TEST_F(CoreTest, WindowLifeReachesTheProcedureInOrder) {
  ASSERT_TRUE(registerWindowClass(recordingProc));
  ASSERT_TRUE(createWindow());
  EXPECT_EQ(dispatched, std::vector<uint32_t>{kWmCreate});
  EXPECT_EQ(getMessage().id, kWmActivateApp);
  ASSERT_TRUE(createDisplay());

  dispatchMessage(Message{kWmClose, 0, 0});
  EXPECT_FALSE(windowExists());
  EXPECT_TRUE(backend.displayReleased);  // the display goes with its window
  destroyWindow();
  EXPECT_EQ(dispatched, (std::vector<uint32_t>{kWmCreate, kWmClose, kWmDestroy}));
}

TEST_F(CoreTest, DisplayOperationsFailWithoutADisplay) {
  LockedSurface surface;
  uint32_t green = 0;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "before creation" : "after release");
    EXPECT_FALSE(fill(0));
    EXPECT_FALSE(describeBackBuffer());
    EXPECT_FALSE(lock(surface));
    EXPECT_FALSE(unlock());
    EXPECT_FALSE(readGreenMask(green));
    EXPECT_EQ(getTextContext(), nullptr);
    EXPECT_FALSE(flip());
    ASSERT_TRUE(createDisplay());
    releaseDisplay();
  }
  EXPECT_EQ(backend.flips, 0);
}

TEST_F(CoreTest, OnlyAFlipChangesTheScreenAndTheBackBufferKeepsItsPicture) {
  ASSERT_TRUE(createDisplay());
  LockedSurface surface;
  ASSERT_TRUE(fill(0x1111));
  ASSERT_TRUE(lock(surface));
  EXPECT_EQ(surface.width, 640);
  EXPECT_EQ(surface.height, 480);
  EXPECT_EQ(surface.pitch, 1280);
  surface.pixels[479 * 640 + 639] = 0x2222;
  ASSERT_TRUE(unlock());
  EXPECT_EQ(onScreen(0, 0), 0);  // drawn, not yet flipped
  ASSERT_TRUE(flip());
  EXPECT_EQ(onScreen(0, 0), 0x1111);
  EXPECT_EQ(onScreen(639, 479), 0x2222);
  EXPECT_EQ(inBackBuffer(639, 479), 0x2222);

  // A frame that is drawn but not flipped leaves the screen as it was.
  ASSERT_TRUE(fill(0x3333));
  EXPECT_EQ(onScreen(0, 0), 0x1111);
  ASSERT_TRUE(flip());
  EXPECT_EQ(onScreen(639, 479), 0x3333);
  EXPECT_EQ(backend.flips, 2);
}

TEST_F(CoreTest, WhiteTextReachesTheScreenInEitherLayout) {
  struct Case {
    bool is565;
    uint32_t greenMask;
    uint16_t white;
  };
  for (const Case c : {Case{true, 0x07E0, 0xFFFF}, Case{false, 0x03E0, 0x7FFF}}) {
    SCOPED_TRACE(c.is565 ? "5-6-5" : "5-5-5");
    resetHost();
    platform::HeadlessBackend b;
    b.use565Layout = c.is565;
    platform::setBackend(&b);
    ASSERT_TRUE(createDisplay());
    uint32_t green = 0;
    ASSERT_TRUE(readGreenMask(green));
    EXPECT_EQ(green, c.greenMask);
    ASSERT_TRUE(fill(0));
    TextContext* text = getTextContext();
    ASSERT_NE(text, nullptr);
    text->setTextColor(0xFFFFFF);
    text->setTransparentBackground();
    text->textOut(350, 100, "Key Setting...");
    ASSERT_TRUE(flip());
    const auto& screen = b.screen();
    EXPECT_GT(std::count(screen.begin(), screen.end(), c.white), 20);
    // Ink only right of and below the point given, within a line's height of it, and never
    // the unused top bit of 5-5-5.
    int stray = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const uint16_t w = screen[y * kWidth + x];
        const bool inLine = x >= 349 && y >= 100 && y < 120;
        stray += (w != 0 && !inLine) || (!c.is565 && (w & 0x8000) != 0) ? 1 : 0;
      }
    }
    EXPECT_EQ(stray, 0);
    resetHost();
    platform::setBackend(&backend);
  }
}

TEST_F(CoreTest, KeyEventsHoldKeysApartAndSendKeyDownsAsTheSystemSays) {
  using Kind = platform::Event::Kind;
  const auto key = [](Kind kind, int physical, int virtualKey, bool message = true) {
    platform::Event e;
    e.kind = kind;
    e.key = physical;
    e.virtualKey = virtualKey;
    e.message = message;
    return e;
  };
  backend.pushEvent(key(Kind::KeyDown, 225, kVkShift));  // left Shift
  backend.pushEvent(key(Kind::KeyDown, 229, kVkShift));  // right Shift
  backend.pushEvent(key(Kind::KeyUp, 225, 0));
  backend.pushEvent(key(Kind::KeyDown, 29, kVkZ, false));  // pressed with Alt held
  Message m;
  ASSERT_TRUE(peekMessage(m));
  EXPECT_EQ(getMessage().wParam, uint32_t{kVkShift});
  EXPECT_EQ(getMessage().wParam, uint32_t{kVkShift});
  EXPECT_FALSE(peekMessage(m));    // the Alt chord held Z without a message
  EXPECT_TRUE(keyHeld(kVkShift));  // the right one is still down
  EXPECT_TRUE(keyHeld(kVkZ));
  platform::Event lost;
  lost.kind = Kind::Focus;
  lost.focused = false;
  backend.pushEvent(lost);
  ASSERT_TRUE(peekMessage(m));
  EXPECT_EQ(m.id, kWmActivateApp);
  EXPECT_FALSE(keyHeld(kVkShift));  // keys let go elsewhere never come back as releases

  // Taken over by a script, only Escape of the player's keys gets through.
  takeOverKeyboard();
  scriptKeyHold(kVkLeft);
  backend.pushEvent(key(Kind::KeyDown, 225, kVkShift));
  backend.pushEvent(key(Kind::KeyDown, 41, kVkEscape));
  getMessage();
  EXPECT_FALSE(keyHeld(kVkShift));
  EXPECT_TRUE(keyHeld(kVkLeft));
  EXPECT_EQ(getMessage().wParam, uint32_t{kVkEscape});
}

// The badge is drawn over the picture sent to the screen, never into the back buffer, and goes
// with the pause even when the game draws nothing new.
TEST_F(CoreTest, PauseBadgeShowsOnTheScreenOnlyWhilePausedAndOnlyWhenAsked) {
  ASSERT_TRUE(createDisplay());
  ASSERT_TRUE(fill(0x1234));
  const auto differing = [this] {
    int n = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) n += onScreen(x, y) != inBackBuffer(x, y) ? 1 : 0;
    }
    return n;
  };
  showPaused(true);
  ASSERT_TRUE(flip());
  EXPECT_EQ(differing(), 0) << "not asked for";
  setPauseBadge(true);
  ASSERT_TRUE(flip());
  EXPECT_GT(differing(), 500) << "a plate with the word";
  EXPECT_EQ(inBackBuffer(140, 235), 0x1234);
  showPaused(false);
  ASSERT_TRUE(flip());
  EXPECT_EQ(differing(), 0) << "gone on resume";
}

}  // namespace
}  // namespace vane::host
