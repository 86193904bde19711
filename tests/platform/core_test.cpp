// SPDX-License-Identifier: GPL-3.0-or-later
// The platform core both back ends share: message order and waiting, the window's messages, the
// back buffer's fill, lock, unlock and flip, and text reaching the screen in both pixel layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/headless/headless.h"

namespace vane::platform {
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
    setBackend(&backend);
  }
  void TearDown() override {
    setBackend(nullptr);
    setWindowProc(nullptr);
  }
  uint16_t onScreen(int x, int y) const { return backend.screen()[y * Backend::kWidth + x]; }
  uint16_t inBackBuffer(int x, int y) const {
    return backend.backBuffer()[y * Backend::kWidth + x];
  }

  HeadlessBackend backend;
};

TEST_F(CoreTest, MessagesComeOutInOrderAndPeekingTakesNothing) {
  Message m;
  EXPECT_FALSE(backend.peekMessage(m));
  for (uint32_t key : {1u, 2u, 3u}) backend.postMessage(Message{kWmKeyDown, key, 0});
  ASSERT_TRUE(backend.peekMessage(m));
  ASSERT_TRUE(backend.peekMessage(m));
  EXPECT_EQ(m.wParam, 1u);
  for (uint32_t key : {1u, 2u, 3u}) EXPECT_EQ(backend.getMessage().wParam, key);
  EXPECT_FALSE(backend.peekMessage(m));
  // Nothing more can arrive, so waiting ends with a close rather than hanging.
  backend.waitMessage();
  EXPECT_EQ(backend.getMessage().id, kWmClose);
}

TEST_F(CoreTest, WindowLifeReachesTheProcedureInOrder) {
  ASSERT_TRUE(backend.registerWindowClass(recordingProc));
  ASSERT_TRUE(backend.createWindow());
  EXPECT_EQ(dispatched, std::vector<uint32_t>{kWmCreate});
  EXPECT_EQ(backend.getMessage().id, kWmActivateApp);
  ASSERT_TRUE(backend.createDisplay());

  dispatchMessage(Message{kWmClose, 0, 0});
  EXPECT_FALSE(backend.windowExists());
  EXPECT_TRUE(backend.displayReleased);  // the display goes with its window
  backend.destroyWindow();
  EXPECT_EQ(dispatched, (std::vector<uint32_t>{kWmCreate, kWmClose, kWmDestroy}));
}

TEST_F(CoreTest, DisplayOperationsFailWithoutADisplay) {
  LockedSurface surface;
  uint32_t green = 0;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "before creation" : "after release");
    EXPECT_FALSE(backend.fill(0));
    EXPECT_FALSE(backend.describeBackBuffer());
    EXPECT_FALSE(backend.lock(surface));
    EXPECT_FALSE(backend.unlock());
    EXPECT_FALSE(backend.readGreenMask(green));
    EXPECT_EQ(backend.getTextContext(), nullptr);
    EXPECT_FALSE(backend.flip());
    ASSERT_TRUE(backend.createDisplay());
    backend.releaseDisplay();
  }
  EXPECT_EQ(backend.flips, 0);
}

TEST_F(CoreTest, OnlyAFlipChangesTheScreenAndTheBackBufferKeepsItsPicture) {
  ASSERT_TRUE(backend.createDisplay());
  LockedSurface surface;
  ASSERT_TRUE(backend.fill(0x1111));
  ASSERT_TRUE(backend.lock(surface));
  EXPECT_EQ(surface.width, 640);
  EXPECT_EQ(surface.height, 480);
  EXPECT_EQ(surface.pitch, 1280);
  surface.pixels[479 * 640 + 639] = 0x2222;
  ASSERT_TRUE(backend.unlock());
  EXPECT_EQ(onScreen(0, 0), 0);  // drawn, not yet flipped
  ASSERT_TRUE(backend.flip());
  EXPECT_EQ(onScreen(0, 0), 0x1111);
  EXPECT_EQ(onScreen(639, 479), 0x2222);
  EXPECT_EQ(inBackBuffer(639, 479), 0x2222);

  // A frame that is drawn but not flipped leaves the screen as it was.
  ASSERT_TRUE(backend.fill(0x3333));
  EXPECT_EQ(onScreen(0, 0), 0x1111);
  ASSERT_TRUE(backend.flip());
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
    HeadlessBackend b;
    b.use565Layout = c.is565;
    ASSERT_TRUE(b.createDisplay());
    uint32_t green = 0;
    ASSERT_TRUE(b.readGreenMask(green));
    EXPECT_EQ(green, c.greenMask);
    ASSERT_TRUE(b.fill(0));
    TextContext* text = b.getTextContext();
    ASSERT_NE(text, nullptr);
    text->setTextColor(0xFFFFFF);
    text->setTransparentBackground();
    text->textOut(350, 100, "Key Setting...");
    ASSERT_TRUE(b.flip());
    const auto& screen = b.screen();
    EXPECT_GT(std::count(screen.begin(), screen.end(), c.white), 20);
    // Ink only right of and below the point given, within a line's height of it, and never
    // the unused top bit of 5-5-5.
    int stray = 0;
    for (int y = 0; y < Backend::kHeight; ++y) {
      for (int x = 0; x < Backend::kWidth; ++x) {
        const uint16_t w = screen[y * Backend::kWidth + x];
        const bool inLine = x >= 349 && y >= 100 && y < 120;
        stray += (w != 0 && !inLine) || (!c.is565 && (w & 0x8000) != 0) ? 1 : 0;
      }
    }
    EXPECT_EQ(stray, 0);
  }
}

}  // namespace
}  // namespace vane::platform
