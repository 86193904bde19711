// SPDX-License-Identifier: GPL-3.0-or-later
// Where the system keeps the program's own file and the player's settings, by its convention.
#pragma once

#include <filesystem>

namespace vane {

// The running program's own file; empty where the system cannot say.
std::filesystem::path programFile();

// The folder the system's convention gives programs for the player's settings: Linux and other
// free systems $XDG_CONFIG_HOME, else ~/.config; Windows %APPDATA%. Empty when there is none.
std::filesystem::path userConfigFolder();

// The player's pictures folder: $XDG_PICTURES_DIR, else ~/Pictures; on Windows the Pictures
// known folder. Empty when there is none.
std::filesystem::path userPicturesFolder();

// The folder the system's convention gives programs for the player's own data: Linux and other
// free systems $XDG_DATA_HOME, else ~/.local/share; Windows %APPDATA%. Empty when there is none.
std::filesystem::path userDataFolder();

// Where the installed game's data is: Windows beside the program (its folder's data\), elsewhere
// where the package put it. Empty when the system cannot say.
std::filesystem::path installedDataFolder();

}  // namespace vane
