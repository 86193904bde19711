// SPDX-License-Identifier: GPL-3.0-or-later
// What collecting an item does to the ship.
#pragma once

#include "world/actor.h"

namespace vane {

// Applies an item of type 4001 or 4002 to `ship` and spawns its cue actors; the caller removes it.
void collectItem(Actor& world, Actor& ship, const Actor& item);

}  // namespace vane
