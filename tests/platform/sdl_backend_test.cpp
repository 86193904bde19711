// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL back end on SDL's display-less video driver: window messages, keys, the platform's own
// keys, window modes, dialogs, paced flips.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

#include "host/host.h"
#include "host/pad_bindings.h"
#include "platform/picture/presentation.h"
#include "platform/sdl_key_events.h"

namespace vane::platform {
namespace {

using namespace vane::host;

using test::pushKey;

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
    ASSERT_TRUE(host::registerWindowClass(recordingProc));
    ASSERT_TRUE(host::createWindow());
  }
  void TearDown() override {
    resetHost();
    backend_.reset();
    setBackend(nullptr);
  }

  SdlBackend& sdl() { return static_cast<SdlBackend&>(*backend_); }

  std::vector<Message> drain() {
    std::vector<Message> out;
    Message m;
    while (host::peekMessage(m)) out.push_back(host::getMessage());
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
  EXPECT_TRUE(host::keyHeld(kVkNumpad8));

  const uint8_t zero[256] = {};
  host::setKeyboardState(zero);
  EXPECT_TRUE(host::keyHeld(kVkNumpad8));

  pushKey(SDL_KEYUP, SDL_SCANCODE_KP_8, SDLK_UP);
  drain();
  EXPECT_FALSE(host::keyHeld(kVkNumpad8));
}

TEST_F(SdlBackendTest, PlatformAndSystemKeysNeverReachTheGame) {
  ASSERT_TRUE(host::createDisplay());
  drain();
  struct Case {
    const char* what;
    SDL_Scancode scancode;
    SDL_Keycode keycode;
    Uint16 mod;
    WindowMode modeAfter;  // Alt+Enter and F11 switch the window
    int heldKey;           // a key the keyboard's state still shows held, or 0
  };
  const Case cases[] = {
      {"Alt+Enter", SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, WindowMode::Window, 0},
      {"Alt+keypad Enter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, KMOD_RALT, WindowMode::Fullscreen,
       0},
      {"F11", SDL_SCANCODE_F11, SDLK_F11, KMOD_NONE, WindowMode::Window, 0},
      {"F11 again", SDL_SCANCODE_F11, SDLK_F11, KMOD_NONE, WindowMode::Fullscreen, 0},
      {"F10", SDL_SCANCODE_F10, SDLK_F10, KMOD_NONE, WindowMode::Fullscreen, 121},
      {"lone Alt", SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT, WindowMode::Fullscreen, 18},
      {"Alt+Space", SDL_SCANCODE_SPACE, SDLK_SPACE, KMOD_LALT, WindowMode::Fullscreen, kVkSpace},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pushKey(SDL_KEYDOWN, c.scancode, c.keycode, false, c.mod);
    pushKey(SDL_KEYDOWN, c.scancode, c.keycode, true, c.mod);  // held: repeats switch nothing
    for (const Message& m : drain()) EXPECT_NE(m.id, kWmKeyDown);
    EXPECT_EQ(sdl().windowState().mode, c.modeAfter);
    if (c.heldKey != 0) {
      EXPECT_TRUE(host::keyHeld(c.heldKey));
    }
    // Toggling never leaves Return held, which the menu reads as a choice.
    EXPECT_FALSE(host::keyHeld(kVkReturn));
    pushKey(SDL_KEYUP, c.scancode, c.keycode);
    drain();
    EXPECT_TRUE(host::flip());
  }

  // In a window the player's size is kept for the next time; AltGr (Ctrl+Alt) still types.
  pushKey(SDL_KEYDOWN, SDL_SCANCODE_F11, SDLK_F11);
  drain();
  const WindowState window = sdl().windowState();
  EXPECT_EQ(window.mode, WindowMode::Window);
  EXPECT_EQ(window.width % 640, 0);
  EXPECT_EQ(window.width * 3, window.height * 4);
  pushKey(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_z, false, KMOD_RALT | KMOD_LCTRL);
  const std::vector<Message> typed = drain();
  ASSERT_FALSE(typed.empty());
  EXPECT_EQ(typed.back().id, kWmKeyDown);
  EXPECT_EQ(typed.back().wParam, static_cast<uint32_t>(kVkZ));

  // Alt+F4 asks to close, as the close button does.
  pushKey(SDL_KEYDOWN, SDL_SCANCODE_F4, SDLK_F4, false, KMOD_LALT);
  const std::vector<Message> closing = drain();
  ASSERT_EQ(closing.size(), 1u);
  EXPECT_EQ(closing[0].id, kWmClose);
}

TEST(SdlBackendOptions, WindowModeOpensAWindowOfWholeStepsAndKeepsTheSizeItIsGiven) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  DisplayOptions options;
  options.windowMode = WindowMode::Window;
  auto backend = makeSdlBackend(options);
  ASSERT_NE(backend, nullptr);
  setBackend(backend.get());
  ASSERT_TRUE(host::registerWindowClass(defWindowProc));
  ASSERT_TRUE(host::createWindow());
  WindowState state = backend->windowState();
  EXPECT_EQ(state.mode, WindowMode::Window);
  EXPECT_EQ(state.width, 640);  // the dummy desktop is 1024x768
  EXPECT_EQ(state.height, 480);
  resetHost();
  backend.reset();

  options.windowWidth = 1000;
  options.windowHeight = 700;
  options.scale = ScaleMode::Integer;
  options.renderer = RendererChoice::Software;
  backend = makeSdlBackend(options);
  ASSERT_NE(backend, nullptr);
  setBackend(backend.get());
  ASSERT_TRUE(host::createWindow());
  ASSERT_TRUE(host::createDisplay());
  EXPECT_TRUE(host::flip());
  host::destroyWindow();  // the size is still known after the window has gone
  state = backend->windowState();
  EXPECT_EQ(state.mode, WindowMode::Window);
  EXPECT_EQ(state.width, 1000);
  EXPECT_EQ(state.height, 700);
  resetHost();
  backend.reset();
  setBackend(nullptr);
}

// Whatever changes between flips, small blocks here and there or nothing at all, the window
// holds the whole picture after each flip, every pixel enlarged twice and widened to 8 bits.
TEST(SdlBackendOptions, TheWindowHoldsThePictureAfterEveryFlip) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  DisplayOptions options;
  options.windowMode = WindowMode::Window;
  options.windowWidth = 1280;
  options.windowHeight = 960;
  options.scale = ScaleMode::Integer;
  options.renderer = RendererChoice::Software;
  auto backend = makeSdlBackend(options);
  ASSERT_NE(backend, nullptr);
  setBackend(backend.get());
  ASSERT_TRUE(host::registerWindowClass(defWindowProc));
  ASSERT_TRUE(host::createWindow());
  ASSERT_TRUE(host::createDisplay());
  SDL_Window* window = nullptr;
  for (Uint32 id = 1; id < 16 && window == nullptr; ++id) window = SDL_GetWindowFromID(id);
  ASSERT_NE(window, nullptr);

  uint32_t seed = 7;
  const auto next = [&seed](uint32_t below) {
    seed = seed * 1103515245 + 12345;
    return (seed >> 8) % below;
  };
  for (int flip = 0; flip < 8; ++flip) {
    LockedSurface picture;
    ASSERT_TRUE(host::lock(picture));
    // Flip 5 changes nothing; the others a few blocks anywhere, strips and columns apart.
    for (uint32_t block = 0; flip != 5 && block < 1 + next(6); ++block) {
      const uint32_t x = next(630);
      const uint32_t y = next(470);
      const auto colour = static_cast<uint16_t>(next(65536));
      for (uint32_t row = y; row < y + 1 + next(10); ++row) {
        for (uint32_t column = x; column < x + 1 + next(10); ++column) {
          picture.pixels[row * 640 + column] = colour;
        }
      }
    }
    ASSERT_TRUE(host::unlock());
    ASSERT_TRUE(host::flip());

    SDL_Surface* shown = SDL_GetWindowSurface(window);
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->format->BytesPerPixel, 4);
    int wrong = 0;
    for (int y = 0; y < 960 && wrong == 0; ++y) {
      const auto* line = reinterpret_cast<const uint32_t*>(
          static_cast<const uint8_t*>(shown->pixels) + static_cast<ptrdiff_t>(y) * shown->pitch);
      for (int x = 0; x < 1280; ++x) {
        const uint16_t p = picture.pixels[(y / 2) * 640 + x / 2];
        const uint32_t want =
            SDL_MapRGB(shown->format, static_cast<Uint8>(((p >> 11) * 255 + 15) / 31),
                       static_cast<Uint8>((((p >> 5) & 63) * 255 + 31) / 63),
                       static_cast<Uint8>(((p & 31) * 255 + 15) / 31));
        if ((line[x] & ~shown->format->Amask) != (want & ~shown->format->Amask)) {
          ADD_FAILURE() << "flip " << flip << " at " << x << "," << y;
          ++wrong;
          break;
        }
      }
    }
  }
  resetHost();
  backend.reset();
  setBackend(nullptr);
}

TEST_F(SdlBackendTest, QuitRequestBecomesCloseAndCloseDestroysTheWindow) {
  drain();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  const Message m = host::getMessage();
  EXPECT_EQ(m.id, kWmClose);
  dispatchMessage(m);
  EXPECT_FALSE(host::windowExists());
  EXPECT_EQ(dispatched.back().id, kWmDestroy);
}

TEST_F(SdlBackendTest, DialogWithoutADesktopStillSaysItOnStderr) {
  testing::internal::CaptureStderr();
  host::messageBox("SPR Not Found", "ERROR", Icon::Error);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: SPR Not Found\n");
}

// Each flip comes at least a floor apart, whatever the load: a display that says it waits for
// its vertical blank gets half a period (it is trusted until seen presenting early), one that does
// not gets a whole period. Sleeps only ever overshoot, so a busy machine can make the flips
// slower, never faster, and both bounds hold under any load.
TEST_F(SdlBackendTest, DisplayIs565AndFlipsAreSixtyHertzAtMost) {
  struct Case {
    const char* vsyncHint;
    uint64_t floor;
  };
  for (const Case& c :
       {Case{"0", FlipPacer::kPeriodNanos}, Case{"1", FlipPacer::kPeriodNanos / 2}}) {
    setenv("SDL_RENDER_VSYNC", c.vsyncHint, 1);
    ASSERT_TRUE(host::createDisplay());
    uint32_t green = 0;
    ASSERT_TRUE(host::readGreenMask(green));
    EXPECT_EQ(green, 0x07E0u);
    LockedSurface surface;
    ASSERT_TRUE(host::fill(0x1234));
    ASSERT_TRUE(host::lock(surface));
    EXPECT_EQ(surface.width, 640);
    EXPECT_EQ(surface.height, 480);
    EXPECT_EQ(surface.pitch, 1280);
    EXPECT_EQ(surface.pixels[640 * 480 - 1], 0x1234);
    ASSERT_TRUE(host::unlock());
    ASSERT_NE(host::getTextContext(), nullptr);

    // Whether the picture moves or stands still.
    constexpr int kFlips = 12;
    ASSERT_TRUE(host::flip());
    const uint64_t start = host::monotonicNanos();
    for (int i = 0; i < kFlips; ++i) {
      if (i % 3 == 0) {
        ASSERT_TRUE(host::lock(surface));
        surface.pixels[i] = static_cast<uint16_t>(i);
        ASSERT_TRUE(host::unlock());
      }
      ASSERT_TRUE(host::flip());
    }
    const uint64_t elapsed = host::monotonicNanos() - start;
    // The schedule may shorten one frame to catch up with a late one, never more.
    EXPECT_GE(elapsed, (kFlips - 1) * c.floor) << "vsync hint " << c.vsyncHint;

    host::releaseDisplay();
    EXPECT_FALSE(host::lock(surface));
    EXPECT_FALSE(host::flip());
  }
  unsetenv("SDL_RENDER_VSYNC");
}

// The host lets go of the mixer as soon as the output is closed: no pull may come after the close
// returns, nor may one still be under way, though SDL's own close of the device goes on beside the
// caller. Reopened, the pulls reach the new reader.
TEST_F(SdlBackendTest, NoPullReachesTheReaderAfterTheOutputCloses) {
  struct Reader {
    std::atomic<int> pulls{0};
    std::atomic<bool> released{false};
    std::atomic<bool> pulledAfterRelease{false};
  };
  const AudioPull pull = [](void* user, int16_t* out, size_t frames) {
    auto* reader = static_cast<Reader*>(user);
    ++reader->pulls;
    // A slow pull, so that the close most likely comes while one is under way.
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    std::fill_n(out, frames * 2, int16_t{0});
    if (reader->released) reader->pulledAfterRelease = true;
  };
  for (int round = 0; round < 3; ++round) {
    Reader reader;
    uint32_t rate = 0;
    ASSERT_TRUE(backend_->openAudio(22050, pull, &reader, rate));
    while (reader.pulls < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    backend_->closeAudio();
    reader.released = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_FALSE(reader.pulledAfterRelease) << "round " << round;
  }
}

// The tick count (the seed of a run) counts from the machine's start, not the program's.
TEST_F(SdlBackendTest, TickCountIsMillisecondsSinceTheMachineStarted) {
  timespec boot{};
  clock_gettime(CLOCK_BOOTTIME, &boot);
  const auto expected = static_cast<uint32_t>(static_cast<uint64_t>(boot.tv_sec) * 1000 +
                                              static_cast<uint64_t>(boot.tv_nsec) / 1'000'000);
  EXPECT_LT(host::tickCount() - expected, 1000u);
}

// SDL's event pump leaves the controllers to the back end: they are read when the main loop
// looks at the queue, and while it waits for a message (the game standing still).
TEST_F(SdlBackendTest, ControllersAreReadWhenLookingAndWhileWaiting) {
  // The display-less window never has the focus; the controller must be heard anyway.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  host::PadBindings bindings{};
  bindings[static_cast<size_t>(PadControl::A)] = kVkShift;
  bindings[static_cast<size_t>(PadControl::B)] = kVkReturn;
  host::setPadBindings(bindings);
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  SDL_Joystick* pad = SDL_JoystickOpen(index);
  ASSERT_NE(pad, nullptr);
  drain();  // the controller plugged in

  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
  bool shift = false;
  for (const Message& m : drain()) shift |= m.id == kWmKeyDown && m.wParam == kVkShift;
  EXPECT_TRUE(shift);
  EXPECT_TRUE(host::keyHeld(kVkShift));

  // Pressed while the back end waits; a quit request ends a wait that never hears it.
  std::thread presser([pad] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, 1);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  });
  const Message heard = host::getMessage();
  presser.join();
  EXPECT_EQ(heard.id, kWmKeyDown);
  EXPECT_EQ(heard.wParam, static_cast<uint32_t>(kVkReturn));

  host::setPadBindings(host::PadBindings{});
  SDL_JoystickClose(pad);
  SDL_JoystickDetachVirtual(index);
  SDL_ResetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS);
}

}  // namespace
}  // namespace vane::platform
