// SPDX-License-Identifier: GPL-3.0-or-later
// The software scaler: a colour table for every 5-6-5 value and per-line taps of the enlargement.
#include "platform/sdl/software_scaler.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace vane::platform {

namespace {

// Blends two pixels of byte-wide channels, `weight` (0..256) parts of `b` in 256.
uint32_t blend(uint32_t a, uint32_t b, uint32_t weight) {
  const uint32_t keep = 256 - weight;
  const uint32_t oddBytes = ((a & 0x00FF00FF) * keep + (b & 0x00FF00FF) * weight) >> 8 & 0x00FF00FF;
  const uint32_t evenBytes =
      (((a >> 8) & 0x00FF00FF) * keep + ((b >> 8) & 0x00FF00FF) * weight) & 0xFF00FF00;
  return oddBytes | evenBytes;
}

uint32_t toEightBits(uint32_t level, uint32_t full) {
  return (level * 255 + full / 2) / full;
}

}  // namespace

SoftwareScaler::SoftwareScaler(const PixelLayout& layout, int pictureWidth, int pictureHeight)
    : pictureWidth_(pictureWidth), pictureHeight_(pictureHeight), colour_(65536) {
  for (uint32_t value = 0; value < colour_.size(); ++value) {
    const uint32_t red = value >> 11;
    const uint32_t green = (value >> 5) & 0x3F;
    const uint32_t blue = value & 0x1F;
    // Each channel widened to the nearest of 0..255, as a graphics card reads the texture.
    colour_[value] = (toEightBits(red, 31) << layout.redShift) |
                     (toEightBits(green, 63) << layout.greenShift) |
                     (toEightBits(blue, 31) << layout.blueShift) | layout.alwaysSet;
  }
}

void SoftwareScaler::setTarget(int width, int height) {
  const PictureRect target{0, 0, width, height};
  const int step = enlargementFor(target, pictureWidth_, pictureHeight_);
  columns_ = tapsFor(pictureWidth_, width, step);
  rows_ = tapsFor(pictureHeight_, height, step);
  columnStep_ = width == pictureWidth_ * step ? step : 0;
  converted_.assign(static_cast<size_t>(pictureWidth_), 0);
  for (Widened& w : widened_) w.scratch.assign(columns_.size(), 0);
}

std::vector<SoftwareScaler::Tap> SoftwareScaler::tapsFor(int source, int target, int step) {
  std::vector<Tap> taps(static_cast<size_t>(std::max(target, 0)));
  const int64_t enlarged = static_cast<int64_t>(source) * step;
  for (int i = 0; i < target; ++i) {
    // The centre of output pixel i in the enlarged picture's pixels, less half a pixel, is
    // position / scale; linear filtering blends enlarged pixels floor(p) and floor(p) + 1.
    const int64_t position = (2 * static_cast<int64_t>(i) + 1) * enlarged - target;
    const int64_t scale = 2 * static_cast<int64_t>(target);
    if (position <= 0) continue;  // at the very edge: the first pixel alone
    const int64_t left = position / scale;
    const int first = static_cast<int>(left / step);
    const int second = std::min(static_cast<int>((left + 1) / step), source - 1);
    if (first == second) {
      taps[static_cast<size_t>(i)] = Tap{first, first, 0};
      continue;
    }
    const auto weight = static_cast<uint32_t>((position - left * scale) * 256 / scale);
    taps[static_cast<size_t>(i)] = Tap{first, weight == 0 ? first : second, weight};
  }
  return taps;
}

void SoftwareScaler::widen(const uint16_t* sourceRow, uint32_t* out) const {
  if (columnStep_ != 0) {
    // Whole steps: each pixel converted once and written as many times over.
    for (int x = 0; x < pictureWidth_; ++x) {
      out = std::fill_n(out, columnStep_, colour_[sourceRow[x]]);
    }
    return;
  }
  for (int x = 0; x < pictureWidth_; ++x)
    converted_[static_cast<size_t>(x)] = colour_[sourceRow[x]];
  const uint32_t* line = converted_.data();
  for (size_t x = 0; x < columns_.size(); ++x) {
    const Tap& tap = columns_[x];
    out[x] =
        tap.weight == 0 ? line[tap.first] : blend(line[tap.first], line[tap.second], tap.weight);
  }
}

RowBand SoftwareScaler::draw(const uint16_t* picture, RowBand rows, uint32_t* out,
                             int outPitch) const {
  if (rows.empty() || rows_.empty()) return RowBand{};
  // Taps only ever move down the picture, so the lines reached form one band.
  const auto firstLine = std::partition_point(
      rows_.begin(), rows_.end(), [&](const Tap& tap) { return tap.second < rows.first; });
  const auto endLine = std::partition_point(firstLine, rows_.end(),
                                            [&](const Tap& tap) { return tap.first < rows.end; });
  const RowBand lines{static_cast<int>(firstLine - rows_.begin()),
                      static_cast<int>(endLine - rows_.begin())};
  const size_t lineBytes = columns_.size() * sizeof(uint32_t);
  for (Widened& w : widened_) w.row = -1;
  for (int y = lines.first; y < lines.end; ++y) {
    uint32_t* line = out + static_cast<std::ptrdiff_t>(y) * outPitch;
    const Tap& tap = rows_[static_cast<size_t>(y)];
    if (y > lines.first && tap == rows_[static_cast<size_t>(y) - 1]) {
      std::memcpy(line, line - outPitch, lineBytes);
      continue;
    }
    if (tap.weight == 0) {
      const uint32_t* row = widenedRow(picture, tap.first, line);
      if (row != line) std::memcpy(line, row, lineBytes);
      continue;
    }
    const uint32_t* upper = widenedRow(picture, tap.first, nullptr);
    const uint32_t* lower = widenedRow(picture, tap.second, nullptr);
    for (size_t x = 0; x < columns_.size(); ++x) line[x] = blend(upper[x], lower[x], tap.weight);
  }
  return lines;
}

const uint32_t* SoftwareScaler::widenedRow(const uint16_t* picture, int row, uint32_t* into) const {
  for (const Widened& w : widened_) {
    if (w.row == row) return w.pixels;
  }
  Widened& oldest = widened_[0].row < widened_[1].row ? widened_[0] : widened_[1];
  uint32_t* target = into != nullptr ? into : oldest.scratch.data();
  widen(picture + static_cast<std::ptrdiff_t>(row) * pictureWidth_, target);
  oldest.row = row;
  oldest.pixels = target;
  return target;
}

}  // namespace vane::platform
