// SPDX-License-Identifier: GPL-3.0-or-later
// Encoding PNG files with no library at all (the browser's build): deflate's stored blocks.
#include <algorithm>
#include <array>
#include <vector>

#include "platform/png/png_encode.h"

namespace vane::platform {

namespace {

void putBigEndian(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

std::array<uint32_t, 256> crcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

uint32_t crc32(const char* data, size_t size) {
  static const std::array<uint32_t, 256> table = crcTable();
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i)
    c = table[(c ^ static_cast<uint8_t>(data[i])) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

uint32_t adler32(const std::vector<uint8_t>& bytes) {
  uint32_t a = 1;
  uint32_t b = 0;
  for (uint8_t byte : bytes) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

// A zlib stream of stored (uncompressed) deflate blocks of at most 65535 bytes each.
std::string storedZlib(const std::vector<uint8_t>& bytes) {
  std::string out("\x78\x01", 2);
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(bytes.size() - at, 65535);
    const bool last = at + n == bytes.size();
    out += static_cast<char>(last ? 1 : 0);
    const auto len = static_cast<uint16_t>(n);
    const auto nlen = static_cast<uint16_t>(~len);
    out += {static_cast<char>(len & 0xFF), static_cast<char>(len >> 8),
            static_cast<char>(nlen & 0xFF), static_cast<char>(nlen >> 8)};
    out.append(reinterpret_cast<const char*>(bytes.data() + at), n);
    at += n;
  } while (at < bytes.size());
  putBigEndian(out, adler32(bytes));
  return out;
}

// A chunk: its length, type, data and the CRC of type and data.
void putChunk(std::string& out, const char* type, const std::string& data) {
  putBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.append(type, 4);
  out += data;
  putBigEndian(out, crc32(out.data() + start, data.size() + 4));
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
  std::string header;
  putBigEndian(header, static_cast<uint32_t>(width));
  putBigEndian(header, static_cast<uint32_t>(height));
  // 8 bits a channel; colour type 6 (RGBA) or 2 (RGB); deflate, adaptive filters, no interlace.
  header += {8, static_cast<char>(channels == 4 ? 6 : 2), 0, 0, 0};
  out.append("\x89PNG\r\n\x1a\n", 8);
  putChunk(out, "IHDR", header);
  putChunk(out, "IDAT", storedZlib(rows));
  putChunk(out, "IEND", "");
  return true;
}

}  // namespace vane::platform
