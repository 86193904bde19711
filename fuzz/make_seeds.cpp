// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fuzz targets' seed inputs, small pieces of the files the forge made: a few frames of
// each sprite file, short clips of each bank, their WAV, PNG and index forms, and key scripts.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "gfx/sprite.h"
#include "host/host.h"
#include "platform/headless/headless.h"
#include "tools/common/formats.h"
#include "tools/snd/wav.h"
#include "tools/spr/spr_files.h"
#include "tools/spr/spr_png.h"

namespace {

namespace fs = std::filesystem;
using vane::tools::readFile;
using vane::tools::writeFile;

constexpr size_t kFramesPerSeed = 3;
constexpr size_t kClipSeedBytes = 2048;

void put(const fs::path& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  fs::create_directories(dir);
  if (const std::string error = writeFile((dir / name).string(), bytes); !error.empty()) {
    std::fprintf(stderr, "make_seeds: %s\n", error.c_str());
  }
}

// The drawing target's layout: frame header, position, level, layout flag, then the words.
std::vector<uint8_t> drawSeed(const vane::SpriteFrame& f) {
  std::vector<uint8_t> out;
  for (const int v : {int{f.width}, int{f.height}, int{f.hotX}, int{f.hotY}, 320, 240, 16, 1}) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  }
  for (const uint16_t w : f.data) out.insert(out.end(), {uint8_t(w), uint8_t(w >> 8)});
  return out;
}

void spriteSeeds(const fs::path& file, const fs::path& out) {
  std::vector<vane::SpriteFrame> frames;
  if (vane::decodeSpriteFile(readFile(file.string()), frames) != vane::SpriteFileCheck::Good)
    return;
  frames.resize(std::min(frames.size(), kFramesPerSeed));
  const std::string stem = file.stem().string();
  const std::vector<uint8_t> small = vane::tools::spriteFileBytes(frames);
  put(out / "fuzz_sprite_file", stem + ".spr", small);
  for (size_t i = 0; i < frames.size(); ++i) {
    put(out / "fuzz_sprite_draw", stem + "-" + std::to_string(i) + ".bin", drawSeed(frames[i]));
  }
  const fs::path unpacked = out / "unpacked" / stem;
  if (!vane::tools::unpackSpriteFile((out / "fuzz_sprite_file" / (stem + ".spr")).string(),
                                     unpacked.string())
           .empty()) {
    return;
  }
  fs::create_directories(out / "fuzz_spr_index");
  fs::copy_file(unpacked / "index.txt", out / "fuzz_spr_index" / (stem + ".txt"),
                fs::copy_options::overwrite_existing);
  for (const auto& entry : fs::directory_iterator(unpacked)) {
    if (entry.path().extension() == ".png") {
      fs::create_directories(out / "fuzz_png");
      fs::copy_file(entry.path(),
                    out / "fuzz_png" / (stem + "-" + entry.path().filename().string()),
                    fs::copy_options::overwrite_existing);
    }
  }
}

void bankSeeds(const fs::path& file, const fs::path& out) {
  vane::SoundBank bank;
  vane::loadSoundBankFromBytes(bank, readFile(file.string()));
  std::vector<vane::tools::Clip> clips;
  for (int n = 1; const vane::SoundClip* clip = vane::clipAt(bank, n); ++n) {
    if (clips.size() == 2) break;
    const uint32_t length = std::min<uint32_t>(clip->length, kClipSeedBytes);
    clips.push_back({clip->format, std::vector<uint8_t>(clip->data, clip->data + length)});
    put(out / "fuzz_wav", file.stem().string() + "-" + std::to_string(n) + ".wav",
        vane::tools::wavBytes(clip->format, clip->data, length));
  }
  put(out / "fuzz_sound_bank", file.filename().string(), vane::tools::soundBankBytes(clips));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: make_seeds DATA_DIR KEYS_DIR OUT_DIR\n", stderr);
    return 2;
  }
  vane::platform::HeadlessBackend backend;
  vane::platform::setBackend(&backend);
  const fs::path data = argv[1];
  const fs::path out = argv[3];
  for (const auto& entry : fs::directory_iterator(data)) {
    if (entry.path().extension() == ".spr") spriteSeeds(entry.path(), out);
    if (entry.path().extension() == ".snd") bankSeeds(entry.path(), out);
  }
  fs::create_directories(out / "fuzz_key_script");
  for (const auto& entry : fs::directory_iterator(argv[2])) {
    if (entry.path().extension() == ".keys") {
      fs::copy_file(entry.path(), out / "fuzz_key_script" / entry.path().filename(),
                    fs::copy_options::overwrite_existing);
    }
  }
  fs::remove_all(out / "unpacked");
  return 0;
}
