// The window procedure: activation, the hidden pointer, the title keys, Escape, the saved keyboard.
#include <cstring>

#include "shell/devices.h"
#include "shell/game.h"
#include "shell/state.h"
#include "world/actor.h"

namespace vane {

using platform::Message;

namespace {

uint8_t savedKeyboard[256] = {};

void leaveTitleA() {
  frameCount = 0;
  gameState = TitleB;
}

void enterMenu() {
  frameCount = 0;
  World.menuCursor() = 1;
  World.stageChoice() = 1;
  World.shipChoice() = 1;
  World.upLatch() = 0;
  World.downLatch() = 0;
  World.endMusicLatch() = 0;
  gameState = Menu;
}

void onKeyDown(uint32_t virtualKey) {
  if (virtualKey == platform::kVkEscape) {
    platform::backend().postMessage(Message{platform::kWmClose, 0, 0});
    return;
  }
  if (gameState == TitleA) {
    leaveTitleA();
  } else if (gameState == TitleB) {
    enterMenu();
  }
}

}  // namespace

int32_t windowProc(const Message& message) {
  switch (message.id) {
    case platform::kWmCreate:
      platform::backend().getKeyboardState(savedKeyboard);
      break;
    case platform::kWmDestroy:
      platform::backend().setKeyboardState(savedKeyboard);
      releaseDevices();
      platform::postQuitMessage(0);
      return 0;
    case platform::kWmActivateApp:
      appActive = static_cast<int32_t>(message.wParam);
      break;
    case platform::kWmSetCursor:
      return 1;
    case platform::kWmKeyDown:
      onKeyDown(message.wParam);
      break;
    default:
      break;
  }
  return platform::defWindowProc(message);
}

void resetWindowState() {
  std::memset(savedKeyboard, 0, sizeof savedKeyboard);
}

}  // namespace vane
