// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the key-script parser of vane-sim: any text either parses into rising frames of known
// keys, at most kMaxKeysPerLine a line, or is refused with a message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/sim/sim_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const vane::sim::KeyScript script =
      vane::sim::parseKeyScript(std::string(reinterpret_cast<const char*>(data), size), error);
  if (!error.empty() && !script.empty()) std::abort();
  long long last = 0;
  for (const auto& [frame, keys] : script) {
    if (frame <= last || keys.size() > vane::kMaxKeysPerLine) std::abort();
    last = frame;
    for (const vane::KeyToken& token : keys) {
      if (token.key < 1 || token.key > 255) std::abort();
    }
  }
  return 0;
}
