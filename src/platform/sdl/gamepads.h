// SPDX-License-Identifier: GPL-3.0-or-later
// Game controllers through SDL: plugged in and out at any time, their controls as key events.
#pragma once

#include <SDL.h>

#include <array>
#include <functional>
#include <vector>

#include "platform/platform.h"

namespace vane::platform {

class Gamepads {
 public:
  Gamepads();
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;

  // Closes every controller; called before SDL itself shuts down.
  void close();

  // Takes in a controller event, giving the key events of its buttons and stick directions to
  // `emit`. False for events of other devices.
  using Emit = std::function<void(const Event&)>;
  bool handle(const SDL_Event& event, const Emit& emit);

  size_t openCount() const { return pads_.size(); }

  // Reads the open controllers, and looks for controllers plugged in or out, queueing their
  // events; SDL's own event pump does not. Called before each look at the event queue: open
  // controllers are read every time, the search is made only every kSearchMillis.
  void update(uint64_t nowNanos);
  // How long a wait for events may last before update() is due again, in milliseconds.
  int millisToUpdate(uint64_t nowNanos) const;

  static constexpr int kSearchMillis = 250;
  static constexpr int kReadMillisWhileWaiting = 10;

 private:
  struct Pad {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    int slot = 0;
    std::array<bool, 4> stick{};  // up, down, left, right
  };

  void open(int deviceIndex);
  void remove(SDL_JoystickID id, const Emit& emit);
  Pad* find(SDL_JoystickID id);
  void setControl(const Pad& pad, size_t source, bool down, const Emit& emit);
  void moveStick(Pad& pad, uint8_t axis, int16_t value, const Emit& emit);

  bool started_ = false;
  std::vector<Pad> pads_;
  uint64_t nextSearch_ = 0;  // monotonic nanoseconds
};

}  // namespace vane::platform
