// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the 16-bit screen as an 8-bit RGB PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vane::sim {

// Each channel's top bits are repeated into its low bits. On failure the line to show
// ("<file>: <reason>"); empty on success.
std::string writeScreenPng(const std::string& path, const std::vector<uint16_t>& pixels, int width,
                           int height, bool is565);

}  // namespace vane::sim
