// SPDX-License-Identifier: GPL-3.0-or-later
// vane-glyphs: rasterises the game's font once, at build time, into a C++ glyph table.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: vane-glyphs FILE   the glyph table of the font fontconfig finds, as C++ source\n";

// Pixel height of the font, about that of a desktop's default dialog font of the time.
constexpr int kFontPixels = 13;
constexpr int kByteValues = 256;

// One byte value's glyph: coverage rows of `width` bytes, 0 (background) to 255 (ink), whose
// top-left lies `left` pixels right of the pen and `top` pixels above the baseline. The advance is
// in 1/64 pixel. A glyph FreeType cannot load or render stays empty and does not advance.
struct BakedGlyph {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  long advance = 0;
  std::vector<unsigned char> coverage;
};

struct KerningPair {
  int first;
  int second;
  long x;  // 1/64 pixel
};

struct Bake {
  std::string font;      // family and style, for the reader of the table
  std::string renderer;  // the FreeType version, which the coverage depends on
  int ascent = 0;
  int lineHeight = 0;
  std::vector<BakedGlyph> glyphs;
  std::vector<KerningPair> kerning;
};

// The best scalable font fontconfig offers for `request`; empty when there is none.
std::string matchFontFile(FcConfig* config, const char* request) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(request));
  if (pattern == nullptr) return {};
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  std::string file;
  FcChar8* path = nullptr;
  FcBool scalable = FcFalse;
  if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
      FcPatternGetBool(match, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable == FcTrue) {
    file = reinterpret_cast<const char*>(path);
  }
  if (match != nullptr) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return file;
}

// DejaVu Sans, else whatever sans font the system offers; empty when there is none.
std::string findFontFile() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return {};
  std::string file = matchFontFile(config, "DejaVu Sans:style=Book");
  if (file.empty()) file = matchFontFile(config, "sans-serif");
  FcConfigDestroy(config);
  return file;
}

// 26.6 fixed point rounded up to whole pixels.
int ceilPixels(FT_Pos value) {
  return static_cast<int>((value + 63) >> 6);
}

// The glyph rendered in `slot`, grey or one bit a pixel, as 0..255 coverage.
BakedGlyph copyGlyph(const FT_GlyphSlot slot) {
  const FT_Bitmap& bitmap = slot->bitmap;
  BakedGlyph g{slot->bitmap_left,
               slot->bitmap_top,
               static_cast<int>(bitmap.width),
               static_cast<int>(bitmap.rows),
               slot->advance.x,
               {}};
  g.coverage.reserve(static_cast<size_t>(g.width) * static_cast<size_t>(g.height));
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  for (int row = 0; row < g.height; ++row) {
    const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    for (int col = 0; col < g.width; ++col) {
      g.coverage.push_back(mono ? ((source[col / 8] >> (7 - col % 8)) & 1) * 255 : source[col]);
    }
  }
  return g;
}

// Each byte is one character, read as Latin-1 (the face's Unicode map), as the game's text is.
BakedGlyph bakeGlyph(FT_Face face, unsigned char byte) {
  const FT_UInt index = FT_Get_Char_Index(face, byte);
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) return {};
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return {};
  return copyGlyph(face->glyph);
}

// Every pair of characters the font kerns, first by first character, then by second; characters
// the font lacks are never kerned.
std::vector<KerningPair> bakeKerning(FT_Face face) {
  std::vector<KerningPair> pairs;
  if (!FT_HAS_KERNING(face)) return pairs;
  for (int first = 0; first < kByteValues; ++first) {
    const FT_UInt left = FT_Get_Char_Index(face, static_cast<FT_ULong>(first));
    if (left == 0) continue;
    for (int second = 0; second < kByteValues; ++second) {
      const FT_UInt right = FT_Get_Char_Index(face, static_cast<FT_ULong>(second));
      FT_Vector kern{};
      if (right == 0 || FT_Get_Kerning(face, left, right, FT_KERNING_DEFAULT, &kern) != 0) continue;
      if (kern.x != 0) pairs.push_back({first, second, kern.x});
    }
  }
  return pairs;
}

// The font at the game's size; false (the reason on stderr) when there is none to bake.
bool bakeFont(const std::string& file, Bake& bake) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    std::fputs("vane-glyphs: cannot start FreeType\n", stderr);
    return false;
  }
  FT_Face face = nullptr;
  const bool opened = FT_New_Face(library, file.c_str(), 0, &face) == 0 &&
                      FT_Set_Pixel_Sizes(face, 0, kFontPixels) == 0;
  if (opened) {
    FT_Int major = 0, minor = 0, patch = 0;
    FT_Library_Version(library, &major, &minor, &patch);
    bake.renderer = "FreeType " + std::to_string(major) + "." + std::to_string(minor) + "." +
                    std::to_string(patch);
    bake.font = std::string(face->family_name) + " " + face->style_name;
    bake.ascent = ceilPixels(face->size->metrics.ascender);
    bake.lineHeight = bake.ascent - static_cast<int>(face->size->metrics.descender / 64);
    for (int byte = 0; byte < kByteValues; ++byte) {
      bake.glyphs.push_back(bakeGlyph(face, static_cast<unsigned char>(byte)));
    }
    bake.kerning = bakeKerning(face);
  } else {
    std::fprintf(stderr, "vane-glyphs: cannot open the font %s\n", file.c_str());
  }
  if (face != nullptr) FT_Done_Face(face);
  FT_Done_FreeType(library);
  return opened;
}

// The table as the source host/glyph_table.h declares it: plain data, compiled into the
// game.
std::string tableSource(const Bake& bake) {
  std::ostringstream out;
  out << "// SPDX-License-Identifier: GPL-3.0-or-later\n"
      << "// The glyph table of " << bake.font << " at " << kFontPixels << " px as "
      << bake.renderer << " renders it, made by vane-glyphs; do not edit.\n"
      << "#include \"host/glyph_table.h\"\n\nnamespace vane::host {\nnamespace "
         "{\n\n"
      << "constexpr uint8_t kCoverage[] = {\n";
  for (int byte = 0; byte < kByteValues; ++byte) {
    const BakedGlyph& g = bake.glyphs[static_cast<size_t>(byte)];
    out << "    // " << byte;
    if (byte > ' ' && byte < 127) out << " '" << static_cast<char>(byte) << "'";
    out << "\n";
    for (int row = 0; row < g.height; ++row) {
      out << "   ";
      for (int col = 0; col < g.width; ++col) {
        out << " " << int{g.coverage[static_cast<size_t>(row * g.width + col)]} << ",";
      }
      out << "\n";
    }
  }
  out << "};\n\nconstexpr Glyph kGlyphs[256] = {\n";
  size_t offset = 0;
  for (const BakedGlyph& g : bake.glyphs) {
    out << "    {" << g.left << ", " << g.top << ", " << g.width << ", " << g.height << ", "
        << g.advance << ", " << offset << "},\n";
    offset += g.coverage.size();
  }
  out << "};\n\n";
  if (!bake.kerning.empty()) {
    out << "constexpr KerningPair kKerning[] = {\n";
    for (const KerningPair& k : bake.kerning) {
      out << "    {" << k.first << ", " << k.second << ", " << k.x << "},\n";
    }
    out << "};\n\n";
  }
  out << "}  // namespace\n\nconst GlyphTable kGlyphTable{" << bake.ascent << ", "
      << bake.lineHeight << ", kGlyphs, kCoverage, " << (bake.kerning.empty() ? "{}" : "kKerning")
      << "};\n\n}  // namespace vane::host\n";
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '-') {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string file = findFontFile();
  if (file.empty()) {
    std::fputs(
        "vane-glyphs: no font found: fontconfig offers neither DejaVu Sans nor any sans font "
        "(install fonts-dejavu-core)\n",
        stderr);
    return 1;
  }
  Bake bake;
  if (!bakeFont(file, bake)) return 1;
  std::ofstream out(argv[1], std::ios::binary);
  out << tableSource(bake);
  if (!out.flush()) {
    std::fprintf(stderr, "vane-glyphs: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
