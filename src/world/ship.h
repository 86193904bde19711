// SPDX-License-Identifier: GPL-3.0-or-later
// The player ship's start: where and with what it appears, and its return there.
#pragma once

#include <cstdint>

#include "world/actor.h"

namespace vane {

// The ship appears at pixel (170, 400) with 300 energy and 2 lives in reserve.
constexpr int32_t kShipHomeX = 170;
constexpr int32_t kShipHomeY = 400;
constexpr int32_t kShipStartEnergy = 300;
constexpr int32_t kShipStartLives = 2;

// Creates the one ship of a game, of the given kind, at its home.
void spawnShip(Actor& world, int32_t kind);

// Back to the home position with the first weapon level and full energy; the lives, the mode and
// the tilt are the caller's.
void respawnShip(Actor& ship);

}  // namespace vane
