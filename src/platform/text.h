// SPDX-License-Identifier: GPL-3.0-or-later
// Text drawn straight into a 16-bit pixel buffer with a font found on the system at run time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace vane::platform {

// The font file the text is drawn with, as fontconfig finds it: DejaVu Sans, else whatever sans
// font the system offers; empty when there is none.
std::string findFontFile();

// Opens that font once for the whole process; false (the reason on stderr) when no usable font
// exists, and text then draws nothing. Start-up calls it so a missing font stops the program
// with a message rather than leaving the screens without their text.
bool loadFont();
// What start-up tells the player when loadFont fails.
constexpr const char* kNoFontMessage =
    "No usable font found. Install the DejaVu fonts (fonts-dejavu-core) or any sans-serif font.";

// A text context writing into `pixels` (width x height, pitch in bytes) in 5-6-5 or 5-5-5.
std::unique_ptr<TextContext> makeTextContext(uint16_t* pixels, int width, int height, int pitch,
                                             bool is565);

}  // namespace vane::platform
