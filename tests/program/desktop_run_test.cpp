// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs on the desktop back end (display-less driver): played with a virtual controller and
// keyboard events, recorded, and replayed by vane-sim frame for frame.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/state.h"
#include "host/host.h"
#include "platform//sdl/sdl_backend.h"
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
  std::vector<std::string> pictures;  // the hash of each frame's picture, as vane-sim writes it

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
    const std::string line = sim::traceLine(frame_, {}, 0, 0);
    fields.push_back(line.substr(0, line.find(",\"snd\"")));
    pictures.push_back(pictureHash());
    ++frame_;
    hooked_ = false;
  }
  bool whileInactive() override { return session_.whileInactive(); }
  void messageTaken(const host::Message& message) override { session_.messageTaken(message); }

 private:
  // FNV-1a of the back buffer, which holds the picture just flipped, each word little-endian.
  static std::string pictureHash() {
    host::LockedSurface surface;
    if (!host::lock(surface)) return "no picture";
    uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < surface.height; ++y) {
      const auto* row = reinterpret_cast<const uint8_t*>(surface.pixels) + y * surface.pitch;
      for (int x = 0; x < surface.width * 2; ++x) hash = (hash ^ row[x]) * 1099511628211ull;
    }
    host::unlock();
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
  }

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
    std::filesystem::current_path(VANE_DATA_DIR);
    resetGame();
  }

  // Plays from start-up to the end of the program with the buttons of `roles`; `hook` acts
  // before each frame.
  void play(const std::function<void(long long)>& hook, const PadRoles& roles = PadRoles{}) {
    auto backend = platform::makeSdlBackend();
    ASSERT_NE(backend, nullptr);
    platform::setBackend(backend.get());
    Session session(roles);
    if (replay_ != nullptr) {
      session.replay(*replay_);
    } else {
      session.record(recording_, kSeed);
    }
    HookedLoop loop(session, hook);
    if (onStart_) onStart_();
    status_ = gameMain(kSeed, &loop);
    session.finish();
    fields_ = loop.fields;
    pictures_ = loop.pictures;
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
      if (comparePictures_) {
        ASSERT_EQ(line.substr(line.find("\"h\":\"") + 5, 16), pictures_[f]) << "frame " << f + 1;
      }
    }
    EXPECT_EQ(f, fields_.size());
  }

  std::ostringstream recording_;
  const KeyScript* replay_ = nullptr;
  bool comparePictures_ = false;
  std::vector<std::string> fields_;
  std::vector<std::string> pictures_;
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

// Takes the steps in turn: each control goes down once its step is ready and up again after its
// frames.
class Journey {
 public:
  explicit Journey(std::vector<PadStep> steps) : steps_(std::move(steps)) {}

  // Acts before `frame`; false when no step was under way or ready.
  bool act(long long frame, VirtualPad& pad) {
    if (frame == releaseAt_) steps_[step_ - 1].press(pad, false);
    if (frame <= releaseAt_) return true;
    if (done() || !steps_[step_].ready()) return false;
    steps_[step_].press(pad, true);
    releaseAt_ = frame + steps_[step_].frames;
    ++step_;
    return true;
  }
  bool done() const { return step_ == steps_.size(); }
  const char* next() const { return done() ? "the end" : steps_[step_].what; }

 private:
  std::vector<PadStep> steps_;
  size_t step_ = 0;
  long long releaseAt_ = -1;
};

// Ends the program as closing its window does.
void closeTheWindow() {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

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
    case 8:
      closeTheWindow();
      break;
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
  Journey journey({
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
  });
  long long leftAt = 0;
  play([&](long long frame) {
    shotsFlew = shotsFlew || World.next[ShotList] != nullptr;
    paused = paused || (inStage() && !notPaused());
    if (gameState == Menu && journey.done() && !stageLeft) {
      stageLeft = true;
      leftAt = frame;
    }
    if (!journey.act(frame, *pad) && stageLeft) keyboardAfterTheStage(frame - leftAt);
    if (frame == 3000) {
      ADD_FAILURE() << "stuck before: " << journey.next();
      closeTheWindow();
    }
  });
  EXPECT_EQ(status_, 0);
  EXPECT_TRUE(journey.done());
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

// A key pressed while Alt is held is held, but sends no key-down: it leaves no title screen and
// Alt+Escape quits nothing, while Alt+Down moves the menu's cursor as a held key does. The
// recording writes such keys as `=KEY`, so vane-sim and the desktop's own replay run to the very
// frame the live run ended, with the same game fields and pictures in every frame.
TEST_F(DesktopRun, KeysPressedWithAltHeldReplayAsTheyWerePlayed) {
  const auto withAlt = [](SDL_Scancode scancode, SDL_Keycode keycode, bool down) {
    pushKey(down ? SDL_KEYDOWN : SDL_KEYUP, scancode, keycode, false, KMOD_LALT);
  };
  const auto alone = [](SDL_Scancode scancode, SDL_Keycode keycode) {
    pushKey(SDL_KEYDOWN, scancode, keycode);
    pushKey(SDL_KEYUP, scancode, keycode);
  };
  bool leftOnAlt = false;
  const auto hook = [&](long long frame) {
    switch (frame) {
      case 10:
      case 70:
        withAlt(SDL_SCANCODE_LALT, SDLK_LALT, true);
        break;
      case 12:
        withAlt(SDL_SCANCODE_Z, SDLK_z, true);
        break;
      case 14:
        withAlt(SDL_SCANCODE_Z, SDLK_z, false);
        withAlt(SDL_SCANCODE_LALT, SDLK_LALT, false);
        break;
      case 20:
        leftOnAlt = gameState != TitleA;
        alone(SDL_SCANCODE_RETURN, SDLK_RETURN);
        break;
      case 25:
        alone(SDL_SCANCODE_SPACE, SDLK_SPACE);
        break;
      case 72:
        withAlt(SDL_SCANCODE_DOWN, SDLK_DOWN, true);
        break;
      case 80:
        withAlt(SDL_SCANCODE_DOWN, SDLK_DOWN, false);
        withAlt(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, true);
        break;
      case 84:
        withAlt(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, false);
        withAlt(SDL_SCANCODE_LALT, SDLK_LALT, false);
        break;
      case 100: {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        break;
      }
      default:
        break;
    }
  };
  play(hook);
  ASSERT_EQ(status_, 0);
  EXPECT_FALSE(leftOnAlt) << "a key pressed with Alt held left the title";
  EXPECT_EQ(fields_.size(), 99u) << "Alt+Escape ended the run";
  const std::string keys = recording_.str();
  for (const char* token : {"=18", "=Z", "=DOWN", "=ESCAPE"}) {
    EXPECT_NE(keys.find(token), std::string::npos) << token << " in\n" << keys;
  }
  comparePictures_ = true;
  expectVaneSimAgrees();

  std::string error;
  const KeyScript script = parseKeyScript(keys, error);
  ASSERT_TRUE(error.empty()) << error;
  const std::vector<std::string> live = fields_;
  const std::vector<std::string> livePictures = pictures_;
  replay_ = &script;
  play([](long long) {});
  EXPECT_EQ(status_, 0);
  ASSERT_EQ(fields_.size(), live.size()) << "the desktop's replay ran another number of frames";
  for (size_t f = 0; f < live.size(); ++f) {
    ASSERT_EQ(fields_[f], live[f]) << "frame " << f + 1 << " of the desktop's replay";
    ASSERT_EQ(pictures_[f], livePictures[f]) << "frame " << f + 1 << " of the desktop's replay";
  }
}

// The buttons the config file gives the parts take them over, all the way from the player's
// choice through the bindings the session sets for each screen to the keys the game hears; the
// buttons they replace send nothing.
TEST_F(DesktopRun, ButtonsChosenForThePartsSendTheirKeysAndTheDefaultOnesNothing) {
  PadRoles roles;
  roles.fire = platform::PadControl::RightShoulder;
  roles.pause = platform::PadControl::X;
  roles.continueGame = platform::PadControl::LeftShoulder;
  std::unique_ptr<VirtualPad> pad;
  onStart_ = [&] {
    pad = std::make_unique<VirtualPad>();
    ASSERT_TRUE(pad->ready()) << SDL_GetError();
  };
  onEnd_ = [&] { pad.reset(); };
  bool shotsFlew = false;
  bool paused = false;
  auto inStage = [] { return gameState == Stage1; };
  auto atStartRow = [] { return gameState == Menu && World.menuCursor() == 3; };
  // A step that must do nothing is followed by one whose readiness it would have spoilt.
  Journey journey({
      {"leave the first title", [] { return gameState == TitleA; },
       button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER), 1},
      {"leave the second title", [] { return gameState == TitleB; },
       button(SDL_CONTROLLER_BUTTON_X), 1},
      {"down to the ship row", [] { return gameState == Menu && frameCount > 40; },
       button(SDL_CONTROLLER_BUTTON_DPAD_DOWN), 2},
      {"down to the start row", [] { return World.menuCursor() == 2; },
       button(SDL_CONTROLLER_BUTTON_DPAD_DOWN), 2},
      {"A no longer chooses", atStartRow, button(SDL_CONTROLLER_BUTTON_A), 2},
      {"Start no longer chooses", atStartRow, button(SDL_CONTROLLER_BUTTON_START), 2},
      {"start with the chosen fire button", atStartRow, button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER),
       1},
      {"A no longer fires", inStage, button(SDL_CONTROLLER_BUTTON_A), 12},
      {"fire with the chosen button", [&] { return inStage() && !shotsFlew; },
       button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER), 12},
      {"Start no longer pauses", [&] { return shotsFlew; }, button(SDL_CONTROLLER_BUTTON_START), 2},
      {"pause with the chosen button", [&] { return inStage() && !paused; },
       button(SDL_CONTROLLER_BUTTON_X), 2},
  });
  play(
      [&](long long frame) {
        shotsFlew = shotsFlew || World.next[ShotList] != nullptr;
        paused = paused || (inStage() && !notPaused());
        if (!journey.act(frame, *pad) && journey.done() && paused) closeTheWindow();
        if (frame == 800) {
          ADD_FAILURE() << "stuck before: " << journey.next();
          closeTheWindow();
        }
      },
      roles);
  EXPECT_EQ(status_, 0);
  EXPECT_TRUE(journey.done()) << "stuck before: " << journey.next();
  EXPECT_TRUE(shotsFlew);
  EXPECT_TRUE(paused);
  expectVaneSimAgrees();
}

}  // namespace
}  // namespace vane
