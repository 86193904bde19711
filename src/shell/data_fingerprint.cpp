// SPDX-License-Identifier: GPL-3.0-or-later
// Digests of the sprite files, the sound banks and the glyph table.
#include "shell/data_fingerprint.h"

#include <cstdint>
#include <fstream>
#include <iterator>

#include "gfx/frames.h"
#include "host/text.h"
#include "shell/frame_fields.h"

namespace vane {

namespace {

// 64-bit FNV-1a, fed byte by byte and number by number.
struct Digest {
  uint64_t h = kFnvBasis;
  void add(uint8_t byte) {
    h ^= byte;
    h *= 0x100000001b3ull;
  }
  // Four bytes, little-endian: every number in the table fits in 32 bits.
  void add(int64_t number) {
    for (int i = 0; i < 4; ++i) add(static_cast<uint8_t>(number >> (8 * i)));
  }
};

std::string fileDigest(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "missing";
  Digest d;
  for (auto it = std::istreambuf_iterator<char>(in); it != std::istreambuf_iterator<char>(); ++it) {
    d.add(static_cast<uint8_t>(*it));
  }
  return hexDigest(d.h);
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
  return hexDigest(d.h);
}

}  // namespace

std::string dataFingerprint(const std::filesystem::path& folder) {
  std::string out;
  for (const frames::SheetInfo& sheet : frames::kSheets) {
    const std::string name = sheet.fileName;
    out += name + " " + fileDigest(folder / name) + "\n";
  }
  // The sound banks, which the mix follows.
  for (const char* name : {"1.snd", "music.snd"}) {
    out += std::string(name) + " " + fileDigest(folder / name) + "\n";
  }
  out += "glyphs " + glyphTableDigest() + "\n";
  return out;
}

std::string dataDigest(const std::filesystem::path& folder) {
  return hexDigest(fnv1a(dataFingerprint(folder)));
}

}  // namespace vane
