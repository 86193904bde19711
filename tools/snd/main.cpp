// SPDX-License-Identifier: GPL-3.0-or-later
// vane-snd: unpacks a sound bank into WAV files and an index, and packs them back.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "tools/common/formats.h"

namespace {

using vane::platform::WaveFormat;

constexpr const char* kIndexName = "index.txt";
constexpr size_t kHeaderBytes = 4;
constexpr size_t kFormatBytes = 18;

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

uint32_t get32(const std::vector<uint8_t>& in, size_t at) {
  return static_cast<uint32_t>(in[at]) | static_cast<uint32_t>(in[at + 1]) << 8 |
         static_cast<uint32_t>(in[at + 2]) << 16 | static_cast<uint32_t>(in[at + 3]) << 24;
}

std::vector<uint8_t> formatBytes(const WaveFormat& f) {
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

WaveFormat formatFromBytes(const std::vector<uint8_t>& b) {
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
  const std::vector<uint8_t> fmt = formatBytes(format);
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

std::vector<uint8_t> wavData(const std::vector<uint8_t>& wav, const std::string& name) {
  if (wav.size() < 12 || std::memcmp(wav.data(), "RIFF", 4) != 0 ||
      std::memcmp(wav.data() + 8, "WAVE", 4) != 0) {
    throw std::runtime_error(name + " is not a WAV file");
  }
  // The cursor never passes the end: a last chunk may lack its pad byte.
  size_t at = 12;
  while (wav.size() - at >= 8) {
    const uint32_t size = get32(wav, at + 4);
    if (size > wav.size() - at - 8) break;
    if (std::memcmp(wav.data() + at, "data", 4) == 0) {
      return std::vector<uint8_t>(wav.begin() + static_cast<long>(at + 8),
                                  wav.begin() + static_cast<long>(at + 8 + size));
    }
    at = std::min(wav.size(), at + 8 + size + (size & 1));
  }
  throw std::runtime_error(name + " has no complete data chunk");
}

std::string hexBytes(const uint8_t* bytes, size_t n) {
  std::string out;
  char two[4];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(two, sizeof two, i == 0 ? "%02x" : " %02x", bytes[i]);
    out += two;
  }
  return out;
}

std::vector<uint8_t> readHex(std::istringstream& line, size_t n, const std::string& what) {
  std::vector<uint8_t> out;
  std::string word;
  while (out.size() < n && line >> word)
    out.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
  if (out.size() != n)
    throw std::runtime_error("index: " + what + " needs " + std::to_string(n) + " bytes");
  return out;
}

std::string clipName(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "clip-%02d.wav", n);
  return name;
}

int unpack(const std::string& file, const std::filesystem::path& dir) {
  const std::vector<uint8_t> bank = vane::tools::readFile(file);
  if (bank.size() < kHeaderBytes + 1)
    throw std::runtime_error(file + " is shorter than a bank header");
  vane::SoundBank clips;
  vane::loadSoundBankFromBytes(clips, bank);
  std::filesystem::create_directories(dir);
  std::ofstream index(dir / kIndexName);
  index << "header " << hexBytes(bank.data(), kHeaderBytes) << "\n";
  const int count = vane::clipCount(clips);
  for (int n = 1; n <= count; ++n) {
    const vane::SoundClip* clip = vane::clipAt(clips, n);
    const std::string name = clipName(n);
    if (!vane::tools::writeFile(dir / name, wavBytes(clip->format, clip->data, clip->length))) {
      throw std::runtime_error("cannot write " + (dir / name).string());
    }
    const std::vector<uint8_t> fmt = formatBytes(clip->format);
    index << name << " " << hexBytes(fmt.data(), fmt.size()) << "\n";
  }
  if (!index) throw std::runtime_error("cannot write " + (dir / kIndexName).string());
  if (count != bank[kHeaderBytes]) {
    std::fprintf(stderr, "vane-snd: %s announces %d clips but holds %d\n", file.c_str(),
                 bank[kHeaderBytes], count);
  }
  return 0;
}

int pack(const std::filesystem::path& dir, const std::string& file) {
  std::ifstream index(dir / kIndexName);
  if (!index) throw std::runtime_error("cannot read " + (dir / kIndexName).string());
  std::vector<uint8_t> header;
  std::vector<vane::tools::Clip> clips;
  std::string text;
  while (std::getline(index, text)) {
    std::istringstream line(text);
    std::string first;
    if (!(line >> first)) continue;
    if (first == "header") {
      header = readHex(line, kHeaderBytes, "header");
      continue;
    }
    vane::tools::Clip clip;
    clip.format = formatFromBytes(readHex(line, kFormatBytes, first));
    clip.data = wavData(vane::tools::readFile((dir / first).string()), first);
    clips.push_back(std::move(clip));
  }
  if (header.empty()) throw std::runtime_error("index: no header line");
  std::vector<uint8_t> bank = vane::tools::soundBankBytes(clips);
  std::copy(header.begin(), header.end(), bank.begin());
  if (!vane::tools::writeFile(file, bank)) throw std::runtime_error("cannot write " + file);
  return 0;
}

int usage() {
  std::fputs(
      "usage: vane-snd unpack FILE DIR   a bank to DIR/clip-01.wav... and DIR/index.txt\n"
      "       vane-snd pack DIR FILE     DIR/index.txt and its WAV files back to a bank\n"
      "The index keeps the bank's first four bytes and each clip's 18-byte wave format;\n"
      "packing takes the formats from it and the sound data from the WAV files.\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return usage();
  const std::string command = argv[1];
  try {
    if (command == "unpack") return unpack(argv[2], argv[3]);
    if (command == "pack") return pack(argv[2], argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vane-snd: %s\n", e.what());
    return 1;
  }
  return usage();
}
