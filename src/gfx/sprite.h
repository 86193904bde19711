// SPDX-License-Identifier: GPL-3.0-or-later
// Sprite files: run-length frames, the frame store, the loader, and the two drawing operations.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "host/host.h"

namespace vane {

struct SpriteFrame {
  int16_t width = 0;
  int16_t height = 0;
  int16_t hotX = 0;
  int16_t hotY = 0;
  uint32_t dataSize = 0;
  uint8_t reserved[8] = {};
  // The frame's own copy of its run-length words (dataSize bytes; validated at load). An odd
  // last byte sits in the low half of the last word.
  std::vector<uint16_t> data;
};

// A singly linked list with a head node whose frame is always empty.
struct SpriteNode {
  SpriteFrame* frame = nullptr;
  SpriteNode* next = nullptr;
};

class SpriteSheet {
 public:
  SpriteSheet() = default;
  SpriteSheet(const SpriteSheet&) = delete;
  SpriteSheet& operator=(const SpriteSheet&) = delete;
  ~SpriteSheet();
  SpriteNode head;
  void clear();
};

int insertFrame(SpriteSheet& sheet, const SpriteFrame& frame, int n);
// Frame n (from 1); nullptr for n = 0 (the head's empty slot) or beyond the sheet.
const SpriteFrame* frameAt(const SpriteSheet& sheet, int n);
int frameCountOf(const SpriteSheet& sheet);

// The largest sprite file the loader reads (the biggest one the game ships is about 1.3 MB).
constexpr size_t kMaxSpriteFileBytes = size_t{32} << 20;

// Reads the named file from the working directory; shows the loader's message box on failure:
// "SPR Not Found" when it cannot be opened, "<name>: <reason>" when it is not a regular file, is
// larger than kMaxSpriteFileBytes or cannot be read.
int loadSpriteSheet(SpriteSheet& sheet, const char* name, int use565);
// The same from bytes already in memory; `name` is only used in messages.
int loadSpriteSheetFromBytes(SpriteSheet& sheet, std::span<const uint8_t> bytes, const char* name,
                             int use565);

// What a sprite file's bytes hold, read without adding the frames anywhere (pixels as stored).
enum class SpriteFileCheck { Good, NotSpriteFile, Broken };
SpriteFileCheck decodeSpriteFile(std::span<const uint8_t> bytes, std::vector<SpriteFrame>& frames);

int drawSprite(const host::LockedSurface& target, int x, int y, const SpriteFrame* frame);
int drawSpriteBlended(const host::LockedSurface& target, int x, int y, const SpriteFrame* frame,
                      int level, int is565);

// The seven sheets of the game.
extern SpriteSheet playerSheet, enemySheet, ebSheet, backSheet, stageSheet, xSheet, etcSheet;

void resetSheets();

}  // namespace vane
