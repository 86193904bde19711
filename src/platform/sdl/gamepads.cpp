// SPDX-License-Identifier: GPL-3.0-or-later
// Game controllers: hot-plugging, buttons and the left stick turned into key events.
#include "platform/sdl/gamepads.h"

#include <algorithm>
#include <cstdio>

#include "platform/pad.h"
#include "platform/platform.h"

namespace vane::platform {

namespace {

// Each controller's controls are physical keys numbered where SDL gives no key a scancode, a
// block of them per controller: its buttons first, then the stick's four directions.
constexpr int kFirstPadScancode = 400;
constexpr size_t kStickSources = 4;
constexpr size_t kSourcesPerPad = kPadControlCount + kStickSources;
constexpr int kMaxPads = (SDL_NUM_SCANCODES - kFirstPadScancode) / static_cast<int>(kSourcesPerPad);

// The stick leans a way once past the first threshold and lets go once back under the second.
constexpr int kStickPress = 16000;
constexpr int kStickRelease = 8000;

constexpr std::array<PadControl, kStickSources> kStickControls{PadControl::Up, PadControl::Down,
                                                               PadControl::Left, PadControl::Right};

int keyFor(int slot, size_t source) {
  return kFirstPadScancode + slot * static_cast<int>(kSourcesPerPad) + static_cast<int>(source);
}

}  // namespace

Gamepads::Gamepads() {
  // Each look at the event queue would otherwise search the system's devices for controllers,
  // which costs about a third of the event pump with no controller at all: update() does it.
  SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
  // The controller mappings in SDL_GAMECONTROLLERCONFIG are read as the subsystem starts.
  started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!started_) std::fprintf(stderr, "vane: no game controllers: %s\n", SDL_GetError());
}

void Gamepads::close() {
  for (Pad& pad : pads_) SDL_GameControllerClose(pad.controller);
  pads_.clear();
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  started_ = false;
}

void Gamepads::update(uint64_t nowNanos) {
  if (!started_ || (pads_.empty() && nowNanos < nextSearch_)) return;
  SDL_GameControllerUpdate();
  if (nowNanos >= nextSearch_) nextSearch_ = nowNanos + uint64_t{kSearchMillis} * 1'000'000;
}

int Gamepads::millisToUpdate(uint64_t nowNanos) const {
  if (!started_) return -1;
  if (!pads_.empty()) return kReadMillisWhileWaiting;
  if (nowNanos >= nextSearch_) return 0;
  return static_cast<int>((nextSearch_ - nowNanos + 999'999) / 1'000'000);
}

bool Gamepads::handle(const SDL_Event& event, const Emit& emit) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      open(event.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      remove(event.cdevice.which, emit);
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (Pad* pad = find(event.cbutton.which);
          pad != nullptr && event.cbutton.button < kPadControlCount) {
        setControl(*pad, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN, emit);
      }
      return true;
    case SDL_CONTROLLERAXISMOTION:
      if (Pad* pad = find(event.caxis.which); pad != nullptr) {
        moveStick(*pad, event.caxis.axis, event.caxis.value, emit);
      }
      return true;
    default:
      return false;
  }
}

void Gamepads::open(int deviceIndex) {
  if (!started_) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (find(id) != nullptr) return;
  int slot = 0;
  while (std::any_of(pads_.begin(), pads_.end(), [slot](const Pad& p) { return p.slot == slot; }))
    ++slot;
  if (slot >= kMaxPads) return;
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (controller == nullptr) {
    std::fprintf(stderr, "vane: cannot open a game controller: %s\n", SDL_GetError());
    return;
  }
  pads_.push_back(Pad{controller, id, slot, {}});
}

void Gamepads::remove(SDL_JoystickID id, const Emit& emit) {
  const auto pad =
      std::find_if(pads_.begin(), pads_.end(), [id](const Pad& p) { return p.id == id; });
  if (pad == pads_.end()) return;
  // What it held is let go, as keys are when the keyboard is lost.
  for (size_t source = 0; source < kSourcesPerPad; ++source) {
    setControl(*pad, source, false, emit);
  }
  SDL_GameControllerClose(pad->controller);
  pads_.erase(pad);
}

Gamepads::Pad* Gamepads::find(SDL_JoystickID id) {
  for (Pad& pad : pads_) {
    if (pad.id == id) return &pad;
  }
  return nullptr;
}

// `source` is a button, or kPadControlCount + a stick direction.
void Gamepads::setControl(const Pad& pad, size_t source, bool down, const Emit& emit) {
  Event event;
  event.kind = down ? Event::Kind::KeyDown : Event::Kind::KeyUp;
  event.key = keyFor(pad.slot, source);
  event.fromPad = true;
  event.control =
      static_cast<uint8_t>(source < kPadControlCount ? static_cast<PadControl>(source)
                                                     : kStickControls[source - kPadControlCount]);
  emit(event);
}

void Gamepads::moveStick(Pad& pad, uint8_t axis, int16_t value, const Emit& emit) {
  if (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY) return;
  const size_t negative = axis == SDL_CONTROLLER_AXIS_LEFTY ? 0 : 2;  // up or left
  for (size_t direction : {negative, negative + 1}) {
    const int lean = direction == negative ? -value : value;
    bool& held = pad.stick[direction];
    const bool now = held ? lean > kStickRelease : lean > kStickPress;
    if (now == held) continue;
    held = now;
    setControl(pad, kPadControlCount + direction, now, emit);
  }
}

}  // namespace vane::platform
