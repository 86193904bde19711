// SPDX-License-Identifier: GPL-3.0-or-later
// Text drawn straight into a 16-bit pixel buffer from the glyph table baked at build time.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "host/glyph_table.h"

namespace vane::host {

// Text output on the back buffer, between unlock and flip.
class TextContext {
 public:
  virtual ~TextContext() = default;
  // Colour as 0x00BBGGRR.
  virtual void setTextColor(uint32_t colorRef) = 0;
  virtual void setTransparentBackground() = 0;
  // Writes one line with (x, y) as the top-left of the line.
  virtual void textOut(int x, int y, std::string_view text) = 0;
};

// The width of a line of text as drawn, in pixels.
int textWidth(std::string_view text);

// A text context writing into `pixels` (width x height, pitch in bytes) in 5-6-5 or 5-5-5.
std::unique_ptr<TextContext> makeTextContext(uint16_t* pixels, int width, int height, int pitch,
                                             bool is565);

}  // namespace vane::host
