// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the 16-bit screen as an 8-bit RGB PNG.
#include "tools/sim/png_out.h"

#include "files/file_writer.h"
#include "platform/png/png_encode.h"

namespace vane::sim {

std::string writeScreenPng(const std::string& path, const std::vector<uint16_t>& pixels, int width,
                           int height, bool is565) {
  std::string bytes;
  if (!platform::encodePicturePng(pixels.data(), width, height, is565, bytes))
    return path + ": cannot encode the picture";
  std::string error;
  files::writeWholeFile(path, bytes, error);
  return error;
}

}  // namespace vane::sim
