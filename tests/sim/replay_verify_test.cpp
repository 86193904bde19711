// SPDX-License-Identifier: GPL-3.0-or-later
// Version-2 replays end to end: recorded as the player's session records them, then checked by
// vane-sim --verify as they were written, with one key changed, and broken.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "platform/headless/headless.h"
#include "shell/data_fingerprint.h"
#include "shell/game.h"
#include "shell/replay_file.h"
#include "shell/replay_player.h"
#include "shell/resimulation.h"
#include "shell/session.h"

namespace vane::testing {
namespace {

namespace fs = std::filesystem;

struct Recorded {
  std::string whole;  // the run from Boot, as --record writes it
  std::string stage;  // the stage played in it, as the session keeps it
};

// Plays `keys` from Boot headless through the player's session, recording the whole run and
// keeping the stage it plays.
Recorded recordHeadless(const std::string& keys, uint32_t seed) {
  std::string error;
  const KeyScript script = parseKeyScript(keys, error);
  EXPECT_TRUE(error.empty()) << error;
  const auto previous = fs::current_path();
  fs::current_path(VANE_DATA_DIR);
  platform::HeadlessBackend backend;
  backend.keepRecords = false;
  platform::setBackend(&backend);
  resetGame();
  Recorded out;
  std::ostringstream whole;
  {
    Session session(PadRoles{});
    session.setDataDigest(dataDigest("."));
    session.replay(script);
    struct Keeper : StageKeeper {
      std::string& text;
      explicit Keeper(std::string& into) : text(into) {}
      void keep(const ReplayRecorder&, const std::string& replay) override { text = replay; }
    } keeper(out.stage);
    session.keepStages(keeper);
    EXPECT_EQ(startUp(seed), 1);
    session.record(whole, seed);
    runMainLoop(&session);
    session.finish();
  }
  resetGame();
  platform::setBackend(nullptr);
  fs::current_path(previous);
  out.whole = whole.str();
  return out;
}

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(ReplayVerify, RecordedRunsVerifyAndAChangedKeyOrABrokenFileDoesNot) {
  std::string keys = slurp(fs::path(VANE_GOLDEN_DIR) / "boot-to-menu.keys");
  keys += "1200 ESCAPE\n";
  const Recorded run = recordHeadless(keys, 5);
  ASSERT_NE(run.stage.find("\n# start stage 2 ship 2\n"), std::string::npos) << run.stage;
  ASSERT_NE(run.stage.find("\n# check 1000 "), std::string::npos) << run.stage;
  ASSERT_NE(run.whole.find("\n# start boot\n"), std::string::npos) << run.whole;

  struct Case {
    const char* name;
    std::string text;
    int status;
    const char* said;
  };
  const std::string stage = run.stage;
  const Case cases[] = {
      {"the whole run", run.whole, 0, "frames 1199 score 0 first mismatch: none"},
      {"the stage", stage, 0, "first mismatch: none"},
      {"one key changed", replaced(run.whole, "\n90 SHIFT LEFT\n", "\n90 SHIFT RIGHT\n"), 1,
       "first mismatch: frame 250"},
      {"one key of the stage changed", replaced(stage, "\n30 SHIFT LEFT\n", "\n30 SHIFT RIGHT\n"),
       1, "first mismatch: frame 250"},
      {"another score", replaced(stage, " score 0\n", " score 7\n"), 1,
       "first mismatch: the score, the replay's is 7"},
      {"past the program's end", replaced(run.whole, "# end 1199 ", "# end 1250 "), 1,
       "first mismatch: the run ends after frame 1199, the replay's after 1250"},
      {"cut short", stage.substr(0, stage.find("# end")), 2, ""},
      {"a broken check line", replaced(stage, "# check 500 ", "# check 500 x"), 2, ""},
      {"no start", replaced(stage, "# start ", "# begin "), 2, ""},
      {"a key script without a header", "# seed 5\n1 RETURN\n", 2, ""},
      {"an unknown key", replaced(stage, "# program", "3 SHOUT\n# program"), 2, ""},
  };
  const fs::path dir = fs::temp_directory_path() / ("vane-verify-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(dir / "run.keys", std::ios::binary) << c.text;
    const std::string command = std::string("timeout 60 ") + VANE_SIM + " --verify " +
                                (dir / "run.keys").string() + " >" + (dir / "out").string() +
                                " 2>" + (dir / "err").string();
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), c.status) << slurp(dir / "err");
    const std::string out = slurp(dir / "out");
    if (c.status == 2) {
      EXPECT_TRUE(out.empty()) << out;
      EXPECT_NE(slurp(dir / "err").find("vane-sim: "), std::string::npos);
    } else {
      EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
      EXPECT_NE(out.find(c.said), std::string::npos) << out;
    }
  }
  // A run cut short cannot be proven, but it plays as far as its keys go, as every key script.
  std::ofstream(dir / "cut.keys", std::ios::binary) << stage.substr(0, stage.find("# end"));
  const std::string play = std::string("timeout 60 ") + VANE_SIM + " --input " +
                           (dir / "cut.keys").string() + " --frames 100 --trace " +
                           (dir / "trace").string();
  EXPECT_EQ(std::system(play.c_str()), 0);
  const std::string trace = slurp(dir / "trace");
  EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 100);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vane::testing

namespace vane::testing {
namespace {

// Watches a replay headless, the player's controls given between frames by `controls`; stops
// after `frames` frames of the loop.
struct Watch : LoopObserver {
  ReplayPlayer& player;
  platform::HeadlessBackend& backend;
  std::function<void(long long loopFrame)> controls;
  long long loopFrames = 0;
  long long limit = 0;
  std::map<long long, uint64_t> presented;  // the replay's frame: the picture shown after it
  int flipsSeen = 0;

  Watch(ReplayPlayer& p, platform::HeadlessBackend& b) : player(p), backend(b) {}
  Next beforeFrame() override {
    if (loopFrames >= limit) return Next::Stop;
    return player.beforeFrame();
  }
  void afterFrame() override {
    player.afterFrame();
    ++loopFrames;
    if (backend.flips != flipsSeen) presented[player.frame()] = backend.screenHash();
    flipsSeen = backend.flips;
    if (controls) controls(loopFrames);
  }
  bool whileInactive() override { return false; }
  void messageTaken(const host::Message& m) override { player.messageTaken(m); }
};

struct TakenOver : StageKeeper {
  std::string text;
  void keep(const ReplayRecorder&, const std::string& replay) override { text = replay; }
};

TEST(ReplayPlayer, SeekingShowsThePictureOfPlayingThroughAndATakenOverRunVerifies) {
  std::string keys = slurp(fs::path(VANE_GOLDEN_DIR) / "boot-to-menu.keys");
  keys += "1200 ESCAPE\n";
  std::string error;
  const Replay replay = parseReplay(recordHeadless(keys, 5).stage, error);
  ASSERT_TRUE(error.empty()) << error;
  ASSERT_GE(replay.frames, 1000);

  const auto previous = fs::current_path();
  fs::current_path(VANE_DATA_DIR);
  platform::HeadlessBackend backend;
  backend.keepRecords = false;
  platform::setBackend(&backend);
  resetGame();
  ASSERT_EQ(startUp(*replay.seed), 1);
  startReplayAt(replay.start);
  TakenOver keeper;
  uint64_t throughAt900 = 0;
  uint64_t seekedAt900 = 0;
  uint64_t eightFoldStart = 0;
  int eightFoldFlips = 0;
  {
    ReplayPlayer player(replay, PadRoles{}, keeper);
    player.showBar(false);
    Watch watch(player, backend);
    watch.limit = 2000;
    watch.controls = [&](long long) {
      const long long f = player.frame();
      if (f == 900 && throughAt900 == 0) {
        throughAt900 = watch.presented.at(900);
        watch.presented.clear();
        player.control(host::kVkPrior);  // back ten seconds, to frame 500
      } else if (f == 500 && throughAt900 != 0 && eightFoldStart == 0) {
        player.control(host::kVkNext);  // and forward again, to frame 900
        eightFoldStart = 1;
      } else if (f == 900 && eightFoldStart == 1) {
        seekedAt900 = watch.presented.count(900) ? watch.presented.at(900) : 1;
        for (int i = 0; i < 3; ++i) player.control(host::kVkUp);  // x8
        eightFoldStart = backend.now();
        eightFoldFlips = backend.flips;
      } else if (f == 980 && eightFoldStart > 1 && !player.takenOver()) {
        eightFoldFlips = backend.flips - eightFoldFlips;
        eightFoldStart = backend.now() - eightFoldStart;
        player.control(host::kVkT);
      }
    };
    runMainLoop(&watch);
    EXPECT_EQ(watch.presented.count(500), 1u) << "the seek back shows its frame";
    player.finish();
  }
  resetGame();
  platform::setBackend(nullptr);
  fs::current_path(previous);

  // The same picture after seeking back and forward as after playing through.
  EXPECT_NE(throughAt900, 0u);
  EXPECT_EQ(seekedAt900, throughAt900);
  // x8: 80 frames, ten presented, about one display period (25 ms) apart: neither eight in a
  // period nor one in eight periods.
  EXPECT_EQ(eightFoldFlips, 10);
  EXPECT_GE(eightFoldStart, 10 * 25'000'000u);
  EXPECT_LT(eightFoldStart, 13 * 25'000'000u);

  // The run taken over at frame 980 is a replay whose first part is the old one, and verifies.
  ASSERT_FALSE(keeper.text.empty());
  const Replay taken = parseReplay(keeper.text, error);
  ASSERT_TRUE(error.empty()) << error << keeper.text;
  EXPECT_EQ(taken.start, replay.start);
  EXPECT_GT(taken.frames, 980);
  for (const auto& [frame, tokens] : replay.keys) {
    if (frame <= 980) {
      EXPECT_EQ(taken.keys.at(frame), tokens) << frame;
    }
  }
  const fs::path file = fs::temp_directory_path() / ("vane-taken-" + std::to_string(::getpid()));
  std::ofstream(file, std::ios::binary) << keeper.text;
  const int raw = std::system(
      (std::string("timeout 60 ") + VANE_SIM + " --verify " + file.string() + " >/dev/null")
          .c_str());
  fs::remove(file);
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
}

}  // namespace
}  // namespace vane::testing
