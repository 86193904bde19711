// The seven passes of one world update, in the order updateWorld runs them.
#pragma once

#include "world/actor.h"

namespace vane {

void playerPass(Actor& world);           // ship control and weapons
void enemyPass(Actor& world);            // enemies, bosses, effects, decorations
void shotPass(Actor& world);             // player shots
void bulletPass(Actor& world);           // enemy bullets
void itemPass(Actor& world);             // energy balls and power-ups
void playerCollisionPass(Actor& world);  // bullets against the ship, items collected
void shotCollisionPass(Actor& world);    // shots against enemies, score and drops

}  // namespace vane
