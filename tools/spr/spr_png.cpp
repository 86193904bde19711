// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing 8-bit RGBA PNG pictures through libpng's simplified interface.
#include "tools/spr/spr_png.h"

#include <png.h>

namespace vane::tools {

std::string writePng(const std::string& path, const RgbaImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGBA;
  if (png_image_write_to_file(&png, path.c_str(), 0, image.rgba.data(), 0, nullptr) == 0) {
    return path + ": " + png.message;
  }
  return {};
}

std::string readPng(const std::string& path, RgbaImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0) return path + ": " + png.message;
  png.format = PNG_FORMAT_RGBA;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.rgba.assign(PNG_IMAGE_SIZE(png), 0);
  if (png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr) == 0) {
    const std::string message = path + ": " + png.message;
    png_image_free(&png);
    return message;
  }
  return {};
}

}  // namespace vane::tools
