// SPDX-License-Identifier: GPL-3.0-or-later
// Version-2 replays end to end: recorded as the player's session records them, then checked by
// vane-sim --verify as they were written, with one key changed, and broken.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/headless/headless.h"
#include "shell/data_fingerprint.h"
#include "shell/game.h"
#include "shell/replay_file.h"
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
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vane::testing
