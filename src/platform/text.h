// Text drawn straight into a 16-bit pixel buffer, shared by both back ends.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"

namespace vane::platform {

// A text context writing into `pixels` (width x height, pitch in bytes) in 5-6-5 or 5-5-5.
// Fails loudly (message on stderr and exit status 1) when the font cannot be opened.
std::unique_ptr<TextContext> makeTextContext(uint16_t* pixels, int width, int height, int pitch,
                                             bool is565);

}  // namespace vane::platform
