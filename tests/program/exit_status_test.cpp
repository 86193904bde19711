// SPDX-License-Identifier: GPL-3.0-or-later
// The real program's exit status and messages for each way a run can end before or after start-up.
#include "shell/exit_status.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "shell/data_folder.h"

namespace vane {
namespace {

namespace fs = std::filesystem;

struct Case {
  const char* name;
  const char* environment;  // set before the program runs; @ stands for the case's folder
  const char* arguments;
  int status;
  const char* saysOnStderr;
  const char* saysOnStdout = "";
};

// Without a desktop: the display-less drivers, no controllers, a config file of the case's own.
constexpr const char* kQuiet =
    "env -u DISPLAY -u WAYLAND_DISPLAY -u VANE_DATA SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "
    "XDG_CONFIG_HOME=@/config ";

const Case kCases[] = {
    {"help", "env -u DISPLAY ", "--help", kExitOk, "", "Exit status:"},
    {"version", "env -u DISPLAY ", "--version", kExitOk, "", "vane "},
    {"bad flag", "", "--bogus", kExitBadCommandLine, "vane: unknown option --bogus"},
    {"bad value", "", "--scale huge", kExitBadCommandLine, "bad value for --scale"},
    {"no display", "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR=@/none ",
     "", kExitNoDisplay, "cannot open the display"},
    {"no sound output", "SDL_AUDIODRIVER=none-such VANE_DATA=" VANE_DATA_DIR " ",
     "--replay @/quit.keys", kExitOk, "playing without sound"},
    {"no data anywhere", "", "", kExitBadData, "SPR Not Found"},
    {"broken data", "", "--data @/broken", kExitBadData, "ERROR:"},
    // The folder the player names is the only one used, even with the data found elsewhere.
    {"data folder lacking a file", "VANE_DATA=" VANE_DATA_DIR " ", "--data @/run", kExitBadData,
     "the data folder @/run has no player.spr"},
    {"data folder that is not there", "", "--data @/none", kExitBadData,
     "the data folder @/none has no player.spr"},
    {"environment folder lacking a file", "VANE_DATA=@/run ", "", kExitBadData,
     "the data folder @/run has no player.spr"},
    {"data folder lacking a sound bank", "", "--data @/nobank", kExitBadData,
     "the data folder @/nobank has no music.snd"},
    {"data folder with a broken sound bank", "", "--data @/badbank", kExitBadData,
     "the data folder @/badbank holds a broken 1.snd"},
    {"quit", "VANE_DATA=" VANE_DATA_DIR " ", "--replay @/quit.keys", kExitOk, ""},
    {"verbose sound", "VANE_DATA=" VANE_DATA_DIR " ", "--verbose --replay @/quit.keys", kExitOk,
     "vane: sound: dummy driver, device "},
    {"verbose video", "VANE_DATA=" VANE_DATA_DIR " ", "--verbose --replay @/quit.keys", kExitOk,
     "vane: video: dummy driver, display "},
};

class ProgramExit : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vane-exit-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "run");
    fs::create_directories(dir_ / "broken");
    // A copy of the program with no data beside it, started from an empty folder.
    fs::copy_file(VANE_PROGRAM, dir_ / "vane");
    fs::permissions(dir_ / "vane", fs::perms::owner_all);
    for (const char* name : kDataFiles)
      std::ofstream(dir_ / "broken" / name, std::ios::binary) << "not data";
    // The built data less one bank, and with one bank broken.
    for (const char* folder : {"nobank", "badbank"}) {
      fs::create_directories(dir_ / folder);
      for (const char* name : kDataFiles)
        fs::copy_file(fs::path(VANE_DATA_DIR) / name, dir_ / folder / name);
    }
    fs::remove(dir_ / "nobank" / "music.snd");
    // The loader takes any bytes as a bank, leaving what it cannot play silent; a bank it cannot
    // read at all is broken.
    fs::remove(dir_ / "badbank" / "1.snd");
    fs::create_directory(dir_ / "badbank" / "1.snd");
    std::ofstream(dir_ / "quit.keys", std::ios::binary) << "# seed 7\n30 ESCAPE\n";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string withFolder(std::string text) const {
    for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, dir_.string());
    return text;
  }

  static std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path dir_;
};

TEST_P(ProgramExit, EndsWithItsCodeAndSaysWhy) {
  const Case& c = GetParam();
  const std::string command = "cd " + (dir_ / "run").string() + " && " + withFolder(kQuiet) +
                              withFolder(c.environment) + (dir_ / "vane").string() + " " +
                              withFolder(c.arguments) + " >../out 2>../err";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw)) << command;
  const std::string err = slurp(dir_ / "err");
  const std::string out = slurp(dir_ / "out");
  EXPECT_EQ(WEXITSTATUS(raw), c.status) << err;
  EXPECT_NE(err.find(withFolder(c.saysOnStderr)), std::string::npos) << err;
  EXPECT_NE(out.find(c.saysOnStdout), std::string::npos) << out;
  if (c.status == kExitNoDisplay) {
    EXPECT_EQ(err.rfind("vane: ", 0), 0u) << "the game's own message comes first: " << err;
  }
  if (c.status == kExitBadCommandLine) {
    EXPECT_NE(err.find("usage: vane"), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), err.find("\nusage:")) << "one line, then the usage";
  }
  if (c.status == kExitBadData && c.arguments[0] == '\0' && c.environment[0] == '\0') {
    // The search names the folders it tried and what the first of them lacked.
    EXPECT_NE(err.find((dir_ / "run").string() + " (no player.spr)"), std::string::npos) << err;
  }
  if (std::string_view(c.saysOnStderr).starts_with("the data folder")) {
    // The game's own message too, and no search of other folders.
    EXPECT_NE(err.find("ERROR: "), std::string::npos) << err;
    EXPECT_EQ(err.find("searched:"), std::string::npos) << err;
  }
}

INSTANTIATE_TEST_SUITE_P(Causes, ProgramExit, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) ch = ch == ' ' ? '_' : ch;
                           return name;
                         });

}  // namespace
}  // namespace vane
