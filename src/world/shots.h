// SPDX-License-Identifier: GPL-3.0-or-later
// Bookkeeping shared by the shot and collision passes.
#pragma once

namespace vane {

// One missile fewer in flight: lowers `aux` of firstPlayer (nothing when playerList is empty).
void lowerMissileCount();

}  // namespace vane
