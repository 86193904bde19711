// SPDX-License-Identifier: GPL-3.0-or-later
// The vane-sim program as other tools see it: its exit status, its stderr and its trace lines.
#include <gtest/gtest.h>
#include <sys/wait.h>

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
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class SimCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vane-sim-cli-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write(const std::string& name, const std::string& text) {
    const fs::path path = dir_ / name;
    std::ofstream(path) << text;
    return path;
  }

  // Runs vane-sim with `arguments`, with `environment` (NAME=value ...) added to its own.
  Outcome run(const std::string& arguments, const std::string& environment = "") {
    const fs::path out = dir_ / "stdout";
    const fs::path err = dir_ / "stderr";
    const std::string command = environment + " " + std::string(VANE_SIM) + " " + arguments + " >" +
                                out.string() + " 2>" + err.string();
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

TEST_F(SimCommandLine, WithoutAFontStartUpSaysSoAndNoFrameRuns) {
  const fs::path config =
      write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig><dir>" + (dir_ / "none").string() +
                              "</dir><cachedir>" + (dir_ / "cache").string() +
                              "</cachedir></fontconfig>\n");
  const Outcome o = run("--seed 5 --frames 3 --trace -", "FONTCONFIG_FILE=" + config.string());
  EXPECT_TRUE(o.outLines.empty());
  ASSERT_FALSE(o.errLines.empty());
  EXPECT_EQ(o.errLines.back().rfind("ERROR: No usable font found.", 0), 0u) << o.errLines.back();
}

}  // namespace
}  // namespace vane::testing
