// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the reader of vane-spr's index, the text that packing trusts for frame sizes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/spr/spr_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vane::tools::checkSpriteIndex(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
