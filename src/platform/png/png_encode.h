// SPDX-License-Identifier: GPL-3.0-or-later
// A picture of 8-bit channels as the bytes of a PNG file, through whichever library the system has.
#pragma once

#include <cstdint>
#include <string>

namespace vane::platform {

// `channels` is 3 (RGB) or 4 (RGBA); `pixels` holds width * height * channels bytes, row by row.
// False when the encoder fails.
bool encodePng(int width, int height, int channels, const uint8_t* pixels, std::string& out);

// A picture of 16-bit pixels (5-6-5, else 5-5-5) as an 8-bit RGB PNG, each channel's top bits
// repeated into its low bits: the one way every program writes the game's picture.
bool encodePicturePng(const uint16_t* pixels, int width, int height, bool is565, std::string& out);

}  // namespace vane::platform
