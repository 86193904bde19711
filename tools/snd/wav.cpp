// SPDX-License-Identifier: GPL-3.0-or-later
// WAV files of single clips and the 18-byte wave format, as vane-snd writes and reads them.
#include "tools/snd/wav.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace vane::tools {

using platform::WaveFormat;

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

uint32_t get32(std::span<const uint8_t> in, size_t at) {
  return static_cast<uint32_t>(in[at]) | static_cast<uint32_t>(in[at + 1]) << 8 |
         static_cast<uint32_t>(in[at + 2]) << 16 | static_cast<uint32_t>(in[at + 3]) << 24;
}

}  // namespace

std::vector<uint8_t> waveFormatBytes(const WaveFormat& f) {
  std::vector<uint8_t> out;
  put16(out, f.formatTag);
  put16(out, f.channels);
  put32(out, f.samplesPerSec);
  put32(out, f.avgBytesPerSec);
  put16(out, f.blockAlign);
  put16(out, f.bitsPerSample);
  put16(out, f.extraSize);
  return out;
}

WaveFormat waveFormatFromBytes(std::span<const uint8_t, 18> b) {
  WaveFormat f;
  f.formatTag = static_cast<uint16_t>(b[0] | b[1] << 8);
  f.channels = static_cast<uint16_t>(b[2] | b[3] << 8);
  f.samplesPerSec = get32(b, 4);
  f.avgBytesPerSec = get32(b, 8);
  f.blockAlign = static_cast<uint16_t>(b[12] | b[13] << 8);
  f.bitsPerSample = static_cast<uint16_t>(b[14] | b[15] << 8);
  f.extraSize = static_cast<uint16_t>(b[16] | b[17] << 8);
  return f;
}

// A RIFF WAVE file with the clip's first 16 format bytes as its fmt chunk.
std::vector<uint8_t> wavBytes(const WaveFormat& format, const uint8_t* data, uint32_t length) {
  constexpr size_t kWavHeaderBytes = 44;
  const std::vector<uint8_t> fmt = waveFormatBytes(format);
  const uint32_t pad = length & 1;
  std::vector<uint8_t> out(kWavHeaderBytes + length + pad, 0);
  auto place = [&out](size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  std::memcpy(&out[0], "RIFF", 4);
  place(4, static_cast<uint32_t>(out.size() - 8));
  std::memcpy(&out[8], "WAVEfmt ", 8);
  place(16, 16);
  std::copy(fmt.begin(), fmt.begin() + 16, out.begin() + 20);
  std::memcpy(&out[36], "data", 4);
  place(40, length);
  if (length > 0) std::memcpy(&out[kWavHeaderBytes], data, length);
  return out;
}

std::optional<std::span<const uint8_t>> wavChunk(std::span<const uint8_t> wav, const char* id,
                                                 const std::string& name) {
  if (wav.size() < 12 || std::memcmp(wav.data(), "RIFF", 4) != 0 ||
      std::memcmp(wav.data() + 8, "WAVE", 4) != 0) {
    throw std::runtime_error(name + " is not a WAV file");
  }
  // The cursor never passes the end: a last chunk may lack its pad byte.
  size_t at = 12;
  while (wav.size() - at >= 8) {
    const uint32_t size = get32(wav, at + 4);
    if (size > wav.size() - at - 8) break;
    if (std::memcmp(wav.data() + at, id, 4) == 0) return wav.subspan(at + 8, size);
    at = std::min(wav.size(), at + 8 + size + (size & 1));
  }
  return std::nullopt;
}

std::vector<uint8_t> wavData(std::span<const uint8_t> wav, const std::string& name) {
  const auto data = wavChunk(wav, "data", name);
  if (!data) throw std::runtime_error(name + " has no complete data chunk");
  return std::vector<uint8_t>(data->begin(), data->end());
}

}  // namespace vane::tools
