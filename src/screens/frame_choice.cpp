// SPDX-License-Identifier: GPL-3.0-or-later
// The sheets behind the renderer's tables, and the frame a table row selects.
#include "screens/frame_choice.h"

namespace vane {

const SpriteSheet& sheetOf(Sheet sheet) {
  switch (sheet) {
    case Sheet::Player:
      return playerSheet;
    case Sheet::Enemy:
      return enemySheet;
    case Sheet::Eb:
      return ebSheet;
    case Sheet::Back:
      return backSheet;
    case Sheet::Stage:
      return stageSheet;
    case Sheet::X:
      return xSheet;
    case Sheet::Etc:
      return etcSheet;
  }
  return etcSheet;
}

int aimSector(int heading) {
  if (heading < 22.5 || heading >= 337.5) return 0;
  return static_cast<int>((heading - 22.5) / 45.0) + 1;
}

int32_t frameOf(const FrameRule& rule, const Actor& actor, uint32_t frameClock, int aimHeading) {
  // The anim clock keeps the signed remainder; the screen clock is unsigned.
  const int32_t phase = rule.clock == Clock::Anim
                            ? actor.anim % rule.cycle
                            : static_cast<int32_t>(frameClock % static_cast<uint32_t>(rule.cycle));
  const int32_t aim = rule.aims ? aimSector(aimHeading) : 0;
  return rule.first.number + phase / rule.step + aim;
}

}  // namespace vane
