// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own file and the settings folder, one implementation per system.
#include "shell/system_paths.h"

#include <cstdlib>
#include <system_error>
#ifdef _WIN32
// windows.h first: the others build on its declarations.
#include <windows.h>
// clang-format off
#include <knownfolders.h>
#include <shlobj.h>
// clang-format on
#endif

namespace vane {

namespace fs = std::filesystem;

#if defined(_WIN32)
fs::path programFile() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n == 0) return {};
    if (n < name.size()) return fs::path(name.substr(0, n));
    name.resize(name.size() * 2);  // cut short: a longer path than MAX_PATH
  }
}

fs::path installedDataFolder() {
  const fs::path program = programFile();
  return program.empty() ? fs::path{} : program.parent_path() / "data";
}
#else
#if defined(__linux__)
fs::path programFile() {
  std::error_code failed;
  fs::path program = fs::read_symlink("/proc/self/exe", failed);
  return failed ? fs::path{} : program;
}
#else
// A system that can name the running program says so here; until then the folder beside the
// program is left out of the data search.
fs::path programFile() {
  return {};
}
#endif

fs::path installedDataFolder() {
#ifdef VANE_INSTALLED_DATA_DIR
  return fs::path(VANE_INSTALLED_DATA_DIR);
#else
  return {};
#endif
}
#endif

#ifdef _WIN32
fs::path userPicturesFolder() {
  PWSTR folder = nullptr;
  fs::path pictures;
  if (SHGetKnownFolderPath(FOLDERID_Pictures, 0, nullptr, &folder) == S_OK) pictures = folder;
  CoTaskMemFree(folder);
  return pictures;
}

fs::path userConfigFolder() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  return appData != nullptr && appData[0] != L'\0' ? fs::path(appData) : fs::path{};
}

fs::path userDataFolder() {
  return userConfigFolder();
}
#else
fs::path userPicturesFolder() {
  const char* xdg = std::getenv("XDG_PICTURES_DIR");
  if (xdg != nullptr && xdg[0] == '/') return fs::path(xdg);
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return fs::path(home) / "Pictures";
  return {};
}

fs::path userDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid by the base directory rules and is ignored.
  if (xdg != nullptr && xdg[0] == '/') return fs::path(xdg);
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return fs::path(home) / ".local" / "share";
  return {};
}

fs::path userConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  // A relative XDG_CONFIG_HOME is invalid by the base directory rules and is ignored.
  if (xdg != nullptr && xdg[0] == '/') return fs::path(xdg);
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return fs::path(home) / ".config";
  return {};
}
#endif

}  // namespace vane
