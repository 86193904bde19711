// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's meaning on each screen.
#include "shell/pad_roles.h"

#include "core/state.h"
#include "host/host.h"
#include "world/actor.h"

namespace vane {

using platform::PadControl;

namespace {

// Not named bind: with a std::array among its arguments, argument lookup also finds std::bind,
// which wins overload resolution wherever <functional> is visible (libc++) and does nothing.
void bindControl(host::PadBindings& bindings, PadControl control, int virtualKey) {
  if (control == kNoControl) return;
  bindings[static_cast<size_t>(control)] = static_cast<uint8_t>(virtualKey);
}

}  // namespace

Screen screenNow() {
  switch (gameState) {
    case TitleA:
    case TitleB:
      return Screen::Title;
    case Menu:
      return Screen::Menu;
    case Stage1:
    case Stage2: {
      // The end tune starts as the game-over or stage-clear lines appear; a ship whose lives
      // went below 0 is lost even before that.
      const Actor* ship = firstPlayer();
      const bool lost = ship != nullptr && ship->lives() < 0;
      return lost || World.endMusicLatch() != 0 ? Screen::StageEnded : Screen::Stage;
    }
    default:
      return Screen::None;
  }
}

host::PadBindings padBindingsFor(Screen screen, const PadRoles& roles) {
  host::PadBindings bindings{};
  if (screen == Screen::None) return bindings;
  bindControl(bindings, roles.choose, host::kVkReturn);
  bindControl(bindings, roles.quit, host::kVkEscape);
  bindControl(bindings, roles.up, host::kVkUp);
  bindControl(bindings, roles.down, host::kVkDown);
  bindControl(bindings, roles.left, host::kVkLeft);
  bindControl(bindings, roles.right, host::kVkRight);
  switch (screen) {
    case Screen::Title:
      for (size_t c = 0; c < static_cast<size_t>(PadControl::Up); ++c) {
        bindControl(bindings, static_cast<PadControl>(c), host::kVkReturn);
      }
      break;
    case Screen::Menu:
      bindControl(bindings, roles.fire, host::kVkReturn);
      bindControl(bindings, roles.pause, host::kVkReturn);
      break;
    case Screen::Stage:
    case Screen::StageEnded: {
      // Once the stage is over, fire and pause are where the game asks for Return.
      const bool ended = screen == Screen::StageEnded;
      bindControl(bindings, roles.fire, ended ? host::kVkReturn : host::kVkShift);
      bindControl(bindings, roles.pause, ended ? host::kVkReturn : host::kVkSpace);
      bindControl(bindings, roles.special, host::kVkZ);
      bindControl(bindings, roles.hold, host::kVkT);
      bindControl(bindings, roles.continueGame, host::kVkC);
      break;
    }
    case Screen::None:
      break;
  }
  return bindings;
}

}  // namespace vane
