// SPDX-License-Identifier: GPL-3.0-or-later
// The change test: which blocks of a picture differ from the one on the screen.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/picture/presentation.h"

namespace vane::host {

using platform::Block;
using platform::RowBand;

// The band of rows holding every difference between two pictures `width` pixels wide, among the
// rows `within`.
RowBand changedRows(const uint16_t* before, const uint16_t* after, int width, RowBand within);
// The band of columns holding every difference within `rows` (a stage's panel stays still while
// its playfield scrolls).
RowBand changedColumns(const uint16_t* before, const uint16_t* after, int width, RowBand rows);

// Pictures are compared in strips of this many rows, each giving one block: a few sprites moving
// over a still background are sent as a few small blocks, not as one spanning them all.
constexpr int kStripRows = 32;
// The blocks holding every difference between two pictures, strip by strip from the top; strips
// without any are left out. `out` is cleared first.
void changedBlocks(const uint16_t* before, const uint16_t* after, int width, int height,
                   std::vector<Block>& out);

}  // namespace vane::host
