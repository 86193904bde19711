// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own file and the settings folder, one implementation per system.
#include "shell/system_paths.h"

#include <cstdlib>
#include <system_error>

namespace vane {

namespace fs = std::filesystem;

#if defined(__linux__)
fs::path programFile() {
  std::error_code failed;
  fs::path program = fs::read_symlink("/proc/self/exe", failed);
  return failed ? fs::path{} : program;
}
#else
// A system that can name the running program (Windows: GetModuleFileNameW) says so here; until
// then the folder beside the program is left out of the data search.
fs::path programFile() {
  return {};
}
#endif

#ifdef _WIN32
fs::path userConfigFolder() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  return appData != nullptr && appData[0] != L'\0' ? fs::path(appData) : fs::path{};
}
#else
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
