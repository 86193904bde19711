// SPDX-License-Identifier: GPL-3.0-or-later
// Writing sprite files and sound banks: run-length encoding of pictures and the file layouts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/sprite.h"
#include "platform/platform.h"

namespace vane::tools {

// A picture before encoding: 5-5-5 pixels and an opacity flag per pixel, row by row.
struct Picture {
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  std::vector<uint16_t> pixels;  // 5-5-5, width * height
  std::vector<uint8_t> opaque;   // 1 where the pixel is drawn, width * height
  uint8_t reserved[8] = {};
};

// Cuts a picture into run-length lines: skip (0, n) and copy (1, n, n words) segments.
SpriteFrame encodeFrame(const Picture& picture);
// Expands a frame back into a picture (pixels as stored, 5-5-5 when loaded with use565 0);
// throws std::runtime_error for a frame larger than kMaxPicturePixels.
Picture decodeFrame(const SpriteFrame& frame);
// The bytes of a sprite file holding these frames (at most 255).
std::vector<uint8_t> spriteFileBytes(const std::vector<SpriteFrame>& frames);

struct Clip {
  platform::WaveFormat format;
  std::vector<uint8_t> data;
};
// The bytes of a sound bank holding these clips (at most 255).
std::vector<uint8_t> soundBankBytes(const std::vector<Clip>& clips);
// 16-bit PCM wave format for the given rate and channel count.
platform::WaveFormat pcm16Format(uint32_t rate, uint16_t channels);

// The largest file the tools read, and the largest picture (in pixels) they expand a frame to.
constexpr size_t kMaxInputBytes = size_t{64} << 20;
constexpr size_t kMaxPicturePixels = size_t{4096} * 4096;

// The whole file; throws std::runtime_error naming the file and the reason when it cannot be
// opened, is not a regular file, is larger than `maxBytes` or cannot be read.
std::vector<uint8_t> readFile(const std::string& path, size_t maxBytes = kMaxInputBytes);
// Writes the whole file through the programs' one file writer (files/file_writer.h): on
// failure the file stays as it was, and the line to show ("<file>: <reason>") is returned.
std::string writeFile(const std::string& path, std::string_view bytes);
inline std::string writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  return writeFile(path,
                   std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace vane::tools
