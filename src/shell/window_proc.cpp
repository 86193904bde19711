// SPDX-License-Identifier: GPL-3.0-or-later
// The window procedure: activation, the hidden pointer, the title keys, Escape, the saved keyboard.
#include <cstring>

#include "core/devices.h"
#include "core/state.h"
#include "flow/flow.h"
#include "shell/game.h"

namespace vane {

using host::Message;

namespace {

uint8_t savedKeyboard[256] = {};

void onKeyDown(uint32_t virtualKey) {
  if (virtualKey == host::kVkEscape) {
    host::postMessage(Message{host::kWmClose, 0, 0});
    return;
  }
  if (gameState == TitleA) {
    showSecondTitle();
  } else if (gameState == TitleB) {
    enterMenu();
  }
}

}  // namespace

int32_t windowProc(const Message& message) {
  switch (message.id) {
    case host::kWmCreate:
      host::getKeyboardState(savedKeyboard);
      break;
    case host::kWmDestroy:
      host::setKeyboardState(savedKeyboard);
      releaseDevices();
      host::postQuitMessage(0);
      return 0;
    case host::kWmActivateApp:
      appActive = static_cast<int32_t>(message.wParam);
      break;
    case host::kWmSetCursor:
      return 1;
    case host::kWmKeyDown:
      onKeyDown(message.wParam);
      break;
    default:
      break;
  }
  return host::defWindowProc(message);
}

void resetWindowState() {
  std::memset(savedKeyboard, 0, sizeof savedKeyboard);
}

}  // namespace vane
