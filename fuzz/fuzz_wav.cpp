// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes vane-snd's WAV reader: any bytes give a data chunk inside the file or a refusal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <stdexcept>

#include "tools/snd/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  try {
    if (vane::tools::wavData(bytes, "fuzz.wav").size() > size) std::abort();
  } catch (const std::runtime_error&) {
  }
  return 0;
}
