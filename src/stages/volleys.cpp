// SPDX-License-Identifier: GPL-3.0-or-later
// Firing volleys of enemy bullets, carrying out script steps, and the play-field bounds.
#include "stages/scripts.h"
#include "world/catalogue.h"
#include "world/geometry.h"

namespace vane {

namespace {

// The heading of an aimed bullet from the muzzle (mx, my); straight down when there is no ship.
int32_t aimedHeading(int32_t mx, int32_t my, int32_t belowPlayer) {
  const Actor* player = firstPlayer();
  if (player == nullptr) return 90;
  return headingTo(mx, my, pixelX(*player), pixelY(*player) + belowPlayer);
}

int32_t headingOf(const Shot& shot, int32_t mx, int32_t my, int32_t baseAngle) {
  switch (shot.aim) {
    case Aim::BelowPlayer:
      return aimedHeading(mx, my, 15) + shot.angle;
    case Aim::AtPlayer:
      return aimedHeading(mx, my, 0) + shot.angle;
    case Aim::Fixed:
      break;
  }
  return baseAngle + shot.angle;
}

void setUnlessKept(int32_t& slot, int32_t value) {
  if (value != kKeep) slot = value;
}

}  // namespace

void fireVolley(const Actor& firer, Volley volley, int32_t offsetX, int32_t offsetY,
                int32_t baseAngle) {
  for (const Shot& shot : volley) {
    const int32_t mx = pixelX(firer) + offsetX + shot.muzzleX;
    const int32_t my = pixelY(firer) + offsetY + shot.muzzleY;
    World.spawnActor(3, shot.bulletType, mx, my, headingOf(shot, mx, my, baseAngle), shot.speed);
  }
}

void runScriptStep(Actor& actor, std::span<const ScriptStep> script) {
  for (const ScriptStep& step : script) {
    if (step.anim != actor.anim) continue;
    fireVolley(actor, step.volley, step.muzzleX, step.muzzleY);
    setUnlessKept(actor.speed, step.speed);
    setUnlessKept(actor.angle, step.angle);
    setUnlessKept(actor.hitBottom, step.hitBottom);
  }
}

bool insideField(const Actor& actor) {
  return actor.x >= 0 && actor.x <= kFieldRight && actor.y >= 0 && actor.y <= kFieldBottom;
}

}  // namespace vane
