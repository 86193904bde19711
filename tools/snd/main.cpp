// SPDX-License-Identifier: GPL-3.0-or-later
// vane-snd: unpacks a sound bank into WAV files and an index, and packs them back.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "files/last_resort.h"
#include "platform/mix/sound_format.h"
#include "shell/option_table.h"
#include "tools/common/formats.h"
#include "tools/snd/wav.h"

namespace {

constexpr const char* kIndexName = "index.txt";
constexpr size_t kHeaderBytes = 4;

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
  while (out.size() < n && line >> word) {
    if (word.size() > 2 || word.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
      throw std::runtime_error("index: " + what + ": '" + word + "' is not a hex byte");
    out.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
  }
  if (out.size() != n)
    throw std::runtime_error("index: " + what + " needs " + std::to_string(n) + " bytes");
  return out;
}

std::string clipName(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "clip-%02d.wav", n);
  return name;
}

void writeOrThrow(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  const std::string error = vane::tools::writeFile(path.string(), bytes);
  if (!error.empty()) throw std::runtime_error(error);
}

// A bank the game would load with a clip it cannot play is not built.
void refuseWhatTheGameRefuses(const std::string& name, const vane::tools::Clip& clip) {
  const std::string why = vane::platform::clipRefusal(
      clip.format, static_cast<uint32_t>(std::min<size_t>(clip.data.size(), UINT32_MAX)));
  if (!why.empty()) throw std::runtime_error(name + ": the game cannot play " + why);
}

int unpack(const std::string& file, const std::filesystem::path& dir) {
  const std::vector<uint8_t> bank = vane::tools::readFile(file);
  if (bank.size() < kHeaderBytes + 1)
    throw std::runtime_error(file + " is shorter than a bank header");
  vane::SoundBank clips;
  vane::loadSoundBankFromBytes(clips, bank);
  std::filesystem::create_directories(dir);
  std::string index = "header " + hexBytes(bank.data(), kHeaderBytes) + "\n";
  const int count = vane::clipCount(clips);
  for (int n = 1; n <= count; ++n) {
    const vane::SoundClip* clip = vane::clipAt(clips, n);
    const std::string name = clipName(n);
    writeOrThrow(dir / name, vane::tools::wavBytes(clip->format, clip->data, clip->length));
    const std::vector<uint8_t> fmt = vane::tools::waveFormatBytes(clip->format);
    index += name + " " + hexBytes(fmt.data(), fmt.size()) + "\n";
  }
  writeOrThrow(dir / kIndexName, std::vector<uint8_t>(index.begin(), index.end()));
  if (count != bank[kHeaderBytes]) {
    std::fprintf(stderr, "vane-snd: %s announces %d clips but holds %d\n", file.c_str(),
                 bank[kHeaderBytes], count);
  }
  return 0;
}

int pack(const std::filesystem::path& dir, const std::string& file) {
  const std::vector<uint8_t> indexBytes = vane::tools::readFile((dir / kIndexName).string());
  std::istringstream index(std::string(indexBytes.begin(), indexBytes.end()));
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
    const std::vector<uint8_t> format = readHex(line, vane::tools::kWaveFormatBytes, first);
    clip.format = vane::tools::waveFormatFromBytes(
        std::span<const uint8_t, vane::tools::kWaveFormatBytes>(format.data(), format.size()));
    clip.data = vane::tools::wavData(vane::tools::readFile((dir / first).string()), first);
    refuseWhatTheGameRefuses(first, clip);
    clips.push_back(std::move(clip));
  }
  if (header.empty()) throw std::runtime_error("index: no header line");
  std::vector<uint8_t> bank = vane::tools::soundBankBytes(clips);
  if (bank.size() > vane::kMaxSoundBankBytes) {
    throw std::runtime_error(file + ": larger than the limit of " +
                             std::to_string(vane::kMaxSoundBankBytes) + " bytes the game loads");
  }
  std::copy(header.begin(), header.end(), bank.begin());
  writeOrThrow(file, bank);
  return 0;
}

constexpr const char* kUsage =
    "usage: vane-snd unpack FILE DIR   a bank to DIR/clip-01.wav... and DIR/index.txt\n"
    "       vane-snd pack DIR FILE     DIR/index.txt and its WAV files back to a bank\n"
    "The index keeps the bank's first four bytes and each clip's 18-byte wave format;\n"
    "packing takes the formats from it and the sound data from the WAV files.\n";

constexpr std::array<vane::OptionSpec, 1> kOptions{{{0, "help", "", "show this text and leave"}}};

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

int runTool(int argc, char** argv) {
  const vane::ParsedArguments parsed =
      vane::parseArguments(kOptions, vane::programArguments(argc, argv));
  if (const auto status = vane::helpOrFault("vane-snd", kUsage, kOptions, parsed)) return *status;
  const std::vector<std::string>& words = parsed.operands;
  if (words.size() != 3) return usage();
  try {
    if (words[0] == "unpack") return unpack(words[1], words[2]);
    if (words[0] == "pack") return pack(words[1], words[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vane-snd: %s\n", vane::files::failureText(e).c_str());
    return 1;
  }
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  return vane::files::runMain("vane-snd", 1, [&] { return runTool(argc, argv); });
}
