// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing two pictures row band by row band, then column by column within the band.
#include "host/changes.h"

#include <algorithm>
#include <cstring>

namespace vane::host {

RowBand changedRows(const uint16_t* before, const uint16_t* after, int width, RowBand within) {
  const auto rowDiffers = [&](int row) {
    const size_t offset = static_cast<size_t>(row) * width;
    return std::memcmp(before + offset, after + offset, static_cast<size_t>(width) * 2) != 0;
  };
  int first = within.first;
  while (first < within.end && !rowDiffers(first)) ++first;
  if (first >= within.end) return RowBand{};
  int end = within.end;
  while (!rowDiffers(end - 1)) --end;
  return RowBand{first, end};
}

RowBand changedColumns(const uint16_t* before, const uint16_t* after, int width, RowBand rows) {
  int first = width;
  int end = 0;
  for (int row = rows.first; row < rows.end; ++row) {
    const uint16_t* was = before + static_cast<size_t>(row) * width;
    const uint16_t* now = after + static_cast<size_t>(row) * width;
    // Only the columns outside the band found so far can widen it; most rows match there whole.
    if (first > 0 && std::memcmp(was, now, static_cast<size_t>(first) * 2) != 0) {
      int x = 0;
      while (was[x] == now[x]) ++x;
      first = x;
    }
    const int from = std::max(end, first);
    if (from < width &&
        std::memcmp(was + from, now + from, static_cast<size_t>(width - from) * 2) != 0) {
      int x = width;
      while (was[x - 1] == now[x - 1]) --x;
      end = x;
    }
  }
  return first < end ? RowBand{first, end} : RowBand{};
}

void changedBlocks(const uint16_t* before, const uint16_t* after, int width, int height,
                   std::vector<Block>& out) {
  out.clear();
  for (int top = 0; top < height; top += kStripRows) {
    const RowBand rows =
        changedRows(before, after, width, RowBand{top, std::min(top + kStripRows, height)});
    if (rows.empty()) continue;
    out.push_back(Block{rows, changedColumns(before, after, width, rows)});
  }
}

}  // namespace vane::host
