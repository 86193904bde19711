// SPDX-License-Identifier: GPL-3.0-or-later
// The game on the SDL back end, muted and with an audio device, frame for frame as vane-sim runs
// it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "flow/flow.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl_key_events.h"
#include "shell/game.h"
#include "tools/sim/sim_run.h"

namespace vane {
namespace {

constexpr long long kFrames = 160;
constexpr uint32_t kSeed = 4242;

// The desktop keys behind the virtual keys the recorded runs hold.
const std::map<int, std::pair<SDL_Scancode, SDL_Keycode>> kKeyOf{
    {host::kVkUp, {SDL_SCANCODE_UP, SDLK_UP}},
    {host::kVkDown, {SDL_SCANCODE_DOWN, SDLK_DOWN}},
    {host::kVkLeft, {SDL_SCANCODE_LEFT, SDLK_LEFT}},
    {host::kVkRight, {SDL_SCANCODE_RIGHT, SDLK_RIGHT}},
    {host::kVkShift, {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT}},
    {host::kVkSpace, {SDL_SCANCODE_SPACE, SDLK_SPACE}},
    {host::kVkZ, {SDL_SCANCODE_Z, SDLK_z}},
    {host::kVkT, {SDL_SCANCODE_T, SDLK_t}},
    {host::kVkC, {SDL_SCANCODE_C, SDLK_c}},
    {host::kVkNumpad4, {SDL_SCANCODE_KP_4, SDLK_KP_4}},
    {host::kVkNumpad6, {SDL_SCANCODE_KP_6, SDLK_KP_6}},
};

void pushKey(Uint32 type, int virtualKey) {
  const auto [scancode, keycode] = kKeyOf.at(virtualKey);
  test::pushKey(type, scancode, keycode);
}

// Presses and lets go of desktop keys before each frame as the script says, traces after it.
class KeyDriver : public LoopObserver {
 public:
  explicit KeyDriver(const sim::KeyScript& script) : script_(script) {}

  std::vector<SoundEvent> events;
  std::string trace;
  bool audioOpened = false;

  Next beforeFrame() override {
    if (frame_ > kFrames) return Next::Stop;
    if (keysApplied_) return Next::RunFrame;
    keysApplied_ = true;
    auto line = script_.upper_bound(frame_);
    if (line == script_.begin()) return Next::RunFrame;
    std::set<int> now;
    for (const KeyToken& k : (--line)->second) {
      if (!k.messageOnly) now.insert(k.key);
    }
    for (int k : held_) {
      if (!now.contains(k)) pushKey(SDL_KEYUP, k);
    }
    for (int k : now) {
      if (!held_.contains(k)) pushKey(SDL_KEYDOWN, k);
    }
    held_ = now;
    return Next::HandleMessages;
  }

  void afterFrame() override {
    trace += sim::traceLine(frame_, events, 0, 0);
    audioOpened |= SDL_WasInit(SDL_INIT_AUDIO) != 0;
    events.clear();
    ++frame_;
    keysApplied_ = false;
  }

  bool whileInactive() override { return false; }

 private:
  const sim::KeyScript& script_;
  std::set<int> held_;
  long long frame_ = 1;
  bool keysApplied_ = false;
};

sim::KeyScript recordedKeys() {
  std::string error;
  sim::KeyScript script =
      sim::readKeyScript(std::string(VANE_GOLDEN_DIR) + "/stage1-ship1.keys", error);
  EXPECT_EQ(error, "");
  return script;
}

struct SdlRun {
  std::string trace;  // every frame's line, the picture's hash left out (0)
  std::string told;   // what went to stderr
  bool audioOpened = false;
};

// Stage 1 on the SDL back end with no desktop.
SdlRun runOnSdl(const platform::SoundOptions& sound, const sim::KeyScript& script) {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  const auto previousDir = std::filesystem::current_path();
  const auto backend = platform::makeSdlBackend(platform::DisplayOptions{});
  if (backend == nullptr) return {};
  platform::setBackend(backend.get());
  resetGame();
  host::setSoundSettings(sound);
  KeyDriver driver(script);
  setSoundEventHook([&driver](const SoundEvent& e) { driver.events.push_back(e); });
  std::filesystem::current_path(VANE_DATA_DIR);
  ::testing::internal::CaptureStderr();
  if (startUp(kSeed)) {
    startStageFromMenu(1, 1);
    runMainLoop(&driver);
  }
  std::string told = ::testing::internal::GetCapturedStderr();
  std::filesystem::current_path(previousDir);
  setSoundEventHook(nullptr);
  resetGame();
  platform::setBackend(nullptr);
  return {driver.trace, told, driver.audioOpened};
}

// Muted, the game opens no audio device and plays nothing, yet every traced field of every frame,
// the sound events among them, is what vane-sim gives, and what the game gives with sound.
TEST(SdlSoundRun, MutedAndWithSoundTheGameRunsAsVaneSimDoes) {
  for (const auto& [vk, key] : kKeyOf) {
    ASSERT_EQ(platform::virtualKeyFor(key.first, key.second), vk);
  }
  const sim::KeyScript script = recordedKeys();
  sim::Options options;
  options.seed = kSeed;
  options.dataDir = VANE_DATA_DIR;
  options.stage = 1;
  options.ship = 1;
  options.frames = kFrames;
  std::ostringstream headless;
  ASSERT_EQ(sim::run(options, script, &headless), 0);
  // The picture and the mix are another matter: only the game's fields are compared.
  const std::string want = std::regex_replace(
      headless.str(), std::regex("\"([ha])\":\"[0-9a-f]{16}\""), "\"$1\":\"0000000000000000\"");
  ASSERT_NE(want.find("\"fx\""), std::string::npos) << "the run plays effects";

  for (const bool mute : {true, false}) {
    SCOPED_TRACE(mute ? "muted" : "with the dummy audio device");
    const SdlRun run = runOnSdl(platform::SoundOptions{.mute = mute}, script);
    EXPECT_EQ(run.told.find("ERROR"), std::string::npos) << run.told;
    EXPECT_EQ(run.trace, want);
    EXPECT_EQ(run.audioOpened, !mute);
  }
}

// A machine with no audio output: the game says so once and plays on silently, as when muted.
TEST(SdlSoundRun, WithoutAudioOutputTheGamePlaysSilently) {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const auto previousDir = std::filesystem::current_path();
  std::filesystem::current_path(VANE_DATA_DIR);
  for (const bool mute : {false, true}) {
    const auto backend = platform::makeSdlBackend(platform::DisplayOptions{});
    ASSERT_NE(backend, nullptr);
    platform::setBackend(backend.get());
    resetGame();
    host::setSoundSettings({.mute = mute});
    ::testing::internal::CaptureStderr();
    const int started = startUp(kSeed);
    const std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(started, 1) << (mute ? "muted" : "with sound");
    EXPECT_EQ(told.find("Fail to create Direct Sound"), std::string::npos) << told;
    EXPECT_EQ(told.find("playing without sound") != std::string::npos, !mute) << told;
    resetGame();
    platform::setBackend(nullptr);
  }
  std::filesystem::current_path(previousDir);
}

}  // namespace
}  // namespace vane
