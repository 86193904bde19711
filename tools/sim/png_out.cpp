// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the 16-bit screen as an 8-bit RGB PNG.
#include "tools/sim/png_out.h"

#include <png.h>

#include "files/file_writer.h"

namespace vane::sim {

namespace {
uint8_t expand5(unsigned v) {
  return static_cast<uint8_t>((v << 3) | (v >> 2));
}
uint8_t expand6(unsigned v) {
  return static_cast<uint8_t>((v << 2) | (v >> 4));
}

void toRgb(uint16_t p, bool is565, uint8_t* out) {
  if (is565) {
    out[0] = expand5((p >> 11) & 31);
    out[1] = expand6((p >> 5) & 63);
  } else {
    out[0] = expand5((p >> 10) & 31);
    out[1] = expand5((p >> 5) & 31);
  }
  out[2] = expand5(p & 31);
}

void appendBytes(png_structp png, png_bytep bytes, png_size_t count) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(bytes), count);
}

// The picture as a PNG file's bytes; false when libpng fails.
bool encodePng(const std::vector<uint16_t>& pixels, int width, int height, bool is565,
               std::string& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, appendBytes, nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      toRgb(pixels[static_cast<size_t>(y) * width + x], is565, &row[static_cast<size_t>(x) * 3]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string writeScreenPng(const std::string& path, const std::vector<uint16_t>& pixels, int width,
                           int height, bool is565) {
  std::string bytes;
  if (!encodePng(pixels, width, height, is565, bytes)) return path + ": cannot encode the picture";
  std::string error;
  files::writeWholeFile(path, bytes, error);
  return error;
}

}  // namespace vane::sim
