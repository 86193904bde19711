// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing speed of large and small run-length frames, opaque and blended, whole and clipped, and
// of a stage's lines of text.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gfx/sprite.h"
#include "host/text.h"

namespace {

// A disc of opaque pixels on a transparent square: lines of skip, copy, skip.
vane::SpriteFrame discFrame(int size) {
  vane::SpriteFrame f;
  f.width = static_cast<int16_t>(size);
  f.height = static_cast<int16_t>(size);
  f.hotX = static_cast<int16_t>(size / 2);
  f.hotY = static_cast<int16_t>(size / 2);
  const int r = size / 2;
  for (int y = 0; y < size; ++y) {
    int half = 0;
    while ((half + 1) * (half + 1) + (y - r) * (y - r) <= r * r) ++half;
    const int from = std::max(0, r - half);
    const int to = std::min(size, r + half);
    if (from > 0) f.data.insert(f.data.end(), {0, static_cast<uint16_t>(from)});
    if (to > from) {
      f.data.insert(f.data.end(), {1, static_cast<uint16_t>(to - from)});
      for (int x = from; x < to; ++x) f.data.push_back(static_cast<uint16_t>(x * 0x0421 + y));
    }
    if (to < size)
      f.data.insert(f.data.end(), {0, static_cast<uint16_t>(size - std::max(from, to))});
  }
  f.dataSize = static_cast<uint32_t>(f.data.size() * 2);
  return f;
}

struct Target {
  std::vector<uint16_t> pixels = std::vector<uint16_t>(640 * 480, 0x1234);
  vane::host::LockedSurface surface{pixels.data(), 640, 480, 640 * 2};
};

// Range 0: frame size; range 1: 0 whole on screen, 1 with its centre on the top-left corner.
void position(const benchmark::State& state, int& x, int& y) {
  x = state.range(1) == 0 ? 320 : 0;
  y = state.range(1) == 0 ? 240 : 0;
}

void drawOpaque(benchmark::State& state) {
  const vane::SpriteFrame frame = discFrame(static_cast<int>(state.range(0)));
  Target target;
  int x = 0, y = 0;
  position(state, x, y);
  for (auto _ : state) {
    vane::drawSprite(target.surface, x, y, &frame);
    benchmark::DoNotOptimize(target.pixels.data());
    benchmark::ClobberMemory();
  }
}

void drawBlended(benchmark::State& state) {
  const vane::SpriteFrame frame = discFrame(static_cast<int>(state.range(0)));
  Target target;
  int x = 0, y = 0;
  position(state, x, y);
  for (auto _ : state) {
    vane::drawSpriteBlended(target.surface, x, y, &frame, 16, 1);
    benchmark::DoNotOptimize(target.pixels.data());
    benchmark::ClobberMemory();
  }
}

}  // namespace

// The seven lines of key help a stage shows beside the playfield every frame.
void drawTextLines(benchmark::State& state) {
  Target target;
  const auto text = vane::host::makeTextContext(target.pixels.data(), 640, 480, 640 * 2, true);
  text->setTextColor(0xFFFFFF);
  constexpr const char* kLines[] = {"Key Setting...",
                                    "Move : Arrow Keys",
                                    "Shot : Shift Keys",
                                    "Special Attack : Z Key",
                                    "PAUSE : Space Key",
                                    "T Key  ^^;",
                                    "Get Energy Ball For Special Attack"};
  for (auto _ : state) {
    int y = 100;
    for (const char* line : kLines) {
      text->textOut(350, y, line);
      y += 20;
    }
    benchmark::DoNotOptimize(target.pixels.data());
  }
}

BENCHMARK(drawOpaque)->ArgNames({"size", "clipped"})->ArgsProduct({{16, 400}, {0, 1}});
BENCHMARK(drawBlended)->ArgNames({"size", "clipped"})->ArgsProduct({{16, 400}, {0, 1}});
BENCHMARK(drawTextLines);
