// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing 8-bit RGBA PNG pictures.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vane::tools {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // 4 bytes a pixel, row by row
};

// Empty string on success, else what went wrong.
std::string writePng(const std::string& path, const RgbaImage& image);
// Any PNG held in `png` is converted to 8-bit RGBA; one larger than kMaxPicturePixels is refused
// before its pixels are allocated. `name` is only used in messages.
std::string readPng(std::span<const uint8_t> png, const std::string& name, RgbaImage& image);
// The same from a file (read within the tools' size cap).
std::string readPng(const std::string& path, RgbaImage& image);

}  // namespace vane::tools
