// SPDX-License-Identifier: GPL-3.0-or-later
// The page's controllers (the Gamepad API's standard layout): buttons and the left stick as keys.
#include <array>

#include "platform/pad.h"
#include "platform/web/web_backend.h"

namespace vane::platform {

namespace {

// The standard layout's buttons by their index there (the triggers, 6 and 7, have no control).
constexpr int kNoControl = -1;
constexpr std::array<int, 17> kControlOfButton{
    static_cast<int>(PadControl::A),
    static_cast<int>(PadControl::B),
    static_cast<int>(PadControl::X),
    static_cast<int>(PadControl::Y),
    static_cast<int>(PadControl::LeftShoulder),
    static_cast<int>(PadControl::RightShoulder),
    kNoControl,
    kNoControl,
    static_cast<int>(PadControl::Back),
    static_cast<int>(PadControl::Start),
    static_cast<int>(PadControl::LeftStick),
    static_cast<int>(PadControl::RightStick),
    static_cast<int>(PadControl::Up),
    static_cast<int>(PadControl::Down),
    static_cast<int>(PadControl::Left),
    static_cast<int>(PadControl::Right),
    static_cast<int>(PadControl::Guide),
};

// Each controller's controls are physical keys in a block of their own: its buttons first, then
// the stick's four directions.
constexpr int kStickSources = 4;
constexpr int kSourcesPerPad = static_cast<int>(kPadControlCount) + kStickSources;
constexpr int kMaxPads = (kPhysicalKeys - kFirstPadKey) / kSourcesPerPad;
constexpr std::array<PadControl, kStickSources> kStickControls{PadControl::Up, PadControl::Down,
                                                               PadControl::Left, PadControl::Right};

// The stick leans a way once past the first threshold and lets go once back under the second
// (as on the desktop: 16000 and 8000 of 32767).
constexpr float kStickPress = 16000.0f / 32767.0f;
constexpr float kStickRelease = 8000.0f / 32767.0f;

Event padEvent(int slot, int source, bool down) {
  Event event;
  event.kind = down ? Event::Kind::KeyDown : Event::Kind::KeyUp;
  event.key = kFirstPadKey + slot * kSourcesPerPad + source;
  event.fromPad = true;
  event.control = static_cast<uint8_t>(
      source < static_cast<int>(kPadControlCount)
          ? source
          : static_cast<int>(kStickControls[static_cast<size_t>(source) - kPadControlCount]));
  return event;
}

}  // namespace

void WebBackend::padState(int slot, uint32_t buttons, float stickX, float stickY) {
  if (slot < 0 || slot >= kMaxPads) return;
  if (pads_.size() <= static_cast<size_t>(slot)) pads_.resize(static_cast<size_t>(slot) + 1);
  Pad& pad = pads_[static_cast<size_t>(slot)];
  uint32_t controls = 0;
  for (size_t i = 0; i < kControlOfButton.size(); ++i) {
    if ((buttons >> i & 1) != 0 && kControlOfButton[i] != kNoControl)
      controls |= 1u << kControlOfButton[i];
  }
  for (int c = 0; c < static_cast<int>(kPadControlCount); ++c) {
    const bool now = (controls >> c & 1) != 0;
    if (now != ((pad.buttons >> c & 1) != 0)) push(padEvent(slot, c, now));
  }
  pad.buttons = controls;
  const std::array<float, kStickSources> lean{-stickY, stickY, -stickX, stickX};
  for (int d = 0; d < kStickSources; ++d) {
    const bool held = (pad.stick >> d & 1) != 0;
    const float l = lean[static_cast<size_t>(d)];
    const bool now = held ? l > kStickRelease : l > kStickPress;
    if (now == held) continue;
    pad.stick ^= 1u << d;
    push(padEvent(slot, static_cast<int>(kPadControlCount) + d, now));
  }
}

// What a controller held is let go when it is unplugged, as keys are when the keyboard is lost.
void WebBackend::padGone(int slot) {
  if (slot >= 0 && static_cast<size_t>(slot) < pads_.size()) padState(slot, 0, 0.0f, 0.0f);
}

}  // namespace vane::platform
