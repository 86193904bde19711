// SPDX-License-Identifier: GPL-3.0-or-later
// The enemy pass and the scripts of the ordinary enemies 1001-1008.
#include <array>

#include "stages/scripts.h"
#include "stages/stages.h"
#include "world/catalogue.h"
#include "world/geometry.h"

namespace vane {

namespace {

constexpr int32_t K = kKeep;
constexpr Volley kNoVolley{};

// One bullet of type 101 at speed 3, aimed 15 pixels below the ship.
constexpr auto kAimedShotBullets = std::to_array<Shot>({
    {0, 0, 101, 3, 0, Aim::BelowPlayer},
});
constexpr Volley kAimedShot{kAimedShotBullets};

// The burst of the mine: 16 bullets all round, at trunc(i * 22.5) degrees.
constexpr std::array<Shot, 16> makeRing() {
  std::array<Shot, 16> ring{};
  for (int i = 0; i < 16; ++i) {
    ring[i] = Shot{0, 0, 101, 3, static_cast<int32_t>(i * 22.5), Aim::Fixed};
  }
  return ring;
}
constexpr std::array<Shot, 16> kRing = makeRing();

// clang-format off
// Script rows: {anim, volley, muzzle x, muzzle y, speed, angle, hitBottom}; K keeps the slot.
constexpr auto kScript1001 = std::to_array<ScriptStep>({
    {24, kAimedShot,   0,  27,   0,    K,   K},
    {26, kAimedShot,   0,  27,   K,    K,   K},
    {28, kAimedShot,   0,  27,   K,    K,   K},
    {30, kNoVolley,    0,   0,   3,  135,   K},
});
constexpr auto kScript1002 = std::to_array<ScriptStep>({
    {24, kAimedShot,   0,  27,   0,    K,   K},
    {26, kAimedShot,   0,  27,   K,    K,   K},
    {28, kAimedShot,   0,  27,   K,    K,   K},
    {30, kNoVolley,    0,   0,   3,   45,   K},
});
constexpr auto kScript1003 = std::to_array<ScriptStep>({
    {20, kAimedShot,   0,  32,   K,    K,   K},
    {30, kAimedShot,   0,  32,   K,    K,   K},
    {40, kAimedShot,   0,  32,   K,    K,   K},
});
constexpr auto kScript1005 = std::to_array<ScriptStep>({
    {30, kNoVolley,    0,   0,   K,    0,   K},
    {40, kAimedShot,  22,   0,   K,    K,   K},
    {60, kAimedShot,  22,   0,   K,    K,   K},
    {80, kAimedShot,  22,   0,   K,    K,   K},
    {100, kAimedShot, 22,   0,   K,    K,   K},
    {110, kNoVolley,   0,   0,   K,  315,   K},
});
constexpr auto kScript1006 = std::to_array<ScriptStep>({
    {30, kNoVolley,    0,   0,   K,  180,   K},
    {40, kAimedShot, -22,   0,   K,    K,   K},
    {60, kAimedShot, -22,   0,   K,    K,   K},
    {80, kAimedShot,  22,   0,   K,    K,   K},
    {100, kAimedShot, 22,   0,   K,    K,   K},
    {110, kNoVolley,   0,   0,   K,  225,   K},
});
// Step 60 fires and then does what step 62 does.
constexpr auto kScript1007 = std::to_array<ScriptStep>({
    {40, kAimedShot,   0,  30,   K,    K,   K},
    {60, kAimedShot,   0,  30,   0,  270,  15},
    {62, kNoVolley,    0,   0,   0,  270,  15},
    {64, kNoVolley,    0,   0,   K,    K,   2},
    {66, kNoVolley,    0,   0,   2,    K,  15},
    {68, kNoVolley,    0,   0,   3,    K,  30},
});
// Counted only from the frame the ambusher first finds itself below the ship.
constexpr auto kScript1008 = std::to_array<ScriptStep>({
    {10, kAimedShot,   0,   0,   0,    K,   K},
    {15, kAimedShot,   0,   0,   K,    K,   K},
    {20, kAimedShot,   0,   0,   K,    K,   K},
    {30, kNoVolley,    0,   0,   3,  270,   K},
});
// clang-format on

struct FlyerScript {
  int32_t type;
  std::span<const ScriptStep> script;
};

constexpr auto kFlyerScripts = std::to_array<FlyerScript>({
    {1001, kScript1001},
    {1002, kScript1002},
    {1003, kScript1003},
    {1005, kScript1005},
    {1006, kScript1006},
    {1007, kScript1007},
});

std::span<const ScriptStep> flyerScriptOf(int32_t type) {
  for (const FlyerScript& f : kFlyerScripts) {
    if (f.type == type) return f.script;
  }
  return {};
}

Fate moveWithinField(Actor& actor) {
  moveByHeading(actor);
  return insideField(actor) ? Fate::Stays : Fate::Leaves;
}

// The mode of an ambusher once it has been below the ship.
constexpr int32_t kTriggered = 1;
// The explosion step at which a wreck leaves the list.
constexpr int32_t kWreckEnd = 5;

struct Handler {
  int32_t firstType;
  int32_t lastType;
  Fate (*run)(Actor&);
};

constexpr auto kHandlers = std::to_array<Handler>({
    {1001, 1003, runFlyer},
    {1004, 1004, runMine},
    {1005, 1007, runFlyer},
    {1008, 1008, runAmbusher},
    {2001, 2002, runMidBoss},
    {3001, 3001, runSpiralBoss},
    {3002, 3002, runSweepingBoss},
    {5001, 5001, runRisingMarker},
    {5002, 5003, runInstantCue},
    {5004, 5005, runAttackCue},
    {9996, 9999, runDecoration},
});

Fate runActor(Actor& actor) {
  if (actor.mode == kHitMode) {
    actor.anim += 1;
    return actor.anim == kWreckEnd ? Fate::Leaves : Fate::Stays;
  }
  for (const Handler& h : kHandlers) {
    if (actor.type >= h.firstType && actor.type <= h.lastType) return h.run(actor);
  }
  return Fate::Stays;
}

}  // namespace

Fate runFlyer(Actor& actor) {
  actor.anim += 1;
  runScriptStep(actor, flyerScriptOf(actor.type));
  return moveWithinField(actor);
}

Fate runMine(Actor& actor) {
  actor.anim += 1;
  if (pixelY(actor) > 120) {
    fireVolley(actor, kRing);
    actor.y = -10;  // below the field, so the bounds test takes the mine away this very frame
    actor.speed = 0;
  }
  return moveWithinField(actor);
}

Fate runAmbusher(Actor& actor) {
  const Actor* player = firstPlayer();
  if (player != nullptr && pixelY(actor) > pixelY(*player)) actor.mode = kTriggered;
  if (actor.mode == kTriggered) actor.anim += 1;
  runScriptStep(actor, kScript1008);
  return moveWithinField(actor);
}

// Walks enemyList in list order; the passes work on the global World's lists.
void enemyPass(Actor&) {
  forEachActor(EnemyList, [](Actor& actor, auto& remove) {
    if (runActor(actor) == Fate::Leaves) remove();
  });
}

}  // namespace vane
