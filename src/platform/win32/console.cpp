// SPDX-License-Identifier: GPL-3.0-or-later
// The console a windowed program was started from: its lines go there, as a console program's do.
#include <windows.h>

#include <cstdio>

#include "platform/desktop.h"

namespace vane::platform {

namespace {

// A handle the parent gave (a file, a pipe, a console) is kept as it is.
bool handed(DWORD which) {
  const HANDLE h = GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

}  // namespace

// Started from Explorer there is no console, and none is opened: a window would flash up.
void prepareDesktopProgram() {
  const bool out = handed(STD_OUTPUT_HANDLE);
  const bool err = handed(STD_ERROR_HANDLE);
  if ((out && err) || AttachConsole(ATTACH_PARENT_PROCESS) == 0) return;
  if (!out) std::freopen("CONOUT$", "w", stdout);
  if (!err) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace vane::platform
