// SPDX-License-Identifier: GPL-3.0-or-later
// The vane-sim program as other tools see it: its exit status, its stderr and its trace lines.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vane::testing {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::vector<std::string> errLines;
  std::vector<std::string> outLines;
};

std::vector<std::string> linesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class SimCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    // The process id keeps runs of the suite from two build trees at once apart.
    dir_ = fs::temp_directory_path() /
           ("vane-sim-cli-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
            std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write(const std::string& name, const std::string& text) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  // Runs vane-sim with `arguments`, with `environment` (NAME=value ...) added to its own; cut
  // off after 60 s, so a hang fails rather than blocks the suite.
  Outcome run(const std::string& arguments, const std::string& environment = "") {
    const fs::path out = dir_ / "stdout";
    const fs::path err = dir_ / "stderr";
    const std::string command = environment + " timeout 60 " + std::string(VANE_SIM) + " " +
                                arguments + " >" + out.string() + " 2>" + err.string();
    const int raw = std::system(command.c_str());
    Outcome o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.outLines = linesOf(out);
    o.errLines = linesOf(err);
    return o;
  }

  fs::path dir_;
};

TEST_F(SimCommandLine, ABadCommandLineExitsWithTwoAndOneUsageLine) {
  for (const char* arguments :
       {"", "--frames 3", "--seed", "--seed x", "--seed 1 --stage 3 --ship 1", "--seed 1 --stage 1",
        "--seed 1 --layout 444", "--seed 1 --bogus 1", "--seed 1 --png-every 0"}) {
    const Outcome o = run(arguments);
    EXPECT_EQ(o.status, 2) << arguments;
    ASSERT_EQ(o.errLines.size(), 1u) << arguments;
    EXPECT_NE(o.errLines[0].find("usage: vane-sim --seed N"), std::string::npos) << arguments;
    EXPECT_TRUE(o.outLines.empty()) << arguments;
  }
}

TEST_F(SimCommandLine, AMalformedKeyScriptIsABadCommandLine) {
  const fs::path keys = write("keys", "3 RETURN\n2 SPACE\n");
  const Outcome o = run("--seed 1 --frames 4 --input " + keys.string());
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(o.errLines.size(), 1u);
}

TEST_F(SimCommandLine, EscapeEndsTheRunBeforeItsFrameWithStatusZero) {
  const fs::path keys = write("keys", "1\n3 ESCAPE\n");
  const Outcome o = run("--seed 5 --frames 10 --input " + keys.string() + " --trace -");
  EXPECT_EQ(o.status, 0);
  ASSERT_EQ(o.outLines.size(), 2u);
  EXPECT_EQ(o.outLines[0].rfind("{\"f\":1,\"gs\":1,", 0), 0u) << o.outLines[0];
  EXPECT_EQ(o.outLines[1].rfind("{\"f\":2,\"gs\":1,", 0), 0u) << o.outLines[1];
}

TEST_F(SimCommandLine, KeyDownsReachTheTitleScreensBeforeTheirFrame) {
  // Frame 1 leaves Boot; SPACE pressed before frame 2 leaves TitleA, T before frame 3 leaves
  // TitleB.
  const fs::path keys = write("keys", "2 SPACE\n3 T\n");
  const Outcome o = run("--seed 5 --frames 3 --input " + keys.string() + " --trace -");
  EXPECT_EQ(o.status, 0);
  ASSERT_EQ(o.outLines.size(), 3u);
  EXPECT_EQ(o.outLines[1].rfind("{\"f\":2,\"gs\":2,\"fc\":1,", 0), 0u) << o.outLines[1];
  EXPECT_EQ(o.outLines[2].rfind("{\"f\":3,\"gs\":3,\"fc\":1,", 0), 0u) << o.outLines[2];
}

// Each unusable file or number on the command line or in a key script: one line naming it and
// why, a non-zero status, and no hang (the run is cut off by `timeout` if it blocks).
TEST_F(SimCommandLine, UnusableFilesAndNumbersAreRefusedWithOneLine) {
  const fs::path fifo = dir_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const fs::path folder = dir_ / "folder";
  fs::create_directories(folder);
  const std::string nul("1\0 RETURN\n", 11);
  std::string many;
  for (int i = 0; i < 65; ++i) many += " +LEFT";
  struct Case {
    std::string arguments;
    int status;
    std::string said;
  };
  const Case cases[] = {
      {"--png /dev/null/x", 2, "/dev/null/x"},
      {"--png ''", 2, "usage"},
      {"--data ''", 2, "usage"},
      {"--frames 99999999999999999999", 2, "usage"},
      {"--trace /dev/full", 1, "/dev/full: is not a regular file"},
      {"--input " + folder.string(), 2, "folder: is a folder"},
      {"--input " + fifo.string(), 2, "fifo: is not a regular file"},
      {"--input /dev/zero", 2, "/dev/zero: is not a regular file"},
      {"--input " + write("big-frame", "99999999999999999999 RETURN\n").string(), 2, "line 1"},
      {"--input " + write("big-key", "1 99999999999999999999\n").string(), 2, "unknown key"},
      {"--input " + write("nul", nul).string(), 2, "line 1: holds a NUL byte"},
      {"--input " + write("many", "1" + many + "\n").string(), 2, "line 1: too many keys"},
      {"--input " + write("escapes", "1 \x1b]0;owned\x07" + std::string(100000, 'A')).string(), 2,
       "unknown key \\x1b]0;owned\\x07AAAAAAAAAA"},
  };
  for (const Case& c : cases) {
    const Outcome o = run("--seed 1 --frames 2 " + c.arguments);
    EXPECT_EQ(o.status, c.status) << c.arguments;
    ASSERT_EQ(o.errLines.size(), 1u) << c.arguments;
    EXPECT_NE(o.errLines[0].find(c.said), std::string::npos)
        << c.arguments << ": " << o.errLines[0];
    EXPECT_LT(o.errLines[0].size(), 400u) << "a value echoed whole";
  }
}

// A data folder that cannot be entered reads as empty, from a fresh private folder: files planted
// in any fixed place under the temporary folder are never loaded, and nothing is left behind.
TEST_F(SimCommandLine, AMissingDataFolderNeverReadsAPlantedOne) {
  const fs::path temp = dir_ / "tmp";
  for (const char* planted : {"vane-sim-no-data", "vane-sim"}) {
    fs::create_directories(temp / planted);
    fs::copy(VANE_DATA_DIR, temp / planted);
  }
  const Outcome o =
      run("--seed 1 --frames 2 --data " + (dir_ / "none").string(), "TMPDIR=" + temp.string());
  ASSERT_FALSE(o.errLines.empty());
  EXPECT_EQ(o.errLines[0], "ERROR: SPR Not Found");
  EXPECT_EQ(std::distance(fs::directory_iterator(temp), fs::directory_iterator()), 2);
}

// Data files that are not regular files or are too large are refused at load with a message
// naming the file and the reason: a missing sprite ends start-up, a missing bank leaves it silent.
TEST_F(SimCommandLine, HostileDataFilesAreRefusedByName) {
  struct Case {
    std::string file;
    std::string make;  // shell command run in the data folder to put the hostile file in place
    std::string said;
    bool runs;
  };
  const Case cases[] = {
      {"player.spr", "ln -s /dev/zero player.spr", "player.spr: is not a regular file", false},
      {"etc.spr", "mkfifo etc.spr", "etc.spr: is not a regular file", false},
      {"stage.spr", "truncate -s 40M stage.spr", "stage.spr: larger than the limit", false},
      {"1.snd", "mkdir 1.snd", "1.snd: is a folder, not a file", true},
      {"music.snd", "ln -s /dev/zero music.snd", "music.snd: is not a regular file", true},
      {"music.snd", "truncate -s 80M music.snd", "music.snd: larger than the limit", true},
  };
  for (const Case& c : cases) {
    const fs::path data = dir_ / "data";
    fs::remove_all(data);
    fs::create_directories(data);
    for (const auto& entry : fs::directory_iterator(VANE_DATA_DIR)) {
      if (entry.path().filename() != c.file)
        fs::create_symlink(entry.path(), data / entry.path().filename());
    }
    ASSERT_EQ(std::system(("cd " + data.string() + " && " + c.make).c_str()), 0) << c.make;
    const Outcome o = run("--seed 1 --frames 3 --trace - --data " + data.string());
    ASSERT_EQ(o.errLines.size(), 1u) << c.make;
    EXPECT_NE(o.errLines[0].find(c.said), std::string::npos) << c.make << ": " << o.errLines[0];
    EXPECT_EQ(o.outLines.size(), c.runs ? 3u : 0u) << c.make;
  }
}

}  // namespace
}  // namespace vane::testing
