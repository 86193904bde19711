// SPDX-License-Identifier: GPL-3.0-or-later
// Writing sprite files and sound banks.
#include "tools/common/formats.h"

#include <iterator>
#include <stdexcept>
#include <string>

#include "files/data_file.h"
#include "files/file_writer.h"

namespace vane::tools {

namespace {

void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

void encodeLine(const Picture& p, int row, std::vector<uint16_t>& words) {
  const size_t base = static_cast<size_t>(row) * static_cast<size_t>(p.width);
  int col = 0;
  while (col < p.width) {
    const bool opaque = p.opaque[base + static_cast<size_t>(col)] != 0;
    int end = col;
    while (end < p.width && (p.opaque[base + static_cast<size_t>(end)] != 0) == opaque) ++end;
    const auto n = static_cast<uint16_t>(end - col);
    words.push_back(opaque ? 1 : 0);
    words.push_back(n);
    if (opaque) {
      for (int c = col; c < end; ++c) words.push_back(p.pixels[base + static_cast<size_t>(c)]);
    }
    col = end;
  }
}

}  // namespace

SpriteFrame encodeFrame(const Picture& picture) {
  if (picture.width < 0 || picture.height < 0 || picture.width > 0xFFFF ||
      picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height ||
      picture.opaque.size() != picture.pixels.size()) {
    throw std::invalid_argument("picture size does not match its pixels");
  }
  SpriteFrame f;
  f.width = static_cast<int16_t>(picture.width);
  f.height = static_cast<int16_t>(picture.height);
  f.hotX = static_cast<int16_t>(picture.hotX);
  f.hotY = static_cast<int16_t>(picture.hotY);
  std::copy(std::begin(picture.reserved), std::end(picture.reserved), std::begin(f.reserved));
  for (int row = 0; row < picture.height; ++row) encodeLine(picture, row, f.data);
  f.dataSize = static_cast<uint32_t>(f.data.size() * 2);
  return f;
}

Picture decodeFrame(const SpriteFrame& frame) {
  Picture p;
  p.width = frame.width;
  p.height = frame.height;
  p.hotX = frame.hotX;
  p.hotY = frame.hotY;
  std::copy(std::begin(frame.reserved), std::end(frame.reserved), std::begin(p.reserved));
  const size_t count = static_cast<size_t>(std::max(0, p.width)) * std::max(0, p.height);
  if (count > kMaxPicturePixels) {
    throw std::runtime_error("frame of " + std::to_string(p.width) + "x" +
                             std::to_string(p.height) + " pixels is larger than the limit of " +
                             std::to_string(kMaxPicturePixels));
  }
  p.pixels.assign(count, 0);
  p.opaque.assign(count, 0);
  size_t w = 0;
  auto word = [&]() -> uint16_t {
    if (w >= frame.data.size()) throw std::runtime_error("run-length data ends early");
    return frame.data[w++];
  };
  for (int row = 0; row < p.height; ++row) {
    int col = 0;
    while (col < p.width) {
      const uint16_t t = word();
      const int n = word();
      if (col + n > p.width) throw std::runtime_error("segment runs past the line");
      for (int k = 0; k < n; ++k) {
        const size_t at = static_cast<size_t>(row) * p.width + static_cast<size_t>(col + k);
        if (t != 0) {
          p.pixels[at] = word();
          p.opaque[at] = 1;
        }
      }
      col += n;
    }
  }
  return p;
}

std::vector<uint8_t> spriteFileBytes(const std::vector<SpriteFrame>& frames) {
  if (frames.size() > 255) throw std::invalid_argument("a sprite file holds at most 255 frames");
  std::vector<uint8_t> out{'S', '1', '6', 0, static_cast<uint8_t>(frames.size())};
  for (const SpriteFrame& f : frames) {
    put16(out, static_cast<uint16_t>(f.width));
    put16(out, static_cast<uint16_t>(f.height));
    put16(out, static_cast<uint16_t>(f.hotX));
    put16(out, static_cast<uint16_t>(f.hotY));
    put32(out, f.dataSize);
    out.insert(out.end(), std::begin(f.reserved), std::end(f.reserved));
    for (size_t i = 0; i < f.dataSize / 2 && i < f.data.size(); ++i) put16(out, f.data[i]);
    // An odd last byte is kept in the low half of the word after the whole ones.
    if (f.dataSize % 2 != 0) {
      const size_t last = f.dataSize / 2;
      out.push_back(last < f.data.size() ? static_cast<uint8_t>(f.data[last] & 0xFF) : 0);
    }
  }
  return out;
}

std::vector<uint8_t> soundBankBytes(const std::vector<Clip>& clips) {
  if (clips.size() > 255) throw std::invalid_argument("a sound bank holds at most 255 clips");
  std::vector<uint8_t> out{'S', 'N', 'D', 0, static_cast<uint8_t>(clips.size())};
  for (const Clip& c : clips) {
    put16(out, c.format.formatTag);
    put16(out, c.format.channels);
    put32(out, c.format.samplesPerSec);
    put32(out, c.format.avgBytesPerSec);
    put16(out, c.format.blockAlign);
    put16(out, c.format.bitsPerSample);
    put16(out, c.format.extraSize);
    put32(out, static_cast<uint32_t>(c.data.size()));
    out.insert(out.end(), c.data.begin(), c.data.end());
  }
  return out;
}

platform::WaveFormat pcm16Format(uint32_t rate, uint16_t channels) {
  platform::WaveFormat f;
  f.formatTag = 1;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.blockAlign = static_cast<uint16_t>(channels * 2);
  f.avgBytesPerSec = rate * f.blockAlign;
  f.bitsPerSample = 16;
  f.extraSize = 0;
  return f;
}

std::vector<uint8_t> readFile(const std::string& path, size_t maxBytes) {
  std::vector<uint8_t> bytes;
  const files::DataFileRead read = files::readDataFile(path.c_str(), maxBytes, bytes);
  if (read.failure != files::ReadFailure::None) {
    throw std::runtime_error(files::refusalText(path.c_str(), read));
  }
  return bytes;
}

std::string writeFile(const std::string& path, std::string_view bytes) {
  std::string error;
  files::writeWholeFile(path, bytes, error);
  return error;
}

}  // namespace vane::tools
