// SPDX-License-Identifier: GPL-3.0-or-later
// XInput controllers: their buttons and left stick turned into key events, as on every system.
#include "platform/win32/pads.h"

#include "platform/pad.h"

namespace vane::platform::win32 {

namespace {

// Each controller's controls are physical keys above the keyboard's (which end at 512), a block
// per controller: its buttons first, then the stick's four directions.
constexpr int kFirstPadKey = 600;
constexpr size_t kStickSources = 4;
constexpr size_t kSourcesPerPad = kPadControlCount + kStickSources;

// The stick leans a way once past the first threshold and lets go once back under the second.
constexpr int kStickPress = 16000;
constexpr int kStickRelease = 8000;

constexpr std::array<PadControl, kStickSources> kStickControls{PadControl::Up, PadControl::Down,
                                                               PadControl::Left, PadControl::Right};

// The XInput button for each control in PadControl's order; XInput reports no Guide button.
constexpr std::array<WORD, kPadControlCount> kButtons{
    XINPUT_GAMEPAD_A,
    XINPUT_GAMEPAD_B,
    XINPUT_GAMEPAD_X,
    XINPUT_GAMEPAD_Y,
    XINPUT_GAMEPAD_BACK,
    0,
    XINPUT_GAMEPAD_START,
    XINPUT_GAMEPAD_LEFT_THUMB,
    XINPUT_GAMEPAD_RIGHT_THUMB,
    XINPUT_GAMEPAD_LEFT_SHOULDER,
    XINPUT_GAMEPAD_RIGHT_SHOULDER,
    XINPUT_GAMEPAD_DPAD_UP,
    XINPUT_GAMEPAD_DPAD_DOWN,
    XINPUT_GAMEPAD_DPAD_LEFT,
    XINPUT_GAMEPAD_DPAD_RIGHT,
};

constexpr uint64_t kNanosPerMilli = 1'000'000;

}  // namespace

// The newest XInput the system has; without any, there are no controllers.
Pads::Pads() {
  for (const wchar_t* name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"}) {
    library_ = LoadLibraryW(name);
    if (library_ != nullptr) break;
  }
  if (library_ != nullptr) {
    getState_ = reinterpret_cast<GetState>(
        reinterpret_cast<void*>(GetProcAddress(library_, "XInputGetState")));
  }
}

Pads::~Pads() {
  if (library_ != nullptr) FreeLibrary(library_);
}

void Pads::update(uint64_t nowNanos, std::deque<Event>& events) {
  if (getState_ == nullptr) return;
  const bool search = nowNanos >= nextSearch_;
  if (search) nextSearch_ = nowNanos + kSearchMillis * kNanosPerMilli;
  for (DWORD index = 0; index < XUSER_MAX_COUNT; ++index) {
    if (slots_[index].connected || search) read(index, events);
  }
}

DWORD Pads::millisToUpdate(uint64_t nowNanos) const {
  if (getState_ == nullptr) return INFINITE;
  for (const Slot& slot : slots_) {
    if (slot.connected) return kReadMillisWhileWaiting;
  }
  if (nowNanos >= nextSearch_) return 0;
  return static_cast<DWORD>((nextSearch_ - nowNanos + kNanosPerMilli - 1) / kNanosPerMilli);
}

void Pads::read(DWORD index, std::deque<Event>& events) {
  XINPUT_STATE state{};
  Slot& slot = slots_[index];
  const bool connected = getState_(index, &state) == ERROR_SUCCESS;
  // A controller unplugged lets go of what it held, as keys are when the keyboard is lost.
  const XINPUT_GAMEPAD pad = connected ? state.Gamepad : XINPUT_GAMEPAD{};
  for (size_t control = 0; control < kPadControlCount; ++control) {
    const WORD button = kButtons[control];
    if (button == 0) continue;
    const bool down = (pad.wButtons & button) != 0;
    if (down != ((slot.buttons & button) != 0)) setControl(index, control, down, events);
  }
  slot.buttons = pad.wButtons;
  moveStick(index, pad.sThumbLX, pad.sThumbLY, events);
  slot.connected = connected;
}

// `source` is a button, or kPadControlCount + a stick direction.
void Pads::setControl(DWORD index, size_t source, bool down, std::deque<Event>& events) {
  Event event;
  event.kind = down ? Event::Kind::KeyDown : Event::Kind::KeyUp;
  event.key = kFirstPadKey + static_cast<int>(index * kSourcesPerPad + source);
  event.fromPad = true;
  event.control =
      static_cast<uint8_t>(source < kPadControlCount ? static_cast<PadControl>(source)
                                                     : kStickControls[source - kPadControlCount]);
  events.push_back(event);
}

// XInput's stick rises upwards: up is a positive y.
void Pads::moveStick(DWORD index, SHORT x, SHORT y, std::deque<Event>& events) {
  const std::array<int, 4> leans{y, -y, -x, x};  // up, down, left, right
  for (size_t direction = 0; direction < 4; ++direction) {
    bool& held = slots_[index].stick[direction];
    const bool now = held ? leans[direction] > kStickRelease : leans[direction] > kStickPress;
    if (now == held) continue;
    held = now;
    setControl(index, kPadControlCount + direction, now, events);
  }
}

}  // namespace vane::platform::win32
