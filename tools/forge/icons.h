// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon at the sizes of the desktop's hicolor theme, painted from the game's own art.
#pragma once

#include <string>

namespace vane::forge {

// Writes `dir`/NxN/apps/vane.png for every size of kIconSizes; false (and a message) on failure.
bool writeIcons(const std::string& dir);

inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Writes the icon as one Windows icon file (.ico) holding a PNG picture at each size Windows asks
// for; false (and a message) on failure.
bool writeIconFile(const std::string& path);

inline constexpr int kWindowsIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace vane::forge
