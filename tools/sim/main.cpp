// SPDX-License-Identifier: GPL-3.0-or-later
// vane-sim: runs the real game on the in-memory back end, driven by a key script, and traces it.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "host/host.h"
#include "platform/headless/headless.h"
#include "platform/last_resort.h"
#include "shell/game.h"
#include "tools/sim/sim_run.h"

namespace {

constexpr const char* kUsage =
    "usage: vane-sim --seed N [--data DIR] [--stage 1|2 --ship 1|2] [--frames N] [--input FILE] "
    "[--trace FILE|-] [--png DIR] [--png-every K] [--layout 565|555] [--mix FILE]";

// A bad command line gets one line on stderr: what was wrong, then the usage.
int usage(const std::string& problem) {
  std::fprintf(stderr, "vane-sim: %s; %s\n", problem.c_str(), kUsage);
  return 2;
}

// A decimal number that fits in a long long, or nothing.
std::optional<long long> parseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE) return std::nullopt;
  return v;
}

// The absolute form of a path given on the command line; nothing for an empty or unusable one.
std::optional<std::string> absolute(const std::string& path) {
  if (path == "-") return path;
  std::error_code failure;
  std::string full = std::filesystem::absolute(path, failure).string();
  if (path.empty() || failure) return std::nullopt;
  return full;
}

int runTool(int argc, char** argv) {
  vane::sim::Options options;
  // The set this build made while the build tree is there; the installed set once it is gone.
  options.dataDir =
      std::filesystem::is_directory(VANE_DATA_DIR) ? VANE_DATA_DIR : VANE_INSTALLED_DATA_DIR;
  bool haveSeed = false;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 >= argc) return usage("missing value after " + flag);
    const std::string value = argv[++i];
    const auto number = parseNumber(value);
    if (flag == "--seed" && number && *number >= 0 && *number <= 0xFFFFFFFFll) {
      options.seed = static_cast<uint32_t>(*number);
      haveSeed = true;
    } else if (flag == "--data" && absolute(value)) {
      options.dataDir = *absolute(value);
    } else if (flag == "--stage" && number && (*number == 1 || *number == 2)) {
      options.stage = static_cast<int>(*number);
    } else if (flag == "--ship" && number && (*number == 1 || *number == 2)) {
      options.ship = static_cast<int>(*number);
    } else if (flag == "--frames" && number && *number >= 0) {
      options.frames = *number;
    } else if (flag == "--input" && absolute(value)) {
      options.inputPath = *absolute(value);
    } else if (flag == "--trace" && absolute(value)) {
      options.tracePath = *absolute(value);
    } else if (flag == "--png" && absolute(value)) {
      options.pngDir = *absolute(value);
    } else if (flag == "--png-every" && number && *number >= 1) {
      options.pngEvery = *number;
    } else if (flag == "--mix" && absolute(value)) {
      options.mixPath = *absolute(value);
    } else if (flag == "--layout" && (value == "565" || value == "555")) {
      options.use565 = value == "565";
    } else {
      return usage("bad option or value: " + flag + " " + value);
    }
  }
  if ((options.stage == 0) != (options.ship == 0)) return usage("--stage and --ship go together");

  std::string error;
  std::optional<uint32_t> recordedSeed;
  const auto script = options.inputPath.empty()
                          ? vane::KeyScript{}
                          : vane::readKeyScript(options.inputPath, error, &recordedSeed);
  if (!error.empty()) return usage(error);
  // A recorded run carries its seed; an explicit --seed wins.
  if (!haveSeed && recordedSeed) {
    options.seed = *recordedSeed;
    haveSeed = true;
  }
  if (!haveSeed) return usage("--seed is required");
  return vane::sim::run(options, script);
}

}  // namespace

int main(int argc, char** argv) {
  return vane::platform::runMain("vane-sim", vane::kExitSystemFailure,
                                 [&] { return runTool(argc, argv); });
}
