// SPDX-License-Identifier: GPL-3.0-or-later
// The data folder search.
#include "shell/data_folder.h"

#include <cstdlib>

#include "shell/system_paths.h"

namespace vane {

namespace fs = std::filesystem;

std::string firstMissingFile(const fs::path& folder) {
  for (const char* name : kDataFiles) {
    std::error_code ignored;
    if (!fs::is_regular_file(folder / name, ignored)) return name;
  }
  return {};
}

fs::path playersDataFolder(const std::string& dataFlag) {
  if (!dataFlag.empty()) return dataFlag;
  if (const char* env = std::getenv("VANE_DATA"); env != nullptr && env[0] != '\0') return env;
  return {};
}

std::vector<fs::path> dataFolderCandidates() {
  std::vector<fs::path> candidates;
  std::error_code failed;
  if (fs::path here = fs::current_path(failed); !failed) candidates.push_back(here);
  if (const fs::path program = programFile(); !program.empty()) {
    candidates.push_back(program.parent_path() / "data");
  }
  // Where the installed data is, unless that is the folder beside the program (Windows).
  if (fs::path installed = installedDataFolder();
      !installed.empty() && (candidates.empty() || installed != candidates.back())) {
    candidates.push_back(installed);
  }
  return candidates;
}

std::optional<fs::path> findDataFolder(const std::vector<fs::path>& candidates,
                                       std::string& report) {
  report = "vane: no folder holds the game's data; searched:\n";
  for (const fs::path& folder : candidates) {
    const std::string missing = firstMissingFile(folder);
    if (missing.empty()) return folder;
    report += "  " + folder.string() + " (no " + missing + ")\n";
  }
  return std::nullopt;
}

}  // namespace vane
