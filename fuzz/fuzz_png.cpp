// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes vane-spr's PNG import: any bytes give a picture within the size limit or a refusal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "tools/common/formats.h"
#include "tools/spr/spr_png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vane::tools::RgbaImage image;
  if (!vane::tools::readPng(std::span<const uint8_t>(data, size), "fuzz.png", image).empty()) {
    return 0;
  }
  const size_t pixels = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  if (pixels > vane::tools::kMaxPicturePixels || image.rgba.size() != pixels * 4) std::abort();
  return 0;
}
