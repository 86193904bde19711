// SPDX-License-Identifier: GPL-3.0-or-later
// WAV files of single clips and the 18-byte wave format, as vane-snd writes and reads them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/mix/sound_format.h"

namespace vane::tools {

constexpr size_t kWaveFormatBytes = 18;

// The wave format as stored in a sound bank and the index: 18 bytes, little-endian.
std::vector<uint8_t> waveFormatBytes(const platform::WaveFormat& format);
platform::WaveFormat waveFormatFromBytes(std::span<const uint8_t, kWaveFormatBytes> bytes);

// A RIFF WAVE file with the clip's first 16 format bytes as its fmt chunk.
std::vector<uint8_t> wavBytes(const platform::WaveFormat& format, const uint8_t* data,
                              uint32_t length);
// The body of the first chunk with the four-letter `id` ("fmt ", "data"), looking no further
// than the first chunk that runs past the end; nothing when there is none. Throws
// std::runtime_error naming `name` when the file is not a WAV file.
std::optional<std::span<const uint8_t>> wavChunk(std::span<const uint8_t> wav, const char* id,
                                                 const std::string& name);
// The bytes of the first complete data chunk; throws std::runtime_error naming `name` when the
// file is not a WAV file or holds no complete data chunk.
std::vector<uint8_t> wavData(std::span<const uint8_t> wav, const std::string& name);

}  // namespace vane::tools
