// SPDX-License-Identifier: GPL-3.0-or-later
// What the player chooses before the game starts: the command line and the config file.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/options.h"
#include "shell/controls.h"

namespace vane {

struct ProgramOptions {
  platform::DisplayOptions display;
  platform::SoundOptions sound;
  PadRoles pad;
  KeyRoles keys;
  // A "PAUSED" badge over the picture while the game is paused; off for exact screenshots.
  bool pauseBadge = true;
  // Percent of full speed: one of kGameSpeeds.
  int gameSpeed = 100;
  // The graph of recent frame periods, drawn by the host in a corner.
  bool frameGraph = false;
  std::string screenshotDir;
  std::string dataDir;
  std::string recordPath;
  std::string replayPath;
};

struct CommandLine {
  enum class Action { Play, Help, Version, Verify };
  Action action = Action::Play;
  std::optional<platform::WindowMode> windowMode;
  std::optional<platform::ScaleMode> scale;
  std::optional<platform::RendererChoice> renderer;
  bool verbose = false;
  bool mute = false;
  std::optional<int> gameSpeed;
  std::string screenshotDir;
  std::string dataDir;
  std::string recordPath;
  std::string replayPath;
  std::string verifyPath;
};

// Sets `error` to one line naming the first problem.
CommandLine parseCommandLine(const std::vector<std::string>& args, std::string& error);
// Flags win over the config file.
void applyCommandLine(const CommandLine& line, ProgramOptions& options);

const char* usageText();
std::string helpText();

// vane/vane.conf in the system's settings folder ($XDG_CONFIG_HOME, else ~/.config; on Windows
// %APPDATA%); empty without one.
std::filesystem::path configPath();
// Takes every valid "key = value" line; each unknown key or bad value is one warning naming the
// file and line, and is otherwise ignored.
void readConfig(const std::string& text, const std::string& fileName, ProgramOptions& options,
                std::vector<std::string>& warnings);
// The file's text with the window mode and size set, every other line kept as it was.
std::string withWindowChoice(const std::string& text, const platform::DisplayOptions& display);

// The largest config file read.
constexpr size_t kMaxConfigBytes = size_t{1} << 20;

// The file on disk, read as a data file is (a regular file, at most kMaxConfigBytes): a missing
// file is an empty one. Any other failure to read it is one warning, and false: the file is then
// never written back.
bool loadConfigFile(const std::filesystem::path& path, ProgramOptions& options,
                    std::ostream& warnings);
// The config lines the options overlay writes: every setting it shows, as "key = value".
std::vector<std::pair<std::string, std::string>> overlaySettings(const ProgramOptions& options);
// Those of its lines that differ between `before` and `after`, as `after` has them.
std::vector<std::pair<std::string, std::string>> changedSettings(const ProgramOptions& before,
                                                                 const ProgramOptions& after);
// The file's text with each of `settings` set in its own line (added at the end when missing),
// every other line kept as it was.
std::string withSettings(const std::string& text,
                         const std::vector<std::pair<std::string, std::string>>& settings);
// Writes the settings into the file as saveWindowChoice writes the window choice.
bool saveSettings(const std::filesystem::path& path,
                  const std::vector<std::pair<std::string, std::string>>& settings,
                  std::ostream& warnings);

// Writes the window choice into the file through the one file writer, under its lock; nothing
// when nothing changed. A failure is one warning, and the file stays as it was.
bool saveWindowChoice(const std::filesystem::path& path, const platform::DisplayOptions& display,
                      std::ostream& warnings);

}  // namespace vane
