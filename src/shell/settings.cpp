// SPDX-License-Identifier: GPL-3.0-or-later
// The command line, the config file and the window choice kept in it.
#include "shell/settings.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <string_view>

#include "files/data_file.h"
#include "host/pad_bindings.h"
#include "shell/exit_status.h"
#include "shell/frame_pacer.h"
#include "shell/option_table.h"
#include "shell/system_paths.h"

namespace vane {

namespace fs = std::filesystem;
using platform::RendererChoice;
using platform::ScaleMode;
using platform::WindowMode;

namespace {

template <typename T>
struct Named {
  std::string_view name;
  T value;
};

constexpr std::array<Named<WindowMode>, 2> kWindowModes{{
    {"fullscreen", WindowMode::Fullscreen},
    {"window", WindowMode::Window},
}};
constexpr std::array<Named<ScaleMode>, 2> kScales{
    {{"fit", ScaleMode::Fit}, {"integer", ScaleMode::Integer}}};
constexpr std::array<Named<RendererChoice>, 3> kRenderers{{
    {"auto", RendererChoice::Auto},
    {"gpu", RendererChoice::Gpu},
    {"software", RendererChoice::Software},
}};

template <typename T, size_t N>
std::optional<T> lookUp(const std::array<Named<T>, N>& table, std::string_view name) {
  for (const auto& entry : table) {
    if (entry.name == name) return entry.value;
  }
  return std::nullopt;
}

template <typename T, size_t N>
std::string_view nameOf(const std::array<Named<T>, N>& table, T value) {
  for (const auto& entry : table) {
    if (entry.value == value) return entry.name;
  }
  return {};
}

std::optional<int> wholeNumber(std::string_view text, int low, int high) {
  if (text.empty() || text.size() > 6) return std::nullopt;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v < low || v > high) return std::nullopt;
  return v;
}

// "WIDTHxHEIGHT", a window size the game can open and writes back.
bool parseSize(std::string_view text, int& width, int& height) {
  const size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  const auto w =
      wholeNumber(text.substr(0, x), platform::kSmallestWindowWidth, platform::kLargestWindowSide);
  const auto h = wholeNumber(text.substr(x + 1), platform::kSmallestWindowHeight,
                             platform::kLargestWindowSide);
  if (!w || !h) return false;
  width = *w;
  height = *h;
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// A line's key and value; false for blank lines, comments and lines without '='.
bool splitLine(std::string_view line, std::string_view& key, std::string_view& value) {
  line = trim(line);
  if (line.empty() || line.front() == '#') return false;
  const size_t eq = line.find('=');
  key = trim(line.substr(0, eq));
  value = eq == std::string_view::npos ? std::string_view{} : trim(line.substr(eq + 1));
  return true;
}

// A key or control for an action; an action that had it takes the one this action had, as the
// options' Controls page swaps them.
bool takeControl(const ControlKey& control, std::string_view value, ProgramOptions& o) {
  if (control.pad) {
    const auto v = padRoleNamed(control.action, value);
    if (v) bindPad(o.pad, control.action, *v);
    return v.has_value();
  }
  const auto v = keyNamed(value);
  if (v) bindKey(o.keys, control.action, *v);
  return v.has_value();
}

enum class Verdict { Taken, UnknownKey, BadValue };

Verdict applyConfigValue(std::string_view key, std::string_view value, ProgramOptions& o) {
  auto take = [](bool ok) { return ok ? Verdict::Taken : Verdict::BadValue; };
  if (key == "window_mode") {
    const auto v = lookUp(kWindowModes, value);
    if (v) o.display.windowMode = *v;
    return take(v.has_value());
  }
  if (key == "window_size") {
    return take(parseSize(value, o.display.windowWidth, o.display.windowHeight));
  }
  if (key == "scale") {
    const auto v = lookUp(kScales, value);
    if (v) o.display.scale = *v;
    return take(v.has_value());
  }
  if (key == "renderer") {
    const auto v = lookUp(kRenderers, value);
    if (v) o.display.renderer = *v;
    return take(v.has_value());
  }
  if (key == "music_volume" || key == "effect_volume") {
    const auto v = wholeNumber(value, 0, 100);
    if (v) (key == "music_volume" ? o.sound.musicVolume : o.sound.effectVolume) = *v;
    return take(v.has_value());
  }
  if (key == "game_speed") {
    const auto v = wholeNumber(value, 0, 100);
    const bool known = v && isGameSpeed(*v);
    if (known) o.gameSpeed = *v;
    return take(known);
  }
  if (key == "frame_graph") {
    const bool on = value == "on";
    if (on || value == "off") o.frameGraph = on;
    return take(on || value == "off");
  }
  if (key == "screenshot_dir") {
    if (!value.empty()) o.screenshotDir = std::string(value);
    return take(!value.empty());
  }
  if (key == "pause_badge") {
    const bool on = value == "on";
    if (on || value == "off") o.pauseBadge = on;
    return take(on || value == "off");
  }
  if (const auto control = controlKeyNamed(key)) return take(takeControl(*control, value, o));
  return Verdict::UnknownKey;
}

std::string windowSize(const platform::DisplayOptions& d) {
  return std::to_string(d.windowWidth) + "x" + std::to_string(d.windowHeight);
}

struct StatusLine {
  ExitStatus status;
  const char* meaning;
};

constexpr std::array<StatusLine, 7> kStatusLines{{
    {kExitOk, "the game was quit"},
    {kExitNotRecorded, "the game was quit, but the --record file could not be written"},
    {kExitBadCommandLine, "bad command line"},
    {kExitNoDisplay, "no display could be opened"},
    {kExitNoSound,
     "the sound device refused to start (with no sound output at all the game plays silently)"},
    {kExitBadData, "a data file is missing or broken"},
    {kExitSystemFailure, "out of memory, or the file system failed (stderr says which)"},
}};

std::string exitStatusLines() {
  std::string text;
  for (const StatusLine& line : kStatusLines) {
    text += "  " + std::to_string(line.status) + "  " + line.meaning + "\n";
  }
  return text;
}

enum VaneOption {
  kWindow,
  kFullscreen,
  kScale,
  kRenderer,
  kVerbose,
  kMute,
  kGameSpeed,
  kScreenshotDir,
  kData,
  kRecord,
  kReplay,
  kVerify,
  kHelp,
  kVersion
};

constexpr std::array<OptionSpec, 14> kOptions{{
    {kWindow, "window", "", "start in a window"},
    {kFullscreen, "fullscreen", "", "start covering the screen (the default)"},
    {kScale, "scale", "fit|integer", "fill the screen sharply, or whole steps only"},
    {kRenderer, "renderer", "auto|gpu|software", "how the picture is drawn to the screen"},
    {kVerbose, "verbose", "", "say on stderr which display and sound devices are used"},
    {kMute, "mute", "", "open no sound device and play nothing"},
    {kGameSpeed, "game-speed", "100|90|80|70|60|50",
     "play slower: a stage frame lasts 25 ms at 100, 50 ms at 50"},
    {kScreenshotDir, "screenshot-dir", "DIR", "save the screenshots of F12 in DIR"},
    {kData, "data", "DIR", "look for the game's data in DIR first"},
    {kRecord, "record", "FILE", "write the seed and the keys of this run to FILE"},
    {kReplay, "replay", "FILE", "play a recorded run back (Escape leaves)"},
    {kVerify, "verify", "FILE", "re-simulate a replay and say in one line whether it agrees"},
    {kHelp, "help", "", "show this text and leave", 'h'},
    {kVersion, "version", "", "show the version and leave"},
}};

// Sets what the option says; false for a value it does not take (no option takes an empty one).
bool takeOption(const GivenOption& given, CommandLine& line) {
  const std::string& value = given.value;
  switch (given.spec->id) {
    case kWindow:
      line.windowMode = WindowMode::Window;
      return true;
    case kFullscreen:
      line.windowMode = WindowMode::Fullscreen;
      return true;
    case kScale:
      line.scale = lookUp(kScales, value);
      return line.scale.has_value();
    case kRenderer:
      line.renderer = lookUp(kRenderers, value);
      return line.renderer.has_value();
    case kVerbose:
      line.verbose = true;
      return true;
    case kMute:
      line.mute = true;
      return true;
    case kGameSpeed: {
      const auto percent = decimalNumber(value);
      if (percent && isGameSpeed(static_cast<int>(*percent)))
        line.gameSpeed = static_cast<int>(*percent);
      return line.gameSpeed.has_value();
    }
    case kScreenshotDir:
      line.screenshotDir = value;
      return !value.empty();
    case kData:
      line.dataDir = value;
      return !value.empty();
    case kRecord:
      line.recordPath = value;
      return !value.empty();
    case kReplay:
      line.replayPath = value;
      return !value.empty();
    case kVerify:
      line.action = CommandLine::Action::Verify;
      line.verifyPath = value;
      return !value.empty();
    case kHelp:
      line.action = CommandLine::Action::Help;
      return true;
    case kVersion:
      line.action = CommandLine::Action::Version;
      return true;
  }
  return false;
}

}  // namespace

const char* usageText() {
  return "usage: vane [--window | --fullscreen] [--scale fit|integer] "
         "[--renderer auto|gpu|software]\n"
         "            [--verbose] [--mute] [--game-speed 100|90|80|70|60|50]\n"
         "            [--screenshot-dir DIR] [--data DIR] [--record FILE] [--replay FILE]\n"
         "            [--verify FILE] [--help] [--version]\n";
}

std::string helpText() {
  return std::string(usageText()) + "\n" + "Options:\n" + optionLines(kOptions) +
         "\n"
         "Settings are read from $XDG_CONFIG_HOME/vane/vane.conf (else ~/.config/vane/vane.conf);\n"
         "the command line wins over the file. The data is read from --data DIR, else $VANE_DATA;\n"
         "without either it is searched in the working directory, the folder beside the program,\n"
         "and the installed data folder.\n"
         "Each stage played is kept as a replay in $XDG_DATA_HOME/vane/replays (else\n"
         "~/.local/share/vane/replays), the best proven scores in records.txt there.\n"
         "\n"
         "Exit status:\n" +
         exitStatusLines();
}

CommandLine parseCommandLine(const std::vector<std::string>& args, std::string& error) {
  CommandLine line;
  const ParsedArguments parsed = parseArguments(kOptions, args);
  // The options before a fault come first, so the first problem on the line is the one named.
  for (const GivenOption& given : parsed.options) {
    if (!takeOption(given, line)) {
      error = "bad value for --" + std::string(given.spec->name) + ": '" + given.value + "'";
      return line;
    }
  }
  if (parsed.fault != ParsedArguments::Fault::None) {
    error = faultText(parsed);
  } else if (!parsed.operands.empty()) {
    error = "unknown option " + parsed.operands.front();
  }
  return line;
}

void applyCommandLine(const CommandLine& line, ProgramOptions& options) {
  if (line.windowMode) options.display.windowMode = *line.windowMode;
  if (line.scale) options.display.scale = *line.scale;
  if (line.renderer) options.display.renderer = *line.renderer;
  options.display.verbose = options.display.verbose || line.verbose;
  options.sound.mute = options.sound.mute || line.mute;
  if (line.gameSpeed) options.gameSpeed = *line.gameSpeed;
  if (!line.screenshotDir.empty()) options.screenshotDir = line.screenshotDir;
  options.dataDir = line.dataDir;
  options.recordPath = line.recordPath;
  options.replayPath = line.replayPath;
}

fs::path configPath() {
  const fs::path folder = userConfigFolder();
  return folder.empty() ? folder : folder / "vane" / "vane.conf";
}

void readConfig(const std::string& text, const std::string& fileName, ProgramOptions& options,
                std::vector<std::string>& warnings) {
  std::istringstream in(text);
  std::string raw;
  for (int lineNo = 1; std::getline(in, raw); ++lineNo) {
    std::string_view key;
    std::string_view value;
    if (!splitLine(raw, key, value)) continue;
    const std::string where = "vane: " + fileName + ":" + std::to_string(lineNo) + ": ";
    switch (applyConfigValue(key, value, options)) {
      case Verdict::Taken:
        break;
      case Verdict::UnknownKey:
        warnings.push_back(where + "unknown key '" + files::shownText(key) + "', line ignored");
        break;
      case Verdict::BadValue:
        warnings.push_back(where + "bad value '" + files::shownText(value) + "' for " +
                           std::string(key) + ", line ignored");
        break;
    }
  }
}

std::vector<std::pair<std::string, std::string>> overlaySettings(const ProgramOptions& o) {
  std::vector<std::pair<std::string, std::string>> lines{
      {"window_mode", std::string(nameOf(kWindowModes, o.display.windowMode))},
      {"scale", std::string(nameOf(kScales, o.display.scale))},
      {"renderer", std::string(nameOf(kRenderers, o.display.renderer))},
      {"frame_graph", o.frameGraph ? "on" : "off"},
      {"music_volume", std::to_string(o.sound.musicVolume)},
      {"effect_volume", std::to_string(o.sound.effectVolume)},
      {"game_speed", std::to_string(o.gameSpeed)},
  };
  for (size_t a = 0; a < kActionCount; ++a) {
    const auto action = static_cast<Action>(a);
    const std::string name(actionInfo(action).name);
    lines.emplace_back("key_" + name, std::string(keyName(keyFor(o.keys, action))));
    lines.emplace_back("pad_" + name, std::string(padRoleName(padFor(o.pad, action))));
  }
  return lines;
}

std::vector<std::pair<std::string, std::string>> changedSettings(const ProgramOptions& before,
                                                                 const ProgramOptions& after) {
  const auto was = overlaySettings(before);
  auto lines = overlaySettings(after);
  std::erase_if(lines, [&was](const auto& line) {
    return std::find(was.begin(), was.end(), line) != was.end();
  });
  return lines;
}

std::string withSettings(const std::string& text,
                         const std::vector<std::pair<std::string, std::string>>& settings) {
  std::vector<bool> written(settings.size(), false);
  std::istringstream in(text);
  std::string out;
  for (std::string raw; std::getline(in, raw);) {
    std::string_view key;
    std::string_view value;
    if (splitLine(raw, key, value)) {
      for (size_t i = 0; i < settings.size(); ++i) {
        if (key != settings[i].first) continue;
        raw = settings[i].first + " = " + settings[i].second;
        written[i] = true;
      }
    }
    out += raw + '\n';
  }
  for (size_t i = 0; i < settings.size(); ++i) {
    if (!written[i]) out += settings[i].first + " = " + settings[i].second + '\n';
  }
  return out;
}

std::string withWindowChoice(const std::string& text, const platform::DisplayOptions& display) {
  const std::string mode = "window_mode = " + std::string(nameOf(kWindowModes, display.windowMode));
  const bool sized = display.windowWidth > 0 && display.windowHeight > 0;
  const std::string size = "window_size = " + windowSize(display);
  std::istringstream in(text);
  std::string out;
  bool modeWritten = false;
  bool sizeWritten = !sized;
  for (std::string raw; std::getline(in, raw);) {
    std::string_view key;
    std::string_view value;
    const bool setting = splitLine(raw, key, value);
    if (setting && key == "window_mode") {
      raw = mode;
      modeWritten = true;
    } else if (setting && key == "window_size" && sized) {
      raw = size;
      sizeWritten = true;
    }
    out += raw + '\n';
  }
  if (!modeWritten) out += mode + '\n';
  if (!sizeWritten) out += size + '\n';
  return out;
}

}  // namespace vane
