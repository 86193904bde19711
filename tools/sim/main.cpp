// SPDX-License-Identifier: GPL-3.0-or-later
// vane-sim: runs the real game on the in-memory back end, driven by a key script, and traces it.
#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/last_resort.h"
#include "host/host.h"
#include "platform/headless/headless.h"
#include "shell/game.h"
#include "shell/option_table.h"
#include "shell/replay_file.h"
#include "shell/system_paths.h"
#include "tools/sim/sim_run.h"

namespace {

using vane::OptionSpec;

constexpr const char* kUsage =
    "usage: vane-sim --seed N [--data DIR] [--stage 1|2 --ship 1|2] [--frames N] [--input FILE] "
    "[--trace FILE|-] [--png DIR] [--png-every K] [--layout 565|555] [--mix FILE]; "
    "or: vane-sim --verify FILE [--data DIR]";

enum SimOption {
  kSeed,
  kData,
  kStage,
  kShip,
  kFrames,
  kInput,
  kTrace,
  kPng,
  kPngEvery,
  kLayout,
  kMix,
  kVerify,
  kHelp
};

constexpr std::array<OptionSpec, 13> kOptions{{
    {kSeed, "seed", "N", "seed the generator with N (else a first line '# seed N' of the script)"},
    {kData, "data", "DIR", "the folder of the sprite files and sound banks"},
    {kStage, "stage", "1|2", "start straight in this stage, as the menu does (with --ship)"},
    {kShip, "ship", "1|2", "the ship to start the stage with"},
    {kFrames, "frames", "N", "run N frames (else until the game ends)"},
    {kInput, "input", "FILE", "the key script: lines 'F KEY KEY ...'"},
    {kTrace, "trace", "FILE|-", "one JSON line per frame into FILE, or - for stdout"},
    {kPng, "png", "DIR", "the picture as DIR/frame-000123.png ..."},
    {kPngEvery, "png-every", "K", "... every K frames (default 1)"},
    {kLayout, "layout", "565|555", "the pixel layout the display reports (default 565)"},
    {kMix, "mix", "FILE", "the run's mixed sound as a WAV file"},
    {kVerify, "verify", "FILE",
     "re-simulate a replay and check it: one line, status 0 (agrees), 1 (differs), 2 (malformed)"},
    {kHelp, "help", "", "show this text and leave"},
}};

// A bad command line gets one line on stderr: what was wrong, then the usage.
int usage(const std::string& problem) {
  std::fprintf(stderr, "vane-sim: %s; %s\n", problem.c_str(), kUsage);
  return 2;
}

// The absolute form of a path given on the command line; nothing for an empty or unusable one.
std::optional<std::string> absolute(const std::string& path) {
  if (path == "-") return path;
  std::error_code failure;
  std::string full = std::filesystem::absolute(path, failure).string();
  if (path.empty() || failure) return std::nullopt;
  return full;
}

bool takePath(const std::string& value, std::string& path) {
  const auto full = absolute(value);
  if (full) path = *full;
  return full.has_value();
}

// Sets what the option says; false for a value it does not take.
bool takeOption(const vane::GivenOption& given, vane::sim::Options& options, bool& haveSeed,
                std::string& verifyPath) {
  const std::string& value = given.value;
  const auto number = vane::decimalNumber(value);
  const auto oneOrTwo = [&number](int& into) {
    if (number && (*number == 1 || *number == 2)) into = static_cast<int>(*number);
    return number && (*number == 1 || *number == 2);
  };
  switch (given.spec->id) {
    case kSeed:
      if (!number || *number < 0 || *number > 0xFFFFFFFFll) return false;
      options.seed = static_cast<uint32_t>(*number);
      haveSeed = true;
      return true;
    case kData:
      return takePath(value, options.dataDir);
    case kStage:
      return oneOrTwo(options.stage);
    case kShip:
      return oneOrTwo(options.ship);
    case kFrames:
      if (number && *number >= 0) options.frames = *number;
      return number && *number >= 0;
    case kInput:
      return takePath(value, options.inputPath);
    case kTrace:
      return takePath(value, options.tracePath);
    case kPng:
      return takePath(value, options.pngDir);
    case kPngEvery:
      if (number && *number >= 1) options.pngEvery = *number;
      return number && *number >= 1;
    case kLayout:
      options.use565 = value == "565";
      return value == "565" || value == "555";
    case kMix:
      return takePath(value, options.mixPath);
    case kVerify:
      return takePath(value, verifyPath);
    case kHelp:
      return true;
  }
  return false;
}

// A version-2 replay says where its run starts and how many frames it ran; --stage and
// --frames win.
void takeReplayStartAndEnd(const vane::Replay& replay, vane::sim::Options& options) {
  if (options.stage == 0) {
    options.stage = replay.start.stage;
    options.ship = replay.start.ship;
    options.upLatch = replay.start.upLatch;
    options.downLatch = replay.start.downLatch;
    options.pauseWord = replay.start.pauseWord;
  }
  if (options.frames < 0 && replay.ended) options.frames = replay.frames;
}

int runTool(int argc, char** argv) {
  vane::sim::Options options;
  // The set this build made while the build tree is there; the installed set once it is gone.
  options.dataDir = std::filesystem::is_directory(VANE_DATA_DIR)
                        ? VANE_DATA_DIR
                        : vane::installedDataFolder().string();
  bool haveSeed = false;
  bool help = false;
  std::string verifyPath;
  const vane::ParsedArguments parsed =
      vane::parseArguments(kOptions, vane::programArguments(argc, argv));
  for (const vane::GivenOption& given : parsed.options) {
    if (!takeOption(given, options, haveSeed, verifyPath)) {
      return usage("bad option or value: --" + std::string(given.spec->name) + " " + given.value);
    }
    help = help || given.spec->id == kHelp;
  }
  if (parsed.fault != vane::ParsedArguments::Fault::None) return usage(vane::faultText(parsed));
  if (!parsed.operands.empty()) return usage("bad option or value: " + parsed.operands.front());
  if (help) {
    std::printf("%s\n\nOptions:\n%s", kUsage, vane::optionLines(kOptions).c_str());
    return 0;
  }
  if ((options.stage == 0) != (options.ship == 0)) return usage("--stage and --ship go together");
  if (!verifyPath.empty()) return vane::sim::verify(options, verifyPath);

  std::string error;
  const vane::Replay recorded =
      options.inputPath.empty() ? vane::Replay{} : vane::readReplay(options.inputPath, error);
  if (!error.empty()) return usage(error);
  // A recorded run carries its seed; an explicit --seed wins.
  if (!haveSeed && recorded.seed) {
    options.seed = *recorded.seed;
    haveSeed = true;
  }
  if (!haveSeed) return usage("--seed is required");
  if (recorded.format == 2) takeReplayStartAndEnd(recorded, options);
  return vane::sim::run(options, recorded.keys);
}

}  // namespace

int main(int argc, char** argv) {
  return vane::files::runMain("vane-sim", vane::kExitSystemFailure,
                              [&] { return runTool(argc, argv); });
}
