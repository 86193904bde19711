// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing 8-bit RGBA PNG pictures with zlib alone, where no libpng is built (Windows):
// every colour type and bit depth of a non-interlaced PNG is read.
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <stdexcept>

#include "platform/png/png_encode.h"
#include "tools/common/formats.h"
#include "tools/spr/spr_png.h"

namespace vane::tools {

namespace {

uint32_t bigEndian(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

struct Header {
  uint32_t width = 0;
  uint32_t height = 0;
  int depth = 0;
  int colour = 0;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  int interlace = 0;
  int samples() const { return colour == 2 ? 3 : colour == 4 ? 2 : colour == 6 ? 4 : 1; }
  size_t rowBytes() const { return (static_cast<size_t>(width) * samples() * depth + 7) / 8; }
  // The byte distance the filters look back: one whole pixel, at least one byte.
  size_t pixelBytes() const {
    return std::max<size_t>(1, static_cast<size_t>(samples()) * depth / 8);
  }
};

struct Chunks {
  Header header;
  std::vector<std::array<uint8_t, 4>> palette;  // RGBA
  std::vector<uint16_t> key;                    // the transparent grey or RGB of tRNS
  std::vector<uint8_t> packed;                  // the IDAT chunks joined
};

bool validHeader(const Header& h) {
  const bool depthFits =
      h.colour == 0
          ? (h.depth == 1 || h.depth == 2 || h.depth == 4 || h.depth == 8 || h.depth == 16)
      : h.colour == 3 ? (h.depth == 1 || h.depth == 2 || h.depth == 4 || h.depth == 8)
      : (h.colour == 2 || h.colour == 4 || h.colour == 6) ? (h.depth == 8 || h.depth == 16)
                                                          : false;
  return depthFits && h.width > 0 && h.height > 0;
}

// Splits the file into what decoding needs; the reason on failure.
std::string readChunks(std::span<const uint8_t> bytes, Chunks& chunks) {
  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (bytes.size() < 8 || !std::equal(kSignature, kSignature + 8, bytes.begin())) {
    return "not a PNG file";
  }
  bool headerSeen = false;
  for (size_t at = 8;;) {
    if (bytes.size() - at < 12) return "the file ends inside a chunk";
    const uint32_t length = bigEndian(&bytes[at]);
    if (length > bytes.size() - at - 12) return "the file ends inside a chunk";
    const uint8_t* type = &bytes[at + 4];
    const uint8_t* data = type + 4;
    if (crc32(0, type, length + 4) != bigEndian(data + length)) return "a chunk's CRC is wrong";
    const std::string name(reinterpret_cast<const char*>(type), 4);
    at += size_t{length} + 12;
    if (name == "IHDR" && length == 13) {
      Header& h = chunks.header;
      h = Header{bigEndian(data), bigEndian(data + 4), data[8], data[9], data[12]};
      if (!validHeader(h) || data[10] != 0 || data[11] != 0) return "an unknown kind of PNG";
      headerSeen = true;
    } else if (!headerSeen) {
      return "no IHDR chunk first";
    } else if (name == "PLTE" && length % 3 == 0 && length <= 768) {
      for (uint32_t i = 0; i < length; i += 3)
        chunks.palette.push_back({data[i], data[i + 1], data[i + 2], 255});
    } else if (name == "tRNS") {
      if (chunks.header.colour == 3) {
        for (uint32_t i = 0; i < length && i < chunks.palette.size(); ++i)
          chunks.palette[i][3] = data[i];
      } else {
        for (uint32_t i = 0; i + 1 < length; i += 2)
          chunks.key.push_back(static_cast<uint16_t>((data[i] << 8) | data[i + 1]));
      }
    } else if (name == "IDAT") {
      chunks.packed.insert(chunks.packed.end(), data, data + length);
    } else if (name == "IEND") {
      return headerSeen ? "" : "no IHDR chunk";
    } else if ((type[0] & 0x20) == 0 && name != "IHDR" && name != "PLTE") {
      return "an unknown critical chunk " + name;
    }
  }
}

// The filtered rows inflated: exactly (1 + rowBytes) * height bytes.
std::string inflateRows(const Chunks& chunks, std::vector<uint8_t>& rows) {
  const Header& h = chunks.header;
  rows.assign((h.rowBytes() + 1) * h.height, 0);
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return "cannot start inflating";
  z.next_in = const_cast<Bytef*>(chunks.packed.data());
  z.avail_in = static_cast<uInt>(chunks.packed.size());
  z.next_out = rows.data();
  z.avail_out = static_cast<uInt>(rows.size());
  const int result = inflate(&z, Z_FINISH);
  const bool whole = z.avail_out == 0 && (result == Z_STREAM_END || result == Z_BUF_ERROR);
  inflateEnd(&z);
  return whole ? "" : "the picture data is broken or short";
}

uint8_t paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes each row's filter in place; the rows then follow one another without filter bytes.
std::string unfilter(const Header& h, std::vector<uint8_t>& rows) {
  const size_t width = h.rowBytes();
  const size_t back = h.pixelBytes();
  std::vector<uint8_t> previous(width, 0);
  for (size_t y = 0; y < h.height; ++y) {
    const uint8_t filter = rows[y * (width + 1)];
    uint8_t* row = &rows[y * (width + 1) + 1];
    for (size_t x = 0; x < width; ++x) {
      const int left = x >= back ? row[x - back] : 0;
      const int up = previous[x];
      const int upLeft = x >= back ? previous[x - back] : 0;
      switch (filter) {
        case 0:
          break;
        case 1:
          row[x] = static_cast<uint8_t>(row[x] + left);
          break;
        case 2:
          row[x] = static_cast<uint8_t>(row[x] + up);
          break;
        case 3:
          row[x] = static_cast<uint8_t>(row[x] + (left + up) / 2);
          break;
        case 4:
          row[x] = static_cast<uint8_t>(row[x] + paeth(left, up, upLeft));
          break;
        default:
          return "a row has an unknown filter";
      }
    }
    std::copy(row, row + width, previous.begin());
    std::copy(row, row + width, rows.begin() + static_cast<std::ptrdiff_t>(y * width));
  }
  rows.resize(width * h.height);
  return {};
}

// Sample `i` of a row, at the file's depth.
uint16_t sample(const uint8_t* row, size_t i, int depth) {
  if (depth == 16) return static_cast<uint16_t>((row[i * 2] << 8) | row[i * 2 + 1]);
  if (depth == 8) return row[i];
  const size_t bit = i * static_cast<size_t>(depth);
  return static_cast<uint16_t>((row[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1));
}

// A sample brought to 8 bits: the top byte of 16, a low depth scaled up (grey only).
uint8_t eightBits(uint16_t v, int depth) {
  if (depth == 16) return static_cast<uint8_t>(v >> 8);
  return static_cast<uint8_t>(v * 255 / ((1 << depth) - 1));
}

std::string toRgba(const Chunks& chunks, const std::vector<uint8_t>& rows, RgbaImage& image) {
  const Header& h = chunks.header;
  const int n = h.samples();
  for (size_t y = 0; y < h.height; ++y) {
    const uint8_t* row = &rows[y * h.rowBytes()];
    for (size_t x = 0; x < h.width; ++x) {
      uint8_t* out = &image.rgba[(y * h.width + x) * 4];
      uint16_t s[4];
      for (int c = 0; c < n; ++c) s[c] = sample(row, x * static_cast<size_t>(n) + c, h.depth);
      if (h.colour == 3) {
        if (s[0] >= chunks.palette.size()) return "a pixel outside the palette";
        std::copy(chunks.palette[s[0]].begin(), chunks.palette[s[0]].end(), out);
        continue;
      }
      const bool grey = h.colour == 0 || h.colour == 4;
      for (int c = 0; c < 3; ++c) out[c] = eightBits(s[grey ? 0 : c], h.depth);
      if (h.colour == 4 || h.colour == 6) {
        out[3] = eightBits(s[n - 1], h.depth);
      } else {
        const bool keyed = grey ? chunks.key.size() >= 1 && chunks.key[0] == s[0]
                                : chunks.key.size() >= 3 && chunks.key[0] == s[0] &&
                                      chunks.key[1] == s[1] && chunks.key[2] == s[2];
        out[3] = keyed ? 0 : 255;
      }
    }
  }
  return {};
}

}  // namespace

std::string writePng(const std::string& path, const RgbaImage& image) {
  std::string bytes;
  if (!platform::encodePng(image.width, image.height, 4, image.rgba.data(), bytes)) {
    return path + ": cannot encode the picture";
  }
  return writeFile(path, bytes);
}

std::string readPng(std::span<const uint8_t> bytes, const std::string& name, RgbaImage& image) {
  Chunks chunks;
  if (std::string why = readChunks(bytes, chunks); !why.empty()) return name + ": " + why;
  const Header& h = chunks.header;
  if (static_cast<uint64_t>(h.width) * h.height > kMaxPicturePixels) {
    return name + ": a picture of " + std::to_string(h.width) + "x" + std::to_string(h.height) +
           " pixels is larger than the limit of " + std::to_string(kMaxPicturePixels);
  }
  if (h.interlace != 0) return name + ": interlaced PNG pictures are not read";
  if (h.colour == 3 && chunks.palette.empty()) return name + ": a palette picture without PLTE";
  std::vector<uint8_t> rows;
  std::string why = inflateRows(chunks, rows);
  if (why.empty()) why = unfilter(h, rows);
  image.width = static_cast<int>(h.width);
  image.height = static_cast<int>(h.height);
  image.rgba.assign(static_cast<size_t>(h.width) * h.height * 4, 0);
  if (why.empty()) why = toRgba(chunks, rows, image);
  return why.empty() ? why : name + ": " + why;
}

std::string readPng(const std::string& path, RgbaImage& image) {
  try {
    return readPng(readFile(path), path, image);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
}

}  // namespace vane::tools
