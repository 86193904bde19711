// SPDX-License-Identifier: GPL-3.0-or-later
// Encoding PNG files with zlib alone, where no libpng is built for the system (Windows).
#include <zlib.h>

#include <vector>

#include "platform/png/png_encode.h"

namespace vane::platform {

namespace {

void putBigEndian(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

// A chunk: its length, type, data and the CRC of type and data.
void putChunk(std::string& out, const char* type, const std::string& data) {
  putBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.append(type, 4);
  out += data;
  const auto* crcFrom = reinterpret_cast<const Bytef*>(out.data() + start);
  putBigEndian(out, static_cast<uint32_t>(crc32(0, crcFrom, static_cast<uInt>(data.size() + 4))));
}

}  // namespace

bool encodePng(int width, int height, int channels, const uint8_t* pixels, std::string& out) {
  const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(channels);
  // Every row with filter 0 (none) before it.
  std::vector<uint8_t> rows;
  rows.reserve((stride + 1) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows.push_back(0);
    const uint8_t* row = pixels + static_cast<size_t>(y) * stride;
    rows.insert(rows.end(), row, row + stride);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, rows.data(),
                static_cast<uLong>(rows.size()), Z_DEFAULT_COMPRESSION) != Z_OK) {
    return false;
  }
  packed.resize(packedSize);
  std::string header;
  putBigEndian(header, static_cast<uint32_t>(width));
  putBigEndian(header, static_cast<uint32_t>(height));
  // 8 bits a channel; colour type 6 (RGBA) or 2 (RGB); deflate, adaptive filters, no interlace.
  header += {8, static_cast<char>(channels == 4 ? 6 : 2), 0, 0, 0};
  out.append("\x89PNG\r\n\x1a\n", 8);
  putChunk(out, "IHDR", header);
  putChunk(out, "IDAT", packed);
  putChunk(out, "IEND", "");
  return true;
}

}  // namespace vane::platform
