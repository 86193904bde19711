// SPDX-License-Identifier: GPL-3.0-or-later
// Painters shared between sheets: the title and menu pictures reuse the ships and the stages.
#pragma once

#include <cairo.h>

namespace vane::forge {

constexpr int kStage1Height = 1380;
constexpr int kStageWidth = 320;
constexpr int kSkyHeight = 480;

// Ship `type` (1 or 2) centred on the origin, nose up, rolled by `roll` degrees.
void paintShip(cairo_t* cr, int type, double roll);
// The whole Stage 1 ground, kStageWidth x kStage1Height, from the fortress at the top to the sea.
void paintStage1(cairo_t* cr);
// The Stage 2 sky, kStageWidth x kSkyHeight, seamless from its bottom row to its top row.
void paintSky(cairo_t* cr);
// A bevelled steel plate with rivets, the panels' building block.
void paintPlate(cairo_t* cr, double x, double y, double w, double h, bool rivets);

}  // namespace vane::forge
