// SPDX-License-Identifier: GPL-3.0-or-later
// What the enemy-list scripts share: volleys of bullets, step tables, bounds, and their handlers.
#pragma once

#include <cstdint>
#include <span>

#include "world/actor.h"

namespace vane {

// What a script handler tells enemyPass about the actor it has just run.
enum class Fate { Stays, Leaves };

// How a bullet of a volley takes its heading.
enum class Aim {
  BelowPlayer,  // at the point 15 pixels below the player
  AtPlayer,     // at the player's position itself
  Fixed,        // the bullet's own angle, added to the volley's base angle
};

// One bullet of a volley: muzzle offset in pixels from the firer, bullet type and speed, and the
// angle added to the aimed heading (or to the base angle of a fixed volley).
struct Shot {
  int32_t muzzleX;
  int32_t muzzleY;
  int32_t bulletType;
  int32_t speed;
  int32_t angle;
  Aim aim;
};

using Volley = std::span<const Shot>;

// Fires every bullet of a volley from the firer's pixel position moved by (offsetX, offsetY).
void fireVolley(const Actor& firer, Volley volley, int32_t offsetX = 0, int32_t offsetY = 0,
                int32_t baseAngle = 0);

// A slot a script step leaves as it is.
constexpr int32_t kKeep = INT32_MIN;

// One row of a script: at this step, fire a volley (if any) from the offset muzzle, then change the
// slots that are not kKeep.
struct ScriptStep {
  int32_t anim;
  Volley volley;
  int32_t muzzleX;
  int32_t muzzleY;
  int32_t speed;
  int32_t angle;
  int32_t hitBottom;
};

// Carries out the row of `script` for the actor's current `anim`, if there is one.
void runScriptStep(Actor& actor, std::span<const ScriptStep> script);

// The play field, for enemies and bullets: a position exactly on a bound is inside.
bool insideField(const Actor& actor);

// The handlers enemyPass dispatches to, by type code.
Fate runFlyer(Actor& actor);         // 1001-1003, 1005-1007
Fate runMine(Actor& actor);          // 1004
Fate runAmbusher(Actor& actor);      // 1008
Fate runMidBoss(Actor& actor);       // 2001, 2002
Fate runSpiralBoss(Actor& actor);    // 3001
Fate runSweepingBoss(Actor& actor);  // 3002
Fate runRisingMarker(Actor& actor);  // 5001
Fate runInstantCue(Actor& actor);    // 5002, 5003
Fate runAttackCue(Actor& actor);     // 5004, 5005
Fate runDecoration(Actor& actor);    // 9996-9999

}  // namespace vane
