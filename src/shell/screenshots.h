// SPDX-License-Identifier: GPL-3.0-or-later
// Screenshots: the game's picture exactly, as a PNG named for the time and the frame.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

namespace vane {

// The folder chosen (--screenshot-dir, screenshot_dir), else vane/ in the player's pictures.
std::filesystem::path screenshotFolder(const std::string& chosen);

// vane-YYYYMMDD-HHMMSS-FRAME.png, the local time; FRAME is the frames run so far, as vane-sim
// numbers the frame whose picture it is.
std::string screenshotName(std::time_t when, long long frame);

// Writes the back buffer's picture into `folder` (made when missing); the path written, or
// on failure what went wrong in `error`.
std::filesystem::path saveScreenshot(const std::filesystem::path& folder, long long frame,
                                     std::string& error);

}  // namespace vane
