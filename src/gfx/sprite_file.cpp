// SPDX-License-Identifier: GPL-3.0-or-later
// The frame store (sheets of frames in a linked list) and the sprite file loader.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "gfx/run_length.h"
#include "gfx/sprite.h"

namespace vane {

SpriteSheet playerSheet, enemySheet, ebSheet, backSheet, stageSheet, xSheet, etcSheet;

namespace {

constexpr size_t kFileHeaderBytes = 5;
constexpr size_t kFrameHeaderBytes = 20;

uint16_t read16(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

uint32_t read32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
         (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

// Words needed to hold `bytes` bytes; an odd last byte sits in the low half of the last word.
size_t wordsFor(uint32_t bytes) {
  return (static_cast<size_t>(bytes) + 1) / 2;
}

void showError(const std::string& text, host::Icon icon) {
  host::messageBox(text, "ERROR", icon);
}

// R moves up one bit, the upper five G bits move up one bit, the lowest G bit becomes 0.
uint16_t to565(uint16_t p) {
  return static_cast<uint16_t>(((p & 0x7C00) << 1) | ((p & 0x03E0) << 1) | (p & 0x001F));
}

void convertTo565(SpriteFrame& frame) {
  gfx::walkRunLength(
      frame.width, frame.height, std::span<uint16_t>(frame.data), [](int) { return true; },
      [](int, int, std::span<uint16_t> pixels) {
        for (uint16_t& p : pixels) p = to565(p);
      });
}

// Only whole words take part in the lines; a trailing odd byte is kept but never read as pixels.
bool runLengthIsSound(const SpriteFrame& frame) {
  if (frame.width < 0 || frame.height < 0) return false;
  const std::span<const uint16_t> words(frame.data.data(), frame.dataSize / 2);
  return gfx::walkRunLength(
             frame.width, frame.height, words, [](int) { return true; },
             [](int, int, std::span<const uint16_t>) {}) == gfx::Walk::Done;
}

// Reads one frame at `at`, moving `at` past it; false when the bytes end too early.
bool readFrame(std::span<const uint8_t> bytes, size_t& at, SpriteFrame& frame) {
  if (bytes.size() - at < kFrameHeaderBytes) return false;
  const uint8_t* h = bytes.data() + at;
  frame.width = static_cast<int16_t>(read16(h));
  frame.height = static_cast<int16_t>(read16(h + 2));
  frame.hotX = static_cast<int16_t>(read16(h + 4));
  frame.hotY = static_cast<int16_t>(read16(h + 6));
  frame.dataSize = read32(h + 8);
  for (size_t i = 0; i < sizeof frame.reserved; ++i) frame.reserved[i] = h[12 + i];
  at += kFrameHeaderBytes;
  if (bytes.size() - at < frame.dataSize) return false;
  frame.data.assign(wordsFor(frame.dataSize), 0);
  for (size_t i = 0; i < frame.dataSize; ++i) {
    frame.data[i / 2] = static_cast<uint16_t>(frame.data[i / 2] | (bytes[at + i] << (8 * (i % 2))));
  }
  at += frame.dataSize;
  return true;
}

}  // namespace

SpriteSheet::~SpriteSheet() {
  clear();
}

void SpriteSheet::clear() {
  SpriteNode* node = head.next;
  while (node != nullptr) {
    SpriteNode* next = node->next;
    delete node->frame;
    delete node;
    node = next;
  }
  head.next = nullptr;
}

int insertFrame(SpriteSheet& sheet, const SpriteFrame& frame, int n) {
  auto* copy = new SpriteFrame;
  copy->width = frame.width;
  copy->height = frame.height;
  copy->hotX = frame.hotX;
  copy->hotY = frame.hotY;
  copy->dataSize = frame.dataSize;
  for (size_t i = 0; i < sizeof copy->reserved; ++i) copy->reserved[i] = frame.reserved[i];
  const size_t words = std::min(frame.data.size(), wordsFor(frame.dataSize));
  copy->data.assign(frame.data.begin(), frame.data.begin() + static_cast<std::ptrdiff_t>(words));

  // A position past the end appends.
  SpriteNode* after = &sheet.head;
  for (int i = 0; i < n && after->next != nullptr; ++i) after = after->next;
  after->next = new SpriteNode{copy, after->next};
  return 1;
}

const SpriteFrame* frameAt(const SpriteSheet& sheet, int n) {
  if (n <= 0) return nullptr;
  const SpriteNode* node = &sheet.head;
  for (int i = 0; i < n && node != nullptr; ++i) node = node->next;
  return node != nullptr ? node->frame : nullptr;
}

int frameCountOf(const SpriteSheet& sheet) {
  int count = 0;
  for (const SpriteNode* node = sheet.head.next; node != nullptr; node = node->next) ++count;
  return count;
}

int loadSpriteSheet(SpriteSheet& sheet, const char* name, int use565) {
  std::vector<uint8_t> bytes;
  const files::DataFileRead read = files::readDataFile(name, kMaxSpriteFileBytes, bytes);
  if (read.missing) {
    showError("SPR Not Found", host::Icon::Error);
    return 0;
  }
  if (read.failure != files::ReadFailure::None) {
    showError(files::refusalText(name, read), host::Icon::Error);
    return 0;
  }
  return loadSpriteSheetFromBytes(sheet, bytes, name, use565);
}

SpriteFileCheck decodeSpriteFile(std::span<const uint8_t> bytes, std::vector<SpriteFrame>& frames) {
  frames.clear();
  if (bytes.empty() || bytes[0] != 'S') return SpriteFileCheck::NotSpriteFile;
  if (bytes.size() < kFileHeaderBytes) return SpriteFileCheck::Broken;
  frames.resize(bytes[4]);
  size_t at = kFileHeaderBytes;
  for (SpriteFrame& frame : frames) {
    if (!readFrame(bytes, at, frame) || !runLengthIsSound(frame)) {
      frames.clear();
      return SpriteFileCheck::Broken;
    }
  }
  return SpriteFileCheck::Good;
}

// Every frame is read and checked before any is added, so a broken file leaves the sheet as it was.
int loadSpriteSheetFromBytes(SpriteSheet& sheet, std::span<const uint8_t> bytes, const char* name,
                             int use565) {
  std::vector<SpriteFrame> frames;
  switch (decodeSpriteFile(bytes, frames)) {
    case SpriteFileCheck::NotSpriteFile:
      showError("Not 16Bit color Sprite File", host::Icon::None);
      return 0;
    case SpriteFileCheck::Broken:
      showError(std::string("Broken Sprite File: ") + name, host::Icon::Error);
      return 0;
    case SpriteFileCheck::Good:
      break;
  }
  const int first = frameCountOf(sheet);
  for (size_t i = 0; i < frames.size(); ++i) {
    if (use565 == 1) convertTo565(frames[i]);
    insertFrame(sheet, frames[i], first + static_cast<int>(i));
  }
  return 1;
}

void resetSheets() {
  for (SpriteSheet* sheet :
       {&playerSheet, &enemySheet, &ebSheet, &backSheet, &stageSheet, &xSheet, &etcSheet}) {
    sheet->clear();
  }
}

}  // namespace vane
