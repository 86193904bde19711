// SPDX-License-Identifier: GPL-3.0-or-later
// The game's 16-bit picture as an 8-bit RGB PNG.
#include <vector>

#include "platform/png/png_encode.h"

namespace vane::platform {

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

}  // namespace

bool encodePicturePng(const uint16_t* pixels, int width, int height, bool is565, std::string& out) {
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint8_t> rgb(count * 3);
  for (size_t i = 0; i < count; ++i) toRgb(pixels[i], is565, &rgb[i * 3]);
  return encodePng(width, height, 3, rgb.data(), out);
}

}  // namespace vane::platform
