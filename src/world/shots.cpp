// SPDX-License-Identifier: GPL-3.0-or-later
// The player's shots: their flight, the side shot's turn and swelling, their areas and end of life.
#include "world/shots.h"

#include <cstdint>

#include "world/catalogue.h"
#include "world/geometry.h"
#include "world/passes.h"

namespace vane {

namespace {

// The special-attack shots start below the field, so nothing low removes them.
constexpr int32_t kNoBottom = INT32_MAX;
constexpr int32_t kNoLifetime = 0;
constexpr int32_t kSparkFrames = 5;

// How a flying shot of one type moves and ends.
struct ShotFlight {
  int32_t type;
  bool ages;         // `anim` counts its updates
  int32_t lifetime;  // removed when `anim` reaches it
  int32_t bottom;    // removed below this `y`
  bool missile;      // leaving the area lowers the missile count
};

// clang-format off
constexpr ShotFlight kShotFlights[] = {
  // type  ages   lifetime     bottom        missile
  {9,  true,  kNoLifetime, kFieldBottom, false},
  {10, true,  43,          52000,        false},
  {11, false, kNoLifetime, kNoBottom,    false},
  {12, false, kNoLifetime, kNoBottom,    false},
  {17, true,  kNoLifetime, kFieldBottom, false},
  {18, true,  kNoLifetime, kFieldBottom, true},
  {19, true,  kNoLifetime, kFieldBottom, false},
};
// clang-format on

// The side shot's schedule, applied on the update whose `anim` (before its increment) matches.
constexpr int32_t kSideShotType = 10;
constexpr int32_t kSideShotTurnAnim = 3;
constexpr int32_t kSideShotRiseAngle = 270;
constexpr int32_t kSideShotRiseSpeed = 10;

struct SideShotSwell {
  int32_t anim;
  int32_t hitLeft;
  int32_t hitRight;
  int32_t hitBottom;
};
constexpr SideShotSwell kSideShotSwells[] = {
    {40, -1, 6, 7},
    {41, -2, 7, 9},
    {42, -3, 8, 11},
};

const ShotFlight* flightOf(int32_t type) {
  for (const ShotFlight& f : kShotFlights) {
    if (f.type == type) return &f;
  }
  return nullptr;
}

void runSideShotSchedule(Actor& shot) {
  if (shot.anim == kSideShotTurnAnim) {
    shot.angle = kSideShotRiseAngle;
    shot.speed = kSideShotRiseSpeed;
  }
  for (const SideShotSwell& s : kSideShotSwells) {
    if (shot.anim != s.anim) continue;
    shot.hitLeft = s.hitLeft;
    shot.hitRight = s.hitRight;
    shot.hitBottom = s.hitBottom;
  }
}

bool outside(const Actor& shot, const ShotFlight& f) {
  return shot.x < 0 || shot.x > kFieldRight || shot.y < 0 || shot.y > f.bottom;
}

// One frame of a flying shot; true when it is to be removed.
bool flyShot(Actor& shot, const ShotFlight& f) {
  if (f.type == kSideShotType) runSideShotSchedule(shot);
  moveByHeading(shot);
  if (f.ages) shot.anim += 1;
  if (f.lifetime != kNoLifetime && shot.anim == f.lifetime) return true;
  if (!outside(shot, f)) return false;
  if (f.missile) lowerMissileCount();
  return true;
}

}  // namespace

void lowerMissileCount() {
  if (Actor* head = firstPlayer()) head->missiles() -= 1;
}

void shotPass(Actor&) {
  forEachActor(ShotList, [](Actor& shot, auto& remove) {
    if (shot.mode == kHitMode) {
      // A spent shot rests where it hit for four more frames.
      shot.anim += 1;
      if (shot.anim == kSparkFrames) remove();
      return;
    }
    const ShotFlight* f = flightOf(shot.type);
    if (f != nullptr && flyShot(shot, *f)) remove();
  });
}

}  // namespace vane
