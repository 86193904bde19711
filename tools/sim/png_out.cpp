// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the 16-bit screen as an 8-bit RGB PNG.
#include "tools/sim/png_out.h"

#include "files/file_writer.h"
#include "tools/common/png_encode.h"

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

// The picture as 8-bit RGB, each channel's top bits repeated into its low bits.
std::vector<uint8_t> rgbPicture(const std::vector<uint16_t>& pixels, bool is565) {
  std::vector<uint8_t> rgb(pixels.size() * 3);
  for (size_t i = 0; i < pixels.size(); ++i) toRgb(pixels[i], is565, &rgb[i * 3]);
  return rgb;
}

}  // namespace

std::string writeScreenPng(const std::string& path, const std::vector<uint16_t>& pixels, int width,
                           int height, bool is565) {
  std::string bytes;
  if (!tools::encodePng(width, height, 3, rgbPicture(pixels, is565).data(), bytes))
    return path + ": cannot encode the picture";
  std::string error;
  files::writeWholeFile(path, bytes, error);
  return error;
}

}  // namespace vane::sim
