// SPDX-License-Identifier: GPL-3.0-or-later
// The clock and the dialog box, passed to the back end; the knobs and the reset of the host.
#include "host/system.h"

#include "host/host.h"
#include "host/internal.h"
#include "platform/platform.h"

namespace vane::host {

namespace {
constexpr uint64_t kNanosPerMilli = 1'000'000;
Faults refusals;
}  // namespace

uint32_t tickCount() {
  return static_cast<uint32_t>(platform::backend().now() / kNanosPerMilli);
}

uint64_t monotonicNanos() {
  return platform::backend().now();
}

void sleepNanos(uint64_t nanos) {
  platform::backend().sleep(nanos);
}

void messageBox(std::string_view text, std::string_view title, Icon icon) {
  platform::backend().messageBox(text, title, icon);
}

Faults& faults() {
  return refusals;
}

void resetHost() {
  internal::resetSound();
  internal::resetDisplay();
  internal::resetMessages();
  internal::resetKeyboard();
  refusals = Faults{};
}

}  // namespace vane::host
