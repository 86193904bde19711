// SPDX-License-Identifier: GPL-3.0-or-later
// The config file on disk: read as a data file is, the window choice written back safely.
#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "files/data_file.h"
#include "files/file_writer.h"
#include "shell/settings.h"

namespace vane {

namespace fs = std::filesystem;

namespace {

constexpr const char* kNewConfig = "# VANE settings: see the README for every key.\n";

struct ConfigText {
  bool missing = false;
  std::string text;
  std::string problem;  // why a file that is there could not be read; empty when it could
};

ConfigText readConfigText(const fs::path& path) {
  std::vector<uint8_t> bytes;
  const files::DataFileRead read =
      files::readDataFile(path.string().c_str(), kMaxConfigBytes, bytes);
  ConfigText config;
  if (read.failure == files::ReadFailure::None) {
    config.text.assign(bytes.begin(), bytes.end());
  } else if (read.missing) {
    config.missing = true;
  } else {
    config.problem = files::refusalText(path.string().c_str(), read);
  }
  return config;
}

// The file as it should be after the save, or nothing when it needs no change.
std::optional<std::string> savedText(const ConfigText& config,
                                     const platform::DisplayOptions& display) {
  const std::string before = config.missing ? kNewConfig : config.text;
  // Written so, the size is always one the file is read back with.
  platform::DisplayOptions kept = display;
  if (kept.windowWidth > 0 && kept.windowHeight > 0) {
    kept.windowWidth =
        std::clamp(kept.windowWidth, platform::kSmallestWindowWidth, platform::kLargestWindowSide);
    kept.windowHeight = std::clamp(kept.windowHeight, platform::kSmallestWindowHeight,
                                   platform::kLargestWindowSide);
  }
  std::string after = withWindowChoice(before, kept);
  if (!config.missing && after == before) return std::nullopt;
  return after;
}

// Writes the window choice; what went wrong, or nothing.
std::string writeWindowChoice(const fs::path& path, const platform::DisplayOptions& display) {
  std::error_code ignored;
  fs::create_directories(path.parent_path(), ignored);
  files::FileWriter writer;
  if (!writer.open(path.string())) return writer.error();
  // Read again under the writer's lock: a save of another game in between is built on.
  const ConfigText config = readConfigText(path);
  if (!config.problem.empty()) return config.problem;
  const std::optional<std::string> after = savedText(config, display);
  if (after && !(writer.write(*after) && writer.commit())) return writer.error();
  return {};
}

// Writes `after(text)` in place of the file's text; what went wrong, or nothing.
template <typename Edit>
std::string rewriteConfig(const fs::path& path, const Edit& after) {
  std::error_code ignored;
  fs::create_directories(path.parent_path(), ignored);
  files::FileWriter writer;
  if (!writer.open(path.string())) return writer.error();
  // Read again under the writer's lock: a save of another game in between is built on.
  const ConfigText config = readConfigText(path);
  if (!config.problem.empty()) return config.problem;
  const std::string text = after(config.missing ? std::string(kNewConfig) : config.text);
  if (!(writer.write(text) && writer.commit())) return writer.error();
  return {};
}

}  // namespace

bool saveSettings(const fs::path& path,
                  const std::vector<std::pair<std::string, std::string>>& settings,
                  std::ostream& warnings) {
  const std::string problem =
      rewriteConfig(path, [&](const std::string& text) { return withSettings(text, settings); });
  if (problem.empty()) return true;
  warnings << "vane: " << problem << "; the options were not saved\n";
  return false;
}

bool loadConfigFile(const fs::path& path, ProgramOptions& options, std::ostream& warnings) {
  const ConfigText config = readConfigText(path);
  if (!config.problem.empty()) {
    warnings << "vane: " << config.problem << "; the file is left as it is\n";
    return false;
  }
  std::vector<std::string> lines;
  readConfig(config.text, path.string(), options, lines);
  for (const std::string& line : lines) warnings << line << '\n';
  return true;
}

bool saveWindowChoice(const fs::path& path, const platform::DisplayOptions& display,
                      std::ostream& warnings) {
  const ConfigText config = readConfigText(path);
  if (config.problem.empty() && !savedText(config, display)) return true;
  const std::string problem =
      config.problem.empty() ? writeWindowChoice(path, display) : config.problem;
  if (problem.empty()) return true;
  warnings << "vane: " << problem << "; the window choice was not saved\n";
  return false;
}

}  // namespace vane
