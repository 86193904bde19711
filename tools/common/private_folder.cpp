// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh folder of one's own: a random name, made only when nothing has it yet.
#include "tools/common/private_folder.h"

#include <cstdio>
#include <cstdlib>
#include <random>

namespace vane::tools {

namespace fs = std::filesystem;

namespace {

// The system's temporary folder. A folder named there that does not exist is "no such file or
// directory" whatever the standard library (libc++ calls it "not a directory").
fs::path temporaryFolder(std::error_code& error) {
  fs::path folder = fs::temp_directory_path(error);
  if (error != std::errc::not_a_directory) return folder;
  for (const char* name : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"}) {
    const char* named = std::getenv(name);
    if (named == nullptr) continue;
    std::error_code missing;
    if (!fs::exists(named, missing) && !missing) {
      error = std::make_error_code(std::errc::no_such_file_or_directory);
    }
    break;
  }
  return {};
}

}  // namespace

fs::path makePrivateFolder(const std::string& prefix, std::error_code& error) {
  const fs::path parent = temporaryFolder(error);
  if (error) return {};
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[9];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    const fs::path folder = parent / (prefix + suffix);
    // Made only when no file or folder had the name, so nobody else's folder is ever taken.
    if (!fs::create_directory(folder, error)) {
      if (error) return {};
      continue;
    }
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
    if (!error) return folder;
    std::error_code ignored;
    fs::remove(folder, ignored);
    return {};
  }
  error = std::make_error_code(std::errc::file_exists);
  return {};
}

}  // namespace vane::tools
