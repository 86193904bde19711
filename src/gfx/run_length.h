// SPDX-License-Identifier: GPL-3.0-or-later
// The walk over a frame's run-length lines, shared by the loader's checks, the conversion and
// drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vane::gfx {

enum class Walk { Done, Stopped, Broken };

// Visits the lines of a frame top to bottom. `beginRow(r)` returns false to stop early;
// `copy(r, p, pixels)` receives each copy segment's pixel words and its line position.
// Never reads past `words`: a segment that overshoots the width or runs past the data ends the
// walk as Broken.
template <typename Word, typename BeginRow, typename Copy>
Walk walkRunLength(int width, int height, std::span<Word> words, BeginRow&& beginRow, Copy&& copy) {
  const size_t size = words.size();
  size_t w = 0;
  for (int r = 0; r < height; ++r) {
    if (!beginRow(r)) return Walk::Stopped;
    int p = 0;
    while (p < width) {
      if (size - w < 2) return Walk::Broken;
      const uint16_t kind = words[w];
      const int n = words[w + 1];
      w += 2;
      if (n > width - p) return Walk::Broken;
      if (kind != 0) {
        if (size - w < static_cast<size_t>(n)) return Walk::Broken;
        copy(r, p, words.subspan(w, static_cast<size_t>(n)));
        w += static_cast<size_t>(n);
      }
      p += n;
    }
  }
  return Walk::Done;
}

}  // namespace vane::gfx
