// SPDX-License-Identifier: GPL-3.0-or-later
// The 5-6-5 picture converted by table and enlarged into a 32-bit output, without any device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/picture/presentation.h"

namespace vane::platform {

// Where the red, green and blue bytes of a 32-bit output pixel sit, and the bits always set
// (an alpha channel, which must stay opaque).
struct PixelLayout {
  int redShift = 16;
  int greenShift = 8;
  int blueShift = 0;
  uint32_t alwaysSet = 0;
};

// Enlarges the picture by a whole step pixel for pixel, then brings it to the target size with
// linear filtering, in one pass: each output line or column takes one source pixel, or two
// blended when it straddles the edge between two enlarged pixels. A target of whole steps is a
// plain enlargement.
class SoftwareScaler {
 public:
  SoftwareScaler(const PixelLayout& layout, int pictureWidth, int pictureHeight);

  // Sets the size of the picture in the output.
  void setTarget(int width, int height);
  int targetWidth() const { return static_cast<int>(columns_.size()); }
  int targetHeight() const { return static_cast<int>(rows_.size()); }

  // Draws what `rows` of the picture reach into `out`, the target's top-left pixel in an output
  // of `outPitch` pixels a line, and returns the target lines drawn.
  RowBand draw(const uint16_t* picture, RowBand rows, uint32_t* out, int outPitch) const;
  // The same for what `rows` and `columns` of the picture reach: the target lines and columns
  // drawn.
  struct Drawn {
    RowBand lines;
    RowBand columns;
  };
  Drawn draw(const uint16_t* picture, RowBand rows, RowBand columns, uint32_t* out,
             int outPitch) const;

 private:
  // One output line or column: the source pixel it takes, and the share (0..256) of the next.
  struct Tap {
    int first = 0;
    int second = 0;
    uint32_t weight = 0;
    bool operator==(const Tap&) const = default;
  };

  static std::vector<Tap> tapsFor(int source, int target, int step);
  // The band of output lines or columns whose taps take any of `source`.
  static RowBand reached(const std::vector<Tap>& taps, RowBand source);
  uint32_t outputPixel(uint16_t value) const;
  void convert(const uint16_t* sourceRow, uint32_t* out) const;
  void repeatColumns(const uint32_t* converted, uint32_t* out) const;
  void widen(const uint16_t* sourceRow, uint32_t* out) const;
  // Source row `row` widened: the copy kept from earlier in this draw, or widened now (into
  // `into`, an output line, when given).
  const uint32_t* widenedRow(const uint16_t* picture, int row, uint32_t* into) const;

  int pictureWidth_;
  int pictureHeight_;
  PixelLayout layout_;
  std::vector<Tap> columns_;
  std::vector<Tap> rows_;
  int columnStep_ = 0;  // the whole step across, when the columns take no blends at all
  // Each column's tap, field by field, for blending many columns at a time.
  std::vector<int> columnFirsts_;
  std::vector<int> columnSeconds_;
  std::vector<uint32_t> columnWeights_;
  mutable std::vector<uint32_t> converted_;  // one source line as output pixels
  // The last two source rows widened in a draw; rows come in order, so two are enough.
  struct Widened {
    int row = -1;
    const uint32_t* pixels = nullptr;
    std::vector<uint32_t> scratch;
  };
  mutable Widened widened_[2];
  // This draw's columns: the source pixels converted and the output columns written.
  struct Span {
    int sourceFirst = 0;
    int sourceEnd = 0;
    int outFirst = 0;
    int outEnd = 0;
    size_t width() const { return static_cast<size_t>(outEnd - outFirst); }
  };
  mutable Span span_;
};

}  // namespace vane::platform
