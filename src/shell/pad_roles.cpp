// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's meaning on each screen.
#include "shell/pad_roles.h"

#include "core/state.h"
#include "platform/platform.h"
#include "world/actor.h"

namespace vane {

using platform::PadControl;

namespace {

void bind(platform::PadBindings& bindings, PadControl control, int virtualKey) {
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

platform::PadBindings padBindingsFor(Screen screen, const PadRoles& roles) {
  platform::PadBindings bindings{};
  if (screen == Screen::None) return bindings;
  bind(bindings, PadControl::Up, platform::kVkUp);
  bind(bindings, PadControl::Down, platform::kVkDown);
  bind(bindings, PadControl::Left, platform::kVkLeft);
  bind(bindings, PadControl::Right, platform::kVkRight);
  switch (screen) {
    case Screen::Title:
      for (size_t c = 0; c < static_cast<size_t>(PadControl::Up); ++c) {
        bind(bindings, static_cast<PadControl>(c), platform::kVkReturn);
      }
      break;
    case Screen::Menu:
      bind(bindings, roles.fire, platform::kVkReturn);
      bind(bindings, roles.pause, platform::kVkReturn);
      break;
    case Screen::Stage:
    case Screen::StageEnded: {
      // Once the stage is over, fire and pause are where the game asks for Return.
      const bool ended = screen == Screen::StageEnded;
      bind(bindings, roles.fire, ended ? platform::kVkReturn : platform::kVkShift);
      bind(bindings, roles.pause, ended ? platform::kVkReturn : platform::kVkSpace);
      bind(bindings, roles.special, platform::kVkZ);
      bind(bindings, roles.hold, platform::kVkT);
      bind(bindings, roles.continueGame, platform::kVkC);
      break;
    }
    case Screen::None:
      break;
  }
  return bindings;
}

}  // namespace vane
