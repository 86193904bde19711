// SPDX-License-Identifier: GPL-3.0-or-later
// Game controllers through XInput: up to four, read as the event queue is looked at.
#pragma once

#include <windows.h>
// After windows.h, which declares its types.
#include <xinput.h>

#include <array>
#include <cstdint>
#include <deque>

#include "platform/platform.h"

namespace vane::platform::win32 {

class Pads {
 public:
  Pads();
  ~Pads();
  Pads(const Pads&) = delete;
  Pads& operator=(const Pads&) = delete;

  // Reads the connected controllers, and every kSearchMillis the empty slots too (reading an
  // empty slot takes the system a long while), queueing their controls' presses and releases.
  void update(uint64_t nowNanos, std::deque<Event>& events);
  // How long a wait for events may last before update() is due, in milliseconds; INFINITE
  // without XInput.
  DWORD millisToUpdate(uint64_t nowNanos) const;

  static constexpr int kSearchMillis = 250;
  static constexpr int kReadMillisWhileWaiting = 10;

 private:
  using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

  struct Slot {
    bool connected = false;
    WORD buttons = 0;
    std::array<bool, 4> stick{};  // up, down, left, right
  };

  void read(DWORD index, std::deque<Event>& events);
  void setControl(DWORD index, size_t source, bool down, std::deque<Event>& events);
  void moveStick(DWORD index, SHORT x, SHORT y, std::deque<Event>& events);

  HMODULE library_ = nullptr;
  GetState getState_ = nullptr;
  std::array<Slot, XUSER_MAX_COUNT> slots_{};
  uint64_t nextSearch_ = 0;
};

}  // namespace vane::platform::win32
