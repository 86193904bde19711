// SPDX-License-Identifier: GPL-3.0-or-later
// The stage side of play: the enemy and bullet passes, one world update of all seven passes, the
// two stage timelines and the Stage 2 decoration spawner.
#pragma once

#include "world/actor.h"

namespace vane {

void enemyPass(Actor& world);   // enemies, bosses, effects, decorations
void bulletPass(Actor& world);  // enemy bullets

// One step of play: the seven passes over the World's lists, in their fixed order.
void updateWorld();

void runStage1Timeline();
void runStage2Timeline();
void spawnDecoration();

}  // namespace vane
