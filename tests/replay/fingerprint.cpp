// SPDX-License-Identifier: GPL-3.0-or-later
// Digests of the sprite files and the glyph table, and their comparison with the recorded ones.
#include "fingerprint.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "gfx/frames.h"
#include "host/text.h"

namespace vane::testing {
namespace {

constexpr const char* kFingerprintFile = VANE_GOLDEN_DIR "/fingerprint";

// 64-bit FNV-1a, fed byte by byte.
struct Digest {
  uint64_t h = 0xcbf29ce484222325ull;
  void add(uint8_t byte) {
    h ^= byte;
    h *= 0x100000001b3ull;
  }
  // Four bytes, little-endian: every number in the table fits in 32 bits.
  void add(int64_t number) {
    for (int i = 0; i < 4; ++i) add(static_cast<uint8_t>(number >> (8 * i)));
  }
  std::string hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
  }
};

std::string fileDigest(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "missing";
  Digest d;
  for (auto it = std::istreambuf_iterator<char>(in); it != std::istreambuf_iterator<char>(); ++it) {
    d.add(static_cast<uint8_t>(*it));
  }
  return d.hex();
}

// Everything in the table the text is drawn from.
std::string glyphTableDigest() {
  const host::GlyphTable& table = host::kGlyphTable;
  Digest d;
  d.add(int64_t{table.ascent});
  d.add(int64_t{table.lineHeight});
  for (const host::Glyph& g : table.glyphs) {
    for (const int64_t field : {int64_t{g.left}, int64_t{g.top}, int64_t{g.width},
                                int64_t{g.height}, int64_t{g.advance}, int64_t{g.offset}}) {
      d.add(field);
    }
  }
  for (const uint8_t c : table.coverage) d.add(c);
  for (const host::KerningPair& k : table.kerning) {
    d.add(k.first);
    d.add(k.second);
    d.add(int64_t{k.x});
  }
  return d.hex();
}

std::map<std::string, std::string> entries(const std::string& fingerprint) {
  std::map<std::string, std::string> out;
  std::istringstream in(fingerprint);
  for (std::string name, digest; in >> name >> digest;) out[name] = digest;
  return out;
}

}  // namespace

std::string currentFingerprint() {
  std::string out;
  for (const frames::SheetInfo& sheet : frames::kSheets) {
    const std::string name = sheet.fileName;
    out += name + " " + fileDigest(std::string(VANE_DATA_DIR) + "/" + name) + "\n";
  }
  // The sound banks, which the mix hash follows.
  for (const char* name : {"1.snd", "music.snd"}) {
    out += std::string(name) + " " + fileDigest(std::string(VANE_DATA_DIR) + "/" + name) + "\n";
  }
  out += "glyphs " + glyphTableDigest() + "\n";
  return out;
}

std::string recordedFingerprint() {
  std::ifstream in(kFingerprintFile, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void recordFingerprint(const std::string& fingerprint) {
  std::ofstream(kFingerprintFile, std::ios::binary) << fingerprint;
}

std::string pictureSourcesDiffer() {
  const auto recorded = entries(recordedFingerprint());
  if (recorded.empty()) return "no recorded fingerprint in " + std::string(kFingerprintFile);
  std::string reason;
  for (const auto& [name, digest] : entries(currentFingerprint())) {
    const auto it = recorded.find(name);
    const std::string was = it == recorded.end() ? "nothing" : it->second;
    if (was == digest) continue;
    reason += (reason.empty() ? "" : ", ") + name + " is " + digest + " (recorded " + was + ")";
  }
  if (reason.empty()) return {};
  return "the pictures are drawn from other files than the recording: " + reason;
}

}  // namespace vane::testing
