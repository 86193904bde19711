// SPDX-License-Identifier: GPL-3.0-or-later
// The back end in use.
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace vane::platform {

namespace {
Backend* current = nullptr;
}  // namespace

Backend& backend() {
  if (current == nullptr) {
    std::fputs("vane: no platform back end set\n", stderr);
    std::abort();
  }
  return *current;
}

void setBackend(Backend* b) {
  current = b;
}

}  // namespace vane::platform
