// SPDX-License-Identifier: GPL-3.0-or-later
// The layers over the shown picture: the program's menu, the note, the frame-time graph.
#include "host/picture_layers.h"

#include <algorithm>
#include <array>
#include <vector>

#include "host/display.h"
#include "host/internal.h"
#include "platform/platform.h"

namespace vane::host {

namespace {

constexpr uint64_t kNoteNanos = 3'000'000'000;
// The last three seconds of frames at full speed.
constexpr size_t kGraphFrames = 120;
// In the top right corner, over the panel's stripes: the score and the play field stay in sight.
constexpr int kGraphHigh = 60, kGraphTop = 8;
constexpr int kGraphLeft = kWidth - (static_cast<int>(kGraphFrames) + 4) - 8;
constexpr uint64_t kNanosPerGraphPixel = 1'000'000;  // a pixel a millisecond

struct Layers {
  PictureLayer* menu = nullptr;
  std::string note;
  uint64_t noteUntil = 0;
  bool graph = false;
  std::array<uint64_t, kGraphFrames> periods{};
  size_t nextPeriod = 0;
  uint64_t lastFlip = 0;
};
Layers layers;

uint8_t channel(uint32_t rgb, int shift, int bits) {
  return static_cast<uint8_t>(((rgb >> shift) & 0xFF) >> (8 - bits));
}

void drawGraph(Canvas& canvas) {
  constexpr int kWide = static_cast<int>(kGraphFrames) + 4;
  canvas.dimRect(kGraphLeft, kGraphTop, kWide, kGraphHigh + 4);
  for (size_t i = 0; i < kGraphFrames; ++i) {
    const uint64_t period = layers.periods[(layers.nextPeriod + i) % kGraphFrames];
    const int high = static_cast<int>(std::min<uint64_t>(period / kNanosPerGraphPixel, kGraphHigh));
    const uint32_t colour = period > 60'000'000 ? 0xFF4040 : 0x40FF40;
    canvas.fillRect(kGraphLeft + 2 + static_cast<int>(i), kGraphTop + 2 + kGraphHigh - high, 1,
                    high, colour);
  }
  // The full-speed period, 25 ms.
  canvas.fillRect(kGraphLeft + 2, kGraphTop + 2 + kGraphHigh - 25, kWide - 4, 1, 0x8080FF);
}

void drawNote(Canvas& canvas) {
  const int wide = textWidth(layers.note) + 16;
  canvas.dimRect(8, kHeight - 30, wide, 22);
  canvas.text(16, kHeight - 28, layers.note, 0xFFFFFF);
}

}  // namespace

Canvas::Canvas(uint16_t* pixels, bool is565, TextContext& text)
    : pixels_(pixels), is565_(is565), text_(text) {}

uint16_t Canvas::pack(uint32_t rgb) const {
  if (is565_) {
    return static_cast<uint16_t>(channel(rgb, 16, 5) << 11 | channel(rgb, 8, 6) << 5 |
                                 channel(rgb, 0, 5));
  }
  return static_cast<uint16_t>(channel(rgb, 16, 5) << 10 | channel(rgb, 8, 5) << 5 |
                               channel(rgb, 0, 5));
}

void Canvas::fillRect(int x, int y, int width, int height, uint32_t rgb) {
  const uint16_t colour = pack(rgb);
  for (int row = std::max(0, y); row < std::min(kHeight, y + height); ++row) {
    for (int col = std::max(0, x); col < std::min(kWidth, x + width); ++col) {
      pixels_[static_cast<size_t>(row) * kWidth + static_cast<size_t>(col)] = colour;
    }
  }
}

void Canvas::dimRect(int x, int y, int width, int height) {
  // A quarter of each channel: shifted right by two within its own bits.
  const uint16_t keep = is565_ ? 0x39E7 : 0x1CE7;
  for (int row = std::max(0, y); row < std::min(kHeight, y + height); ++row) {
    for (int col = std::max(0, x); col < std::min(kWidth, x + width); ++col) {
      uint16_t& p = pixels_[static_cast<size_t>(row) * kWidth + static_cast<size_t>(col)];
      p = static_cast<uint16_t>((p >> 2) & keep);
    }
  }
}

void Canvas::text(int x, int y, std::string_view line, uint32_t rgb) {
  // The text context takes colours as 0x00BBGGRR.
  text_.setTextColor((rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF));
  text_.setTransparentBackground();
  text_.textOut(x, y, line);
}

void setMenuLayer(PictureLayer* layer) {
  layers.menu = layer;
}

void showNote(std::string text) {
  layers.note = std::move(text);
  layers.noteUntil = platform::backend().now() + kNoteNanos;
}

void setFrameGraph(bool shown) {
  layers.graph = shown;
}

bool frameGraphShown() {
  return layers.graph;
}

void standGame(bool standing) {
  if (standing) internal::releaseAllKeys();
  internal::setSoundActive(!standing);
}

void presentLayers() {
  internal::presentComposed();
}

bool internal::layersShown() {
  if (!layers.note.empty() && platform::backend().now() >= layers.noteUntil) layers.note.clear();
  return layers.menu != nullptr || !layers.note.empty() || layers.graph;
}

void internal::drawLayers(Canvas& canvas) {
  if (layers.graph) drawGraph(canvas);
  if (!layers.note.empty()) drawNote(canvas);
  if (layers.menu != nullptr) layers.menu->drawOver(canvas);
}

// Only while the graph shows: a back end's clock may do work when read (the headless one takes
// in the mix), so a run without the graph reads it no more often than the game does.
void internal::recordFlip() {
  if (!layers.graph) {
    layers.lastFlip = 0;
    return;
  }
  const uint64_t now = platform::backend().now();
  if (layers.lastFlip != 0) {
    layers.periods[layers.nextPeriod] = now - layers.lastFlip;
    layers.nextPeriod = (layers.nextPeriod + 1) % kGraphFrames;
  }
  layers.lastFlip = now;
}

void internal::resetLayers() {
  layers = Layers{};
}

}  // namespace vane::host
