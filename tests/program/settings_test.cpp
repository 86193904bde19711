// SPDX-License-Identifier: GPL-3.0-or-later
// The config file and the command line: what each line and flag sets, what is refused, what stays.
#include "shell/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "host/keyboard.h"

namespace vane {
namespace {

using platform::PadControl;
using platform::ScaleMode;
using platform::WindowMode;

TEST(ConfigFile, TakesEachKeyAndWarnsOnceForEachBadLineNamingIt) {
  const std::string text =
      "# settings\n"
      "window_mode = window\n"
      "  window_size=1280x960  \n"
      "scale = integer\n"
      "music_volume = 40\n"
      "effect_volume = 101\n"
      "pad_fire = rightshoulder\n"
      "pad_pause = dpup\n"
      "loudness = 11\n"
      "window_size = 320x200\n"
      "\n"
      "renderer = software\n"
      "scale = \x1b]0;owned\x07" +
      std::string(10'000'000, 'x') + "\n";
  ProgramOptions o;
  std::vector<std::string> warnings;
  readConfig(text, "vane.conf", o, warnings);
  EXPECT_EQ(o.display.windowMode, WindowMode::Window);
  EXPECT_EQ(o.display.windowWidth, 1280);
  EXPECT_EQ(o.display.windowHeight, 960);
  EXPECT_EQ(o.display.scale, ScaleMode::Integer);
  EXPECT_EQ(o.display.renderer, platform::RendererChoice::Software);
  EXPECT_EQ(o.sound.musicVolume, 40);
  EXPECT_EQ(o.sound.effectVolume, 100);
  EXPECT_EQ(o.pad.fire, PadControl::RightShoulder);
  EXPECT_EQ(o.pad.pause, PadControl::Start);
  ASSERT_EQ(warnings.size(), 5u);
  EXPECT_EQ(warnings[0].rfind("vane: vane.conf:6: bad value '101' for effect_volume", 0), 0u);
  EXPECT_EQ(warnings[1].rfind("vane: vane.conf:8: bad value 'dpup'", 0), 0u);
  EXPECT_EQ(warnings[2].rfind("vane: vane.conf:9: unknown key 'loudness'", 0), 0u);
  EXPECT_EQ(warnings[3].rfind("vane: vane.conf:10: bad value '320x200'", 0), 0u);
  // A value echoed back is cut short, its control characters shown rather than sent.
  EXPECT_EQ(warnings[4], "vane: vane.conf:13: bad value '\\x1b]0;owned\\x07" +
                             std::string(70, 'x') + "...' for scale, line ignored");
}

TEST(ConfigFile, TakesTheKeysButtonsSpeedAndScreenshotsAndWarnsOnBadOnes) {
  struct Case {
    const char* line;
    bool taken;
  };
  const Case cases[] = {
      {"key_fire = x", true},
      {"key_special = x", true},  // X moves on, Fire takes Z
      {"key_quit = q", true},
      {"key_up = kp8", true},
      {"pad_up = y", true},
      {"pad_quit = leftshoulder", true},
      {"game_speed = 50", true},
      {"frame_graph = on", true},
      {"screenshot_dir = /tmp/s", true},
      {"key_fire = f1", false},
      {"key_fire = shiftt", false},
      {"pad_fire = back", false},
      {"pad_fire = dpup", false},
      {"game_speed = 55", false},
      {"frame_graph = yes", false},
      {"key_jump = x", false},
  };
  std::string text;
  for (const Case& c : cases) text += std::string(c.line) + "\n";
  ProgramOptions o;
  std::vector<std::string> warnings;
  readConfig(text, "vane.conf", o, warnings);
  size_t warned = 0;
  for (size_t i = 0; i < std::size(cases); ++i) {
    if (cases[i].taken) continue;
    ASSERT_LT(warned, warnings.size()) << cases[i].line;
    EXPECT_EQ(warnings[warned++].rfind("vane: vane.conf:" + std::to_string(i + 1) + ": ", 0), 0u)
        << cases[i].line;
  }
  EXPECT_EQ(warned, warnings.size());
  EXPECT_EQ(keyFor(o.keys, Action::Fire), 'Z');
  EXPECT_EQ(keyFor(o.keys, Action::Special), 'X');
  EXPECT_EQ(keyFor(o.keys, Action::Quit), 'Q');
  EXPECT_EQ(o.pad.up, PadControl::Y);
  EXPECT_EQ(o.pad.hold, kNoControl) << "Y went to Up, and Up's d-pad fits no button";
  EXPECT_EQ(o.gameSpeed, 50);
  EXPECT_TRUE(o.frameGraph);
  EXPECT_EQ(o.screenshotDir, "/tmp/s");
  // The game's keys follow: Z sends Shift, X sends Z, Shift nothing, Q Escape, Escape nothing.
  const host::KeyMap map = keyMapFor(o.keys);
  EXPECT_EQ(map['X'], host::kVkZ);
  EXPECT_EQ(map['Z'], host::kVkShift);
  EXPECT_EQ(map[host::kVkShift], 0);
  EXPECT_EQ(map['Q'], host::kVkEscape);
  EXPECT_EQ(map[host::kVkEscape], 0);
  EXPECT_EQ(map['A'], 'A');
}

TEST(ConfigFile, TheWindowChoiceReplacesItsOwnLinesAndKeepsEveryOther) {
  platform::DisplayOptions d;
  d.windowMode = WindowMode::Window;
  d.windowWidth = 1280;
  d.windowHeight = 960;
  EXPECT_EQ(withWindowChoice("# mine\nscale = integer\nwindow_mode = fullscreen # old\nbogus\n", d),
            "# mine\nscale = integer\nwindow_mode = window\nbogus\nwindow_size = 1280x960\n");
  EXPECT_EQ(withWindowChoice("", platform::DisplayOptions{}), "window_mode = fullscreen\n");
  const std::string saved = withWindowChoice("a = 1\n", d);
  EXPECT_EQ(withWindowChoice(saved, d), saved);
}

// One rule for window sizes: the file takes what the game can open and writes back, and the game
// writes back only what the file takes, however small or large the window was made.
TEST(ConfigFile, EverySavedWindowSizeIsReadBack) {
  for (const char* size : {"320x240", "16384x16384", "1366x749"}) {
    ProgramOptions o;
    std::vector<std::string> warnings;
    readConfig(std::string("window_size = ") + size, "f", o, warnings);
    EXPECT_TRUE(warnings.empty()) << size;
  }
  for (const char* size : {"319x240", "320x239", "16385x480", "65535x65535", "0x0"}) {
    ProgramOptions o;
    std::vector<std::string> warnings;
    readConfig(std::string("window_size = ") + size, "f", o, warnings);
    EXPECT_EQ(warnings.size(), 1u) << size;
  }
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("vane-sizes-" + std::to_string(::getpid()) + ".conf");
  struct Made {
    int width, height;
    const char* written;
  };
  for (const Made& made :
       {Made{200, 100, "320x240"}, Made{20000, 500, "16384x500"}, Made{800, 600, "800x600"}}) {
    platform::DisplayOptions window;
    window.windowMode = WindowMode::Window;
    window.windowWidth = made.width;
    window.windowHeight = made.height;
    std::ostringstream warnings;
    ASSERT_TRUE(saveWindowChoice(file, window, warnings)) << warnings.str();
    ProgramOptions o;
    ASSERT_TRUE(loadConfigFile(file, o, warnings));
    EXPECT_EQ(warnings.str(), "") << made.written;
    EXPECT_EQ(std::to_string(o.display.windowWidth) + "x" + std::to_string(o.display.windowHeight),
              made.written);
  }
  std::filesystem::remove(file);
}

TEST(CommandLine, FlagsWinOverTheFileAndBadOnesAreNamed) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case bad[] = {
      {{"--scale"}, "missing value after --scale"},
      {{"--scale", "big"}, "bad value for --scale: 'big'"},
      {{"--renderer=opengl"}, "bad value for --renderer: 'opengl'"},
      {{"--mute=yes"}, "--mute takes no value"},
      {{"-x"}, "unknown option -x"},
      {{"--data", ""}, "bad value for --data: ''"},
      {{"--sca", "fit"}, "unknown option --sca"},
      {{"-hx"}, "unknown option -x"},
      {{"--window", "window"}, "unknown option window"},
      {{"--scale", "big", "--bogus"}, "bad value for --scale: 'big'"},
  };
  for (const Case& c : bad) {
    std::string error;
    parseCommandLine(c.args, error);
    EXPECT_EQ(error, c.error) << c.args[0];
  }
  std::string error;
  const CommandLine line =
      parseCommandLine({"--fullscreen", "--scale=fit", "--mute", "--record", "r.keys"}, error);
  ASSERT_EQ(error, "");
  ProgramOptions o;
  std::vector<std::string> warnings;
  readConfig("window_mode = window\nscale = integer\nmusic_volume = 5\n", "f", o, warnings);
  applyCommandLine(line, o);
  EXPECT_EQ(o.display.windowMode, WindowMode::Fullscreen);
  EXPECT_EQ(o.display.scale, ScaleMode::Fit);
  EXPECT_TRUE(o.sound.mute);
  EXPECT_EQ(o.sound.musicVolume, 5);
  EXPECT_EQ(o.recordPath, "r.keys");
}

}  // namespace
}  // namespace vane
