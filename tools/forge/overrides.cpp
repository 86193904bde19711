// SPDX-License-Identifier: GPL-3.0-or-later
// Reading hand-drawn PNG frames and recorded WAV clips, checked and converted for the game files.
#include "overrides.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <span>

#include "tools/snd/wav.h"
#include "tools/spr/spr_files.h"
#include "tools/spr/spr_png.h"

namespace vane::forge {

namespace {

std::string sizeText(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// One of the 32 levels of a 5-bit channel, written either way paint programs and our own tools
// widen it to 8 bits: its top bits repeated into the low bits, or scaled by 255/31 and rounded.
bool isFiveBitLevel(int v) {
  const int level = tools::reduce8(v);
  return v == tools::expand5(level) || v == (level * 255 * 2 + 31) / 62;
}

// Why an opaque pixel of a hand-drawn frame cannot be taken; empty when it can.
std::string notFiveFiveFive(const uint8_t* px) {
  if (isFiveBitLevel(px[0]) && isFiveBitLevel(px[1]) && isFiveBitLevel(px[2])) return {};
  char hex[8];
  std::snprintf(hex, sizeof hex, "#%02x%02x%02x", px[0], px[1], px[2]);
  return std::string("is ") + hex +
         ", not a 5-5-5 colour (each channel one of 32 levels, e.g. ImageMagick's -posterize 32)";
}

uint32_t readLe(std::span<const uint8_t> bytes, size_t at, int size) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | bytes[at + static_cast<size_t>(i)];
  return v;
}

struct Wav {
  platform::WaveFormat format;
  std::span<const uint8_t> data;
};

// The format and the samples of a RIFF WAVE file, checked to be a kind the banks can take.
Wav parseWav(const std::string& path, const std::vector<uint8_t>& bytes) {
  auto fail = [&](const std::string& why) { return OverrideError(path + ": " + why); };
  const auto fmt = tools::wavChunk(bytes, "fmt ", path);
  const auto data = tools::wavChunk(bytes, "data", path);
  if (!fmt || fmt->size() < 16 || !data) throw fail("no format or no data chunk");
  Wav wav;
  wav.format.formatTag = static_cast<uint16_t>(readLe(*fmt, 0, 2));
  wav.format.channels = static_cast<uint16_t>(readLe(*fmt, 2, 2));
  wav.format.samplesPerSec = readLe(*fmt, 4, 4);
  wav.format.blockAlign = static_cast<uint16_t>(readLe(*fmt, 12, 2));
  wav.format.bitsPerSample = static_cast<uint16_t>(readLe(*fmt, 14, 2));
  wav.data = *data;
  const platform::WaveFormat& f = wav.format;
  if (f.formatTag != 1 || (f.bitsPerSample != 8 && f.bitsPerSample != 16) ||
      (f.channels != 1 && f.channels != 2) || f.samplesPerSec == 0 ||
      f.blockAlign != f.channels * f.bitsPerSample / 8) {
    throw fail("only PCM of 8 or 16 bits, mono or stereo, can be used");
  }
  return wav;
}

// The file's samples as mono values in -1..1, channels averaged.
std::vector<double> monoSamples(const Wav& wav) {
  const platform::WaveFormat& f = wav.format;
  const size_t frames = wav.data.size() / f.blockAlign;
  std::vector<double> out(frames, 0.0);
  for (size_t i = 0; i < frames; ++i) {
    double sum = 0;
    for (int c = 0; c < f.channels; ++c) {
      const size_t at = i * f.blockAlign + static_cast<size_t>(c) * (f.bitsPerSample / 8);
      sum += f.bitsPerSample == 8 ? (wav.data[at] - 128) / 128.0
                                  : static_cast<int16_t>(readLe(wav.data, at, 2)) / 32768.0;
    }
    out[i] = sum / f.channels;
  }
  return out;
}

// From one rate to another through libsamplerate's best band-limited filter, so that nothing
// above the new rate's Nyquist frequency folds back into the clip as an alias.
std::vector<double> resample(const std::vector<double>& in, uint32_t from, uint32_t to,
                             const std::string& path) {
  if (from == to || in.empty()) return in;
  const double ratio = static_cast<double>(to) / from;
  std::vector<float> input(in.begin(), in.end());
  std::vector<float> output(static_cast<size_t>(std::ceil(static_cast<double>(in.size()) * ratio)));
  SRC_DATA data{};
  data.data_in = input.data();
  data.data_out = output.data();
  data.input_frames = static_cast<long>(input.size());
  data.output_frames = static_cast<long>(output.size());
  data.end_of_input = 1;
  data.src_ratio = ratio;
  if (const int error = src_simple(&data, SRC_SINC_BEST_QUALITY, 1); error != 0) {
    throw OverrideError(path + ": cannot be resampled: " + src_strerror(error));
  }
  return {output.begin(), output.begin() + data.output_frames_gen};
}

bool exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

}  // namespace

SpriteFrame frameFromPng(const std::string& path, const frames::FrameInfo& entry) {
  tools::RgbaImage image;
  if (std::string error = tools::readPng(path, image); !error.empty()) throw OverrideError(error);
  if (image.width != entry.width || image.height != entry.height) {
    throw OverrideError(path + ": is " + sizeText(image.width, image.height) + " but frame " +
                        entry.name + " is " + sizeText(entry.width, entry.height));
  }
  tools::Picture picture = tools::pictureFromImage(image, path, notFiveFiveFive);
  picture.hotX = entry.hotX;
  picture.hotY = entry.hotY;
  return tools::encodeFrame(picture);
}

tools::Clip clipFromWav(const std::string& path, uint32_t rate, std::string& notes) {
  const std::vector<uint8_t> bytes = tools::readFile(path);
  const Wav wav = parseWav(path, bytes);
  std::vector<double> samples = monoSamples(wav);
  if (wav.format.channels == 2) notes += path + ": stereo mixed down to mono\n";
  if (wav.format.samplesPerSec != rate) {
    notes += path + ": resampled from " + std::to_string(wav.format.samplesPerSec) + " Hz to " +
             std::to_string(rate) + " Hz\n";
    samples = resample(samples, wav.format.samplesPerSec, rate, path);
  }
  tools::Clip clip{tools::pcm16Format(rate, 1), {}};
  clip.data.reserve(samples.size() * 2);
  for (double s : samples) {
    const auto v = static_cast<int16_t>(std::lround(std::clamp(s * 32768.0, -32768.0, 32767.0)));
    clip.data.push_back(static_cast<uint8_t>(v & 0xFF));
    clip.data.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  return clip;
}

void overrideFrames(const std::string& artDir, const frames::SheetInfo& sheet, ForgedSheet& forged,
                    std::vector<std::string>& used) {
  for (ForgedFrame& f : forged) {
    const frames::FrameInfo& entry = sheet.frames[static_cast<size_t>(f.number - 1)];
    const std::string file = std::string(sheet.stem) + "-" + entry.name + ".png";
    const std::string path = (std::filesystem::path(artDir) / file).string();
    if (!exists(path)) continue;
    f.frame = frameFromPng(path, entry);
    used.push_back(file);
  }
}

void overrideClips(const std::string& artDir, const char* prefix,
                   const std::vector<const char*>& names, uint32_t rate,
                   std::vector<tools::Clip>& clips, std::vector<std::string>& used,
                   std::string& notes) {
  for (size_t i = 0; i < names.size() && i < clips.size(); ++i) {
    const std::string file = std::string(prefix) + "-" + names[i] + ".wav";
    const std::string path = (std::filesystem::path(artDir) / file).string();
    if (!exists(path)) continue;
    clips[i] = clipFromWav(path, rate, notes);
    used.push_back(file);
  }
}

void rejectUnknownFiles(const std::string& artDir, const std::vector<std::string>& used) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(artDir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string ext = std::filesystem::path(name).extension().string();
    if ((ext == ".png" || ext == ".wav") &&
        std::find(used.begin(), used.end(), name) == used.end()) {
      throw OverrideError((std::filesystem::path(artDir) / name).string() +
                          ": no frame or clip has this name (see docs/art.md)");
    }
  }
}

}  // namespace vane::forge
