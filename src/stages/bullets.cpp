// SPDX-License-Identifier: GPL-3.0-or-later
// The enemy bullets 101-104: a straight flight until they leave the play field.
#include "stages/scripts.h"
#include "stages/stages.h"
#include "world/catalogue.h"
#include "world/geometry.h"

namespace vane {

// Walks bulletList in list order; the angle of a fanned bullet is used as fired, unreduced.
void bulletPass(Actor&) {
  forEachActor(BulletList, [](Actor& bullet, auto& remove) {
    if (!kBulletTypes.contains(bullet.type)) return;
    moveByHeading(bullet);
    if (!insideField(bullet)) remove();
  });
}

}  // namespace vane
