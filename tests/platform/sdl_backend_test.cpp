// The SDL back end on SDL's display-less video driver: window messages, keys, dialogs, paced flips.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/sdl/presentation.h"

namespace vane::platform {
namespace {

std::vector<Message> dispatched;

int32_t recordingProc(const Message& message) {
  dispatched.push_back(message);
  return defWindowProc(message);
}

class SdlBackendTest : public testing::Test {
 protected:
  void SetUp() override {
    // No desktop: nothing may appear on a developer's screen, and a dialog must not wait.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    dispatched.clear();
    backend_ = makeSdlBackend();
    ASSERT_NE(backend_, nullptr);
    setBackend(backend_.get());
    ASSERT_TRUE(backend_->registerWindowClass(recordingProc));
    ASSERT_TRUE(backend_->createWindow());
  }
  void TearDown() override {
    backend_.reset();
    setBackend(nullptr);
    setWindowProc(nullptr);
  }

  static void pushKey(Uint32 type, SDL_Scancode scancode, SDL_Keycode keycode,
                      bool repeat = false) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = keycode;
    SDL_PushEvent(&event);
  }

  std::vector<Message> drain() {
    std::vector<Message> out;
    Message m;
    while (backend_->peekMessage(m)) out.push_back(backend_->getMessage());
    return out;
  }

  std::unique_ptr<Backend> backend_;
};

TEST_F(SdlBackendTest, CreationReachesTheProcedureAndActivates) {
  ASSERT_FALSE(dispatched.empty());
  EXPECT_EQ(dispatched.front().id, kWmCreate);
  bool activated = false;
  for (const Message& m : drain()) activated |= m.id == kWmActivateApp && m.wParam == 1;
  EXPECT_TRUE(activated);
}

TEST_F(SdlBackendTest, KeyPressesBecomeKeyDownMessagesAndHeldKeys) {
  drain();
  pushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_8, SDLK_UP);
  pushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_8, SDLK_UP, true);
  pushKey(SDL_KEYDOWN, SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY);
  std::vector<Message> keys;
  for (const Message& m : drain()) {
    if (m.id == kWmKeyDown) keys.push_back(m);
  }
  ASSERT_EQ(keys.size(), 2u);  // the press and its repeat; the unknown key is ignored
  EXPECT_EQ(keys[0].wParam, static_cast<uint32_t>(kVkNumpad8));
  EXPECT_TRUE(backend_->keyHeld(kVkNumpad8));

  const uint8_t zero[256] = {};
  backend_->setKeyboardState(zero);
  EXPECT_TRUE(backend_->keyHeld(kVkNumpad8));

  pushKey(SDL_KEYUP, SDL_SCANCODE_KP_8, SDLK_UP);
  drain();
  EXPECT_FALSE(backend_->keyHeld(kVkNumpad8));
}

TEST_F(SdlBackendTest, QuitRequestBecomesCloseAndCloseDestroysTheWindow) {
  drain();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  const Message m = backend_->getMessage();
  EXPECT_EQ(m.id, kWmClose);
  dispatchMessage(m);
  EXPECT_FALSE(backend_->windowExists());
  EXPECT_EQ(dispatched.back().id, kWmDestroy);
}

TEST_F(SdlBackendTest, DialogWithoutADesktopStillSaysItOnStderr) {
  testing::internal::CaptureStderr();
  backend_->messageBox("SPR Not Found", "ERROR", Icon::Error);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: SPR Not Found\n");
}

TEST_F(SdlBackendTest, DisplayIs565AndFlipsAreSixtyHertzAtMost) {
  ASSERT_TRUE(backend_->createDisplay());
  uint32_t green = 0;
  ASSERT_TRUE(backend_->readGreenMask(green));
  EXPECT_EQ(green, 0x07E0u);
  LockedSurface surface;
  ASSERT_TRUE(backend_->fill(0x1234));
  ASSERT_TRUE(backend_->lock(surface));
  EXPECT_EQ(surface.width, 640);
  EXPECT_EQ(surface.height, 480);
  EXPECT_EQ(surface.pitch, 1280);
  EXPECT_EQ(surface.pixels[640 * 480 - 1], 0x1234);
  ASSERT_TRUE(backend_->unlock());
  ASSERT_NE(backend_->getTextContext(), nullptr);

  // This display cannot wait for a vertical blank (whatever it claims), so once it has been
  // seen presenting early the flips pace themselves.
  for (int i = 0; i < FlipPacer::kFastAllowed + 2; ++i) ASSERT_TRUE(backend_->flip());
  constexpr int kFlips = 12;
  const uint64_t start = backend_->monotonicNanos();
  for (int i = 0; i < kFlips; ++i) ASSERT_TRUE(backend_->flip());
  const uint64_t elapsed = backend_->monotonicNanos() - start;
  // The schedule may shorten one frame to catch up with a late one, never more.
  EXPECT_GE(elapsed, (kFlips - 1) * FlipPacer::kPeriodNanos);

  backend_->releaseDisplay();
  EXPECT_FALSE(backend_->lock(surface));
  EXPECT_FALSE(backend_->flip());
}

}  // namespace
}  // namespace vane::platform
