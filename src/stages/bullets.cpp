// The enemy bullets 101-104: a straight flight until they leave the play field.
#include "stages/scripts.h"
#include "world/geometry.h"
#include "world/passes.h"

namespace vane {

namespace {
bool isBullet(int32_t type) {
  return type >= 101 && type <= 104;
}
}  // namespace

// Walks bulletList in list order; the angle of a fanned bullet is used as fired, unreduced.
void bulletPass(Actor&) {
  forEachActor(BulletList, [](Actor& bullet, auto& remove) {
    if (!isBullet(bullet.type)) return;
    moveByHeading(bullet);
    if (!insideField(bullet)) remove();
  });
}

}  // namespace vane
