// SPDX-License-Identifier: GPL-3.0-or-later
// The five passes of the player side of play; updateWorld (stages/stages.h) runs them with the
// stage side's enemy and bullet passes.
#pragma once

#include "world/actor.h"

namespace vane {

void playerPass(Actor& world);           // ship control and weapons
void shotPass(Actor& world);             // player shots
void itemPass(Actor& world);             // energy balls and power-ups
void playerCollisionPass(Actor& world);  // bullets against the ship, items collected
void shotCollisionPass(Actor& world);    // shots against enemies, score and drops

}  // namespace vane
