// SPDX-License-Identifier: GPL-3.0-or-later
// A picture of 8-bit channels as the bytes of a PNG file, through whichever library the system has.
#pragma once

#include <cstdint>
#include <string>

namespace vane::tools {

// `channels` is 3 (RGB) or 4 (RGBA); `pixels` holds width * height * channels bytes, row by row.
// False when the encoder fails.
bool encodePng(int width, int height, int channels, const uint8_t* pixels, std::string& out);

}  // namespace vane::tools
