// SPDX-License-Identifier: GPL-3.0-or-later
// The effects and sound cues 5001-5005 and the drifting decorations 9996-9999 in the enemy pass.
#include "stages/scripts.h"
#include "world/catalogue.h"
#include "world/geometry.h"

namespace vane {

namespace {
// The power-up marker rises for this many passes and leaves in the next.
constexpr int32_t kMarkerLife = 30;
// The special-attack cues leave when their step reaches this value, after one drawn frame.
constexpr int32_t kAttackCueEnd = 2;

// Decorations start 200 pixels above the field, exactly on the top bound, and may stick out left.
bool insideDecorationBounds(const Actor& actor) {
  return actor.x >= -20000 && actor.x <= kFieldRight && actor.y >= -20000 &&
         actor.y <= kFieldBottom;
}
}  // namespace

Fate runRisingMarker(Actor& actor) {
  actor.anim += 1;
  moveByHeading(actor);
  return actor.anim > kMarkerLife ? Fate::Leaves : Fate::Stays;
}

// Made after the enemy pass of its frame, a cue is drawn once and goes in the next pass.
Fate runInstantCue(Actor&) {
  return Fate::Leaves;
}

Fate runAttackCue(Actor& actor) {
  actor.anim += 1;
  return actor.anim == kAttackCueEnd ? Fate::Leaves : Fate::Stays;
}

Fate runDecoration(Actor& actor) {
  moveByHeading(actor);
  return insideDecorationBounds(actor) ? Fate::Stays : Fate::Leaves;
}

}  // namespace vane
