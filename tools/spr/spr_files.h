// SPDX-License-Identifier: GPL-3.0-or-later
// Unpacking a sprite file into PNG pictures with an index, and packing them back.
#pragma once

#include <cstdint>
#include <string>

#include "tools/common/formats.h"
#include "tools/spr/spr_png.h"

namespace vane::tools {

// Both return an empty string on success, or a message naming the file (and pixel) at fault.
// Notes that do not stop the work (a frame re-cut after its transparency changed) go to `notes`.
std::string unpackSpriteFile(const std::string& file, const std::string& dir);
std::string packSpriteFile(const std::string& dir, const std::string& file, std::string& notes);
// Reads an index's text as packing does; empty when it is well formed, else what is wrong.
std::string checkSpriteIndex(const std::string& text);

// The picture an RGBA image shows, its opaque channels reduced to 5 bits. Every pixel must be
// transparent (alpha 0) or opaque (alpha 255), and `colourRefusal`, when given, may refuse an
// opaque pixel's colour by returning why ("is ..."). Throws std::runtime_error naming `name`
// and the pixel otherwise.
Picture pictureFromImage(const RgbaImage& image, const std::string& name,
                         std::string (*colourRefusal)(const uint8_t* rgba) = nullptr);

// 5-bit channel to 8 bits by repeating its top bits, and back to the nearest 5-bit value.
constexpr int expand5(int v) {
  return (v << 3) | (v >> 2);
}
constexpr int reduce8(int v) {
  return (v * 31 + 127) / 255;
}

}  // namespace vane::tools
