// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the folder that holds the game's nine data files, wherever the program was started.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vane {

inline constexpr std::array<const char*, 9> kDataFiles{
    "player.spr", "enemy.spr", "eb.spr", "back001.spr", "stage.spr",
    "x.spr",      "etc.spr",   "1.snd",  "music.snd",
};

// The first of the nine files that `folder` lacks; empty when it holds them all.
std::string firstMissingFile(const std::filesystem::path& folder);

// The folder the player named: --data DIR, else $VANE_DATA; empty when neither names one.
std::filesystem::path playersDataFolder(const std::string& dataFlag);

// The places to look, in order: the working directory, the data folder beside the program, and
// the installed data folder when the build names one. Only for when the player named no folder.
std::vector<std::filesystem::path> dataFolderCandidates();

// The first candidate holding all nine files; when there is none, a report of each folder and
// its first missing file goes to `report`.
std::optional<std::filesystem::path> findDataFolder(
    const std::vector<std::filesystem::path>& candidates, std::string& report);

}  // namespace vane
