// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs on the desktop back end (display-less driver): played with a virtual controller and
// keyboard events, recorded, and replayed by vane-sim frame for frame.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/state.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl_key_events.h"
#include "shell/game.h"
#include "shell/session.h"
#include "tools/sim/sim_run.h"
#include "world/actor.h"

namespace vane {
namespace {

using test::pushKey;

// Calls the test's hook once before each frame, lets the events it made in be handled, then
// hands over to the session; keeps each frame's game fields.
class HookedLoop : public LoopObserver {
 public:
  HookedLoop(Session& session, std::function<void(long long)> hook)
      : session_(session), hook_(std::move(hook)) {}

  std::vector<std::string> fields;

  Next beforeFrame() override {
    if (!hooked_) {
      hooked_ = true;
      hook_(frame_);
      return Next::HandleMessages;
    }
    return session_.beforeFrame();
  }
  void afterFrame() override {
    session_.afterFrame();
    const std::string line = sim::traceLine(frame_, {}, 0);
    fields.push_back(line.substr(0, line.find(",\"snd\"")));
    ++frame_;
    hooked_ = false;
  }
  bool whileInactive() override { return session_.whileInactive(); }
  void messageTaken(const platform::Message& message) override { session_.messageTaken(message); }

 private:
  Session& session_;
  std::function<void(long long)> hook_;
  long long frame_ = 1;
  bool hooked_ = false;
};

class DesktopRun : public ::testing::Test {
 protected:
  static constexpr uint32_t kSeed = 4242;

  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The display-less window never has the focus; the controller must be heard anyway.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    ASSERT_EQ(chdir(VANE_DATA_DIR), 0);
    resetGame();
  }

  // Plays from start-up to the end of the program; `hook` acts before each frame.
  void play(const std::function<void(long long)>& hook) {
    auto backend = platform::makeSdlBackend();
    ASSERT_NE(backend, nullptr);
    platform::setBackend(backend.get());
    Session session(PadRoles{});
    session.record(recording_, kSeed);
    HookedLoop loop(session, hook);
    if (onStart_) onStart_();
    status_ = gameMain(kSeed, &loop);
    session.finish();
    fields_ = loop.fields;
    if (onEnd_) onEnd_();
    resetGame();
    platform::setBackend(nullptr);
  }

  // vane-sim on the recording must give the very same game fields, frame by frame.
  void expectVaneSimAgrees() {
    std::string error;
    std::optional<uint32_t> seed;
    const KeyScript script = parseKeyScript(recording_.str(), error, &seed);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_EQ(seed, kSeed);
    sim::Options options;
    options.seed = *seed;
    options.dataDir = VANE_DATA_DIR;
    std::ostringstream trace;
    ASSERT_EQ(sim::run(options, script, &trace), 0);
    std::istringstream lines(trace.str());
    size_t f = 0;
    for (std::string line; std::getline(lines, line); ++f) {
      ASSERT_LT(f, fields_.size()) << "vane-sim ran more frames than the desktop run";
      ASSERT_EQ(line.substr(0, line.find(",\"snd\"")), fields_[f]) << "frame " << f + 1;
    }
    EXPECT_EQ(f, fields_.size());
  }

  std::ostringstream recording_;
  std::vector<std::string> fields_;
  std::function<void()> onStart_;
  std::function<void()> onEnd_;
  int status_ = -1;
};

// A virtual controller with the standard layout, attached once SDL is up.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "test pad";
    index_ = SDL_JoystickAttachVirtualEx(&desc);
    joystick_ = SDL_JoystickOpen(index_);
  }
  ~VirtualPad() {
    SDL_JoystickClose(joystick_);
    SDL_JoystickDetachVirtual(index_);
  }
  bool ready() const { return joystick_ != nullptr; }
  void set(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
  }
  void lean(SDL_GameControllerAxis axis, int16_t value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, value);
  }

 private:
  int index_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

// One step of a journey: once `ready` holds, the control goes down for `frames` frames.
struct PadStep {
  const char* what;
  std::function<bool()> ready;
  std::function<void(VirtualPad&, bool)> press;
  long long frames;
};

std::function<void(VirtualPad&, bool)> button(SDL_GameControllerButton b) {
  return [b](VirtualPad& pad, bool down) { pad.set(b, down); };
}

std::function<void(VirtualPad&, bool)> stickDown() {
  return [](VirtualPad& pad, bool down) { pad.lean(SDL_CONTROLLER_AXIS_LEFTY, down ? 30000 : 0); };
}

// The keyboard in the menu at the end, frame by frame after the stage was left: Down held and
// repeating, Z pressed and let go between two frames, then the window closed.
void keyboardAfterTheStage(long long after) {
  switch (after) {
    case 1:
      pushKey(SDL_KEYDOWN, SDL_SCANCODE_DOWN, SDLK_DOWN, false);
      break;
    case 3:
    case 4:
      pushKey(SDL_KEYDOWN, SDL_SCANCODE_DOWN, SDLK_DOWN, true);
      break;
    case 6:
      pushKey(SDL_KEYUP, SDL_SCANCODE_DOWN, SDLK_DOWN, false);
      pushKey(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_z, false);
      pushKey(SDL_KEYUP, SDL_SCANCODE_Z, SDLK_z, false);
      break;
    case 8: {
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
      break;
    }
    default:
      break;
  }
}

TEST_F(DesktopRun, AControllerPlaysFromTheTitleThroughAStageBackToTheMenuAndTheRunReplays) {
  std::unique_ptr<VirtualPad> pad;
  onStart_ = [&] {
    pad = std::make_unique<VirtualPad>();
    ASSERT_TRUE(pad->ready()) << SDL_GetError();
  };
  onEnd_ = [&] { pad.reset(); };
  bool shotsFlew = false;
  bool paused = false;
  bool stageLeft = false;
  auto inStage = [] { return gameState == Stage1; };
  const std::vector<PadStep> steps{
      {"leave the first title", [] { return gameState == TitleA; }, button(SDL_CONTROLLER_BUTTON_B),
       1},
      {"leave the second title", [] { return gameState == TitleB; },
       button(SDL_CONTROLLER_BUTTON_START), 1},
      {"down to the ship row", [] { return gameState == Menu && frameCount > 40; },
       button(SDL_CONTROLLER_BUTTON_DPAD_DOWN), 2},
      {"down to the start row", [] { return World.menuCursor() == 2; }, stickDown(), 2},
      {"start", [] { return World.menuCursor() == 3; }, button(SDL_CONTROLLER_BUTTON_A), 1},
      {"fire", inStage, button(SDL_CONTROLLER_BUTTON_A), 12},
      {"pause", inStage, button(SDL_CONTROLLER_BUTTON_START), 2},
      {"try to quit", [&] { return paused; }, button(SDL_CONTROLLER_BUTTON_BACK), 2},
      {"try the guide button", [&] { return paused; }, button(SDL_CONTROLLER_BUTTON_GUIDE), 2},
      {"go on", [&] { return paused; }, button(SDL_CONTROLLER_BUTTON_START), 2},
      {"leave the lost stage", [] { return World.endMusicLatch() != 0; },
       button(SDL_CONTROLLER_BUTTON_A), 1},
  };
  size_t step = 0;
  long long releaseAt = -1;
  long long leftAt = 0;
  play([&](long long frame) {
    shotsFlew = shotsFlew || World.next[ShotList] != nullptr;
    paused = paused || (inStage() && !notPaused());
    if (gameState == Menu && step == steps.size() && !stageLeft) {
      stageLeft = true;
      leftAt = frame;
    }
    if (frame == releaseAt) steps[step - 1].press(*pad, false);
    if (frame <= releaseAt) return;
    if (step < steps.size() && steps[step].ready()) {
      steps[step].press(*pad, true);
      releaseAt = frame + steps[step].frames;
      ++step;
    } else if (stageLeft) {
      keyboardAfterTheStage(frame - leftAt);
    }
    if (frame == 3000) {
      ADD_FAILURE() << "stuck before: " << (step < steps.size() ? steps[step].what : "the end");
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
    }
  });
  EXPECT_EQ(status_, 0);
  EXPECT_EQ(step, steps.size());
  EXPECT_TRUE(shotsFlew);
  EXPECT_TRUE(paused);
  EXPECT_TRUE(stageLeft);
  // The repeats and the key let go between two frames are written as messages of their own.
  const std::string keys = recording_.str();
  EXPECT_NE(keys.find(" +DOWN DOWN\n"), std::string::npos) << keys;
  EXPECT_NE(keys.find(" +Z\n"), std::string::npos) << keys;
  EXPECT_NE(keys.find(" ESCAPE  # the run ended here\n"), std::string::npos) << keys;
  expectVaneSimAgrees();
}

}  // namespace
}  // namespace vane
