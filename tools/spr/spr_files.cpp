// SPDX-License-Identifier: GPL-3.0-or-later
// Unpacking a sprite file into PNG pictures with an index, and packing them back byte for byte.
#include "tools/spr/spr_files.h"

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "files/last_resort.h"
#include "gfx/frames.h"
#include "gfx/sprite.h"
#include "tools/common/formats.h"
#include "tools/spr/spr_png.h"

namespace vane::tools {

namespace {

constexpr const char* kIndexName = "index.txt";
constexpr uint16_t kTopBit = 0x8000;

// What a frame needs besides its picture so that packing gives back the very same bytes.
struct FrameEntry {
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  uint8_t reserved[8] = {};
  // The segment words (kind, count) as stored, when they differ from a fresh encoding.
  std::vector<uint16_t> layout;
  // Bytes of data after the last line.
  std::vector<uint8_t> tail;
  // Pixels whose stored word has bit 15 set, which a picture cannot carry: x, y pairs.
  std::vector<int> high;
};

struct Index {
  uint8_t signature[4] = {'S', '1', '6', 0};
  std::vector<FrameEntry> frames;
};

std::string pictureName(size_t n) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%03zu.png", n);
  return name;
}

std::string hexByte(uint8_t b) {
  char text[4];
  std::snprintf(text, sizeof text, "%02x", b);
  return text;
}

uint8_t dataByte(const SpriteFrame& frame, size_t k) {
  return static_cast<uint8_t>(frame.data[k / 2] >> (8 * (k % 2)));
}

// The segment words of a checked frame, in the order the lines read them.
std::vector<uint16_t> segmentWords(const SpriteFrame& frame, size_t& wordsUsed) {
  std::vector<uint16_t> segments;
  size_t w = 0;
  for (int row = 0; row < frame.height; ++row) {
    for (int p = 0; p < frame.width;) {
      const uint16_t kind = frame.data[w];
      const uint16_t n = frame.data[w + 1];
      segments.insert(segments.end(), {kind, n});
      w += 2 + (kind != 0 ? n : 0);
      p += n;
    }
  }
  wordsUsed = w;
  return segments;
}

FrameEntry entryFor(const SpriteFrame& frame, const Picture& picture) {
  FrameEntry e;
  e.width = frame.width;
  e.height = frame.height;
  e.hotX = frame.hotX;
  e.hotY = frame.hotY;
  std::copy(std::begin(frame.reserved), std::end(frame.reserved), std::begin(e.reserved));
  size_t used = 0;
  std::vector<uint16_t> segments = segmentWords(frame, used);
  const SpriteFrame fresh = encodeFrame(picture);
  if (!std::equal(fresh.data.begin(), fresh.data.end(), frame.data.begin(),
                  frame.data.begin() + static_cast<std::ptrdiff_t>(used)) ||
      fresh.data.size() != used) {
    e.layout = std::move(segments);
  }
  for (size_t k = used * 2; k < frame.dataSize; ++k) e.tail.push_back(dataByte(frame, k));
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const size_t at = static_cast<size_t>(y) * picture.width + x;
      if (picture.opaque[at] != 0 && (picture.pixels[at] & kTopBit) != 0)
        e.high.insert(e.high.end(), {x, y});
    }
  }
  return e;
}

RgbaImage imageOf(const Picture& picture) {
  RgbaImage image{picture.width, picture.height, {}};
  image.rgba.reserve(picture.pixels.size() * 4);
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    const uint16_t p = picture.pixels[i];
    const bool opaque = picture.opaque[i] != 0;
    for (const int shift : {10, 5, 0}) {
      image.rgba.push_back(opaque ? static_cast<uint8_t>(expand5((p >> shift) & 31)) : 0);
    }
    image.rgba.push_back(opaque ? 255 : 0);
  }
  return image;
}

// The catalogue's names of the frames of a file the game loads ("player.spr", ...), so that an
// artist sees which frame a picture is and what to call its replacement; empty for other files.
std::vector<std::string> catalogueNotes(const std::string& file, size_t frameCount) {
  const std::string name = std::filesystem::path(file).filename().string();
  for (const frames::SheetInfo& sheet : frames::kSheets) {
    if (name != sheet.fileName || sheet.frames.size() != frameCount) continue;
    std::vector<std::string> notes;
    for (const frames::FrameInfo& f : sheet.frames) {
      notes.push_back(std::string("# ") + sheet.stem + "-" + f.name + ": " + f.shows);
    }
    return notes;
  }
  return {};
}

std::string indexText(const Index& index, const std::vector<std::string>& notes) {
  std::ostringstream out;
  out << "# vane-spr index: frame-NNN.png holds frame NNN; numbers are decimal, bytes hex.\n"
      << "# layout, tail and high lines keep what a picture cannot: the stored segment words,\n"
      << "# the bytes after the last line, and pixels whose word has bit 15 set (x y).\n";
  out << "signature";
  for (uint8_t b : index.signature) out << ' ' << hexByte(b);
  out << '\n';
  for (size_t i = 0; i < index.frames.size(); ++i) {
    const FrameEntry& e = index.frames[i];
    if (i < notes.size()) out << notes[i] << '\n';
    out << "frame " << i + 1 << " size " << e.width << ' ' << e.height << " hot " << e.hotX << ' '
        << e.hotY << " reserved";
    for (uint8_t b : e.reserved) out << ' ' << hexByte(b);
    out << '\n';
    if (!e.layout.empty()) {
      out << "  layout";
      for (uint16_t w : e.layout) out << ' ' << w;
      out << '\n';
    }
    if (!e.tail.empty()) {
      out << "  tail";
      for (uint8_t b : e.tail) out << ' ' << hexByte(b);
      out << '\n';
    }
    if (!e.high.empty()) {
      out << "  high";
      for (int v : e.high) out << ' ' << v;
      out << '\n';
    }
  }
  return out.str();
}

// --- reading the index back ---

struct LineReader {
  std::istringstream in;
  std::string where;

  long number(long lo, long hi) {
    long v = 0;
    if (!(in >> v) || v < lo || v > hi) throw std::runtime_error(where + ": expected a number");
    return v;
  }
  uint8_t byte() {
    std::string t;
    if (!(in >> t) || t.size() > 2 ||
        t.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
      throw std::runtime_error(where + ": expected a hex byte");
    }
    return static_cast<uint8_t>(std::stoul(t, nullptr, 16));
  }
  void word(const char* expected) {
    std::string t;
    if (!(in >> t) || t != expected)
      throw std::runtime_error(where + ": expected '" + expected + "'");
  }
  bool more() { return !(in >> std::ws).eof(); }
};

void readFrameLine(LineReader& line, Index& index) {
  const long n = line.number(1, 255);
  if (static_cast<size_t>(n) != index.frames.size() + 1) {
    throw std::runtime_error(line.where + ": frames must be numbered 1, 2, 3, ... in order");
  }
  FrameEntry e;
  line.word("size");
  e.width = static_cast<int>(line.number(0, 32767));
  e.height = static_cast<int>(line.number(0, 32767));
  if (static_cast<size_t>(e.width) * static_cast<size_t>(e.height) > kMaxPicturePixels) {
    throw std::runtime_error(line.where + ": a frame of " + std::to_string(e.width) + "x" +
                             std::to_string(e.height) + " pixels is larger than the limit of " +
                             std::to_string(kMaxPicturePixels));
  }
  line.word("hot");
  e.hotX = static_cast<int>(line.number(-32768, 32767));
  e.hotY = static_cast<int>(line.number(-32768, 32767));
  line.word("reserved");
  for (uint8_t& b : e.reserved) b = line.byte();
  index.frames.push_back(std::move(e));
}

Index parseIndex(const std::string& bytes, const std::string& path) {
  std::istringstream in(bytes);
  Index index;
  std::string text;
  for (int lineNo = 1; std::getline(in, text); ++lineNo) {
    LineReader line{std::istringstream(text), path + " line " + std::to_string(lineNo)};
    std::string key;
    if (!(line.in >> key) || key[0] == '#') continue;
    if (key == "signature") {
      for (uint8_t& b : index.signature) b = line.byte();
    } else if (key == "frame") {
      readFrameLine(line, index);
    } else if (key == "layout" || key == "tail" || key == "high") {
      if (index.frames.empty())
        throw std::runtime_error(line.where + ": " + key + " before any frame");
      FrameEntry& e = index.frames.back();
      while (line.more()) {
        if (key == "layout") e.layout.push_back(static_cast<uint16_t>(line.number(0, 65535)));
        if (key == "tail") e.tail.push_back(line.byte());
        if (key == "high") e.high.push_back(static_cast<int>(line.number(0, 32767)));
      }
    } else {
      throw std::runtime_error(line.where + ": unknown entry '" + key + "'");
    }
    if (line.more()) throw std::runtime_error(line.where + ": unexpected text at the end");
  }
  return index;
}

Index readIndex(const std::string& path) {
  const std::vector<uint8_t> bytes = readFile(path);
  return parseIndex(std::string(bytes.begin(), bytes.end()), path);
}

// --- packing ---

Picture pictureFromPng(const std::string& path, const std::string& name, const FrameEntry& e) {
  Picture picture;
  picture.width = e.width;
  picture.height = e.height;
  const size_t count = static_cast<size_t>(e.width) * static_cast<size_t>(e.height);
  if (count == 0) return picture;
  RgbaImage image;
  if (std::string error = readPng(path, image); !error.empty()) {
    throw std::runtime_error(error);
  }
  if (image.width != e.width || image.height != e.height) {
    throw std::runtime_error(name + " is " + std::to_string(image.width) + "x" +
                             std::to_string(image.height) + " but the index says " +
                             std::to_string(e.width) + "x" + std::to_string(e.height));
  }
  picture = pictureFromImage(image, name);
  for (size_t k = 0; k + 1 < e.high.size(); k += 2) {
    const auto x = static_cast<size_t>(e.high[k]);
    const auto y = static_cast<size_t>(e.high[k + 1]);
    if (x < static_cast<size_t>(e.width) && y < static_cast<size_t>(e.height) &&
        picture.opaque[y * e.width + x] != 0) {
      picture.pixels[y * e.width + x] |= kTopBit;
    }
  }
  return picture;
}

// Cuts the picture along the stored segments; false when they no longer fit its transparency.
bool cutAlongLayout(const Picture& picture, const std::vector<uint16_t>& layout,
                    std::vector<uint16_t>& words) {
  size_t s = 0;
  for (int row = 0; row < picture.height; ++row) {
    for (int p = 0; p < picture.width;) {
      if (s + 2 > layout.size()) return false;
      const uint16_t kind = layout[s];
      const int n = layout[s + 1];
      s += 2;
      if (n > picture.width - p) return false;
      words.insert(words.end(), {kind, static_cast<uint16_t>(n)});
      const size_t base = static_cast<size_t>(row) * picture.width + p;
      for (size_t k = base; k < base + n; ++k) {
        if ((picture.opaque[k] != 0) != (kind != 0)) return false;
        if (kind != 0) words.push_back(picture.pixels[k]);
      }
      p += n;
    }
  }
  return s == layout.size();
}

SpriteFrame frameFor(const FrameEntry& e, const Picture& picture, const std::string& name,
                     std::string& notes) {
  Picture source = picture;
  source.hotX = e.hotX;
  source.hotY = e.hotY;
  std::copy(std::begin(e.reserved), std::end(e.reserved), std::begin(source.reserved));
  SpriteFrame frame = encodeFrame(source);
  if (!e.layout.empty()) {
    std::vector<uint16_t> words;
    if (cutAlongLayout(picture, e.layout, words)) {
      frame.data = std::move(words);
    } else {
      notes += name + ": transparency no longer matches the stored layout; segments cut afresh\n";
    }
  }
  size_t bytes = frame.data.size() * 2;
  for (size_t k = 0; k < e.tail.size(); ++k, ++bytes) {
    if (bytes % 2 == 0) frame.data.push_back(0);
    frame.data.back() = static_cast<uint16_t>(frame.data.back() | (e.tail[k] << (8 * (bytes % 2))));
  }
  frame.dataSize = static_cast<uint32_t>(bytes);
  return frame;
}

}  // namespace

std::string unpackSpriteFile(const std::string& file, const std::string& dir) {
  try {
    const std::vector<uint8_t> bytes = readFile(file);
    std::vector<SpriteFrame> frames;
    switch (decodeSpriteFile(bytes, frames)) {
      case SpriteFileCheck::NotSpriteFile:
        return file + ": not a sprite file (the first byte is not 'S')";
      case SpriteFileCheck::Broken:
        return file + ": broken sprite file (cut short or run-length data out of shape)";
      case SpriteFileCheck::Good:
        break;
    }
    std::filesystem::create_directories(dir);
    Index index;
    std::copy(bytes.begin(), bytes.begin() + 4, std::begin(index.signature));
    for (size_t i = 0; i < frames.size(); ++i) {
      const Picture picture = decodeFrame(frames[i]);
      index.frames.push_back(entryFor(frames[i], picture));
      if (picture.width > 0 && picture.height > 0) {
        if (std::string error = writePng(dir + "/" + pictureName(i + 1), imageOf(picture));
            !error.empty()) {
          return error;
        }
      }
    }
    const std::string text = indexText(index, catalogueNotes(file, frames.size()));
    return writeFile(dir + "/" + kIndexName, text);
  } catch (const std::exception& e) {
    return files::failureText(e);
  }
}

std::string packSpriteFile(const std::string& dir, const std::string& file, std::string& notes) {
  try {
    const Index index = readIndex(dir + "/" + kIndexName);
    std::vector<SpriteFrame> frames;
    for (size_t i = 0; i < index.frames.size(); ++i) {
      const std::string name = pictureName(i + 1);
      const FrameEntry& e = index.frames[i];
      frames.push_back(frameFor(e, pictureFromPng(dir + "/" + name, name, e), name, notes));
    }
    std::vector<uint8_t> bytes = spriteFileBytes(frames);
    std::copy(std::begin(index.signature), std::end(index.signature), bytes.begin());
    return writeFile(file, bytes);
  } catch (const std::exception& e) {
    return files::failureText(e);
  }
}

Picture pictureFromImage(const RgbaImage& image, const std::string& name,
                         std::string (*colourRefusal)(const uint8_t* rgba)) {
  Picture picture;
  picture.width = image.width;
  picture.height = image.height;
  const auto width = static_cast<size_t>(image.width);
  const size_t count = width * static_cast<size_t>(image.height);
  picture.pixels.assign(count, 0);
  picture.opaque.assign(count, 0);
  const auto pixelAt = [&](size_t i) {
    return name + ": pixel (" + std::to_string(i % width) + ", " + std::to_string(i / width) + ")";
  };
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* px = &image.rgba[i * 4];
    if (px[3] == 0) continue;
    if (px[3] != 255) {
      throw std::runtime_error(pixelAt(i) + " has alpha " + std::to_string(px[3]) +
                               "; only 0 (transparent) and 255 (opaque) are allowed");
    }
    if (colourRefusal != nullptr) {
      if (const std::string why = colourRefusal(px); !why.empty()) {
        throw std::runtime_error(pixelAt(i) + " " + why);
      }
    }
    picture.opaque[i] = 1;
    picture.pixels[i] =
        static_cast<uint16_t>((reduce8(px[0]) << 10) | (reduce8(px[1]) << 5) | reduce8(px[2]));
  }
  return picture;
}

std::string checkSpriteIndex(const std::string& text) {
  try {
    parseIndex(text, "index");
    return {};
  } catch (const std::exception& e) {
    return files::failureText(e);
  }
}

}  // namespace vane::tools
