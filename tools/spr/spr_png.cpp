// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing 8-bit RGBA PNG pictures through libpng's simplified interface.
#include "tools/spr/spr_png.h"

#include <png.h>

#include <stdexcept>

#include "tools/common/formats.h"

namespace vane::tools {

std::string writePng(const std::string& path, const RgbaImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (png_image_write_to_memory(&png, nullptr, &size, 0, image.rgba.data(), 0, nullptr) == 0) {
    return path + ": " + png.message;
  }
  std::vector<uint8_t> bytes(size);
  if (png_image_write_to_memory(&png, bytes.data(), &size, 0, image.rgba.data(), 0, nullptr) == 0) {
    return path + ": " + png.message;
  }
  bytes.resize(size);
  return writeFile(path, bytes);
}

std::string readPng(std::span<const uint8_t> bytes, const std::string& name, RgbaImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()) == 0) {
    return name + ": " + png.message;
  }
  if (static_cast<uint64_t>(png.width) * png.height > kMaxPicturePixels) {
    png_image_free(&png);
    return name + ": a picture of " + std::to_string(png.width) + "x" + std::to_string(png.height) +
           " pixels is larger than the limit of " + std::to_string(kMaxPicturePixels);
  }
  png.format = PNG_FORMAT_RGBA;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.rgba.assign(PNG_IMAGE_SIZE(png), 0);
  if (png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr) == 0) {
    const std::string message = name + ": " + png.message;
    png_image_free(&png);
    return message;
  }
  return {};
}

std::string readPng(const std::string& path, RgbaImage& image) {
  try {
    return readPng(readFile(path), path, image);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
}

}  // namespace vane::tools
