// SPDX-License-Identifier: GPL-3.0-or-later
// The mid-bosses 2001 and 2002 and the bosses 3001 (spiral burst) and 3002 (sweep and dive).
#include <array>

#include "core/random.h"
#include "stages/scripts.h"
#include "world/catalogue.h"
#include "world/geometry.h"

namespace vane {

namespace {

constexpr int32_t K = kKeep;
constexpr Volley kNoVolley{};

// clang-format off
// Four bullets fanned round the aim 15 pixels below the ship.
constexpr auto kFourWayFan = std::to_array<Shot>({
    {0, 36, 101, 3, -15, Aim::BelowPlayer},
    {0, 36, 101, 3,  -5, Aim::BelowPlayer},
    {0, 36, 101, 3,   5, Aim::BelowPlayer},
    {0, 36, 101, 3,  15, Aim::BelowPlayer},
});
// Three bullets from the left muzzle, then three from the right, each trio aimed from its muzzle.
constexpr auto kDoubleFan = std::to_array<Shot>({
    {-10, 36, 101, 3, -10, Aim::BelowPlayer},
    {-10, 36, 101, 3,   0, Aim::BelowPlayer},
    {-10, 36, 101, 3,  10, Aim::BelowPlayer},
    { 10, 36, 101, 3, -10, Aim::BelowPlayer},
    { 10, 36, 101, 3,   0, Aim::BelowPlayer},
    { 10, 36, 101, 3,  10, Aim::BelowPlayer},
});
constexpr auto kClimbingShot = std::to_array<Shot>({
    {0, 36, 102, 5, 0, Aim::BelowPlayer},
});
constexpr auto kThreeWayFan = std::to_array<Shot>({
    {0, 0, 103, 7, -15, Aim::BelowPlayer},
    {0, 0, 103, 7,   0, Aim::BelowPlayer},
    {0, 0, 103, 7,  15, Aim::BelowPlayer},
});
// Aimed at the ship's position itself, not below it.
constexpr auto kSixWayFan = std::to_array<Shot>({
    {0, 0, 102, 5, -25, Aim::AtPlayer},
    {0, 0, 102, 5, -15, Aim::AtPlayer},
    {0, 0, 102, 5,  -5, Aim::AtPlayer},
    {0, 0, 102, 5,   5, Aim::AtPlayer},
    {0, 0, 102, 5,  15, Aim::AtPlayer},
    {0, 0, 102, 5,  25, Aim::AtPlayer},
});
constexpr auto kHeavyShot = std::to_array<Shot>({
    {0, 0, 103, 7, 0, Aim::BelowPlayer},
});
// Turned by the burst's timer: the angles rise 5 degrees from one volley to the next.
constexpr auto kSpiralVolley = std::to_array<Shot>({
    {0, 0, 101, 5, -15, Aim::Fixed},
    {0, 0, 101, 5,  15, Aim::Fixed},
    {0, 0, 101, 5,  45, Aim::Fixed},
    {0, 0, 101, 5,  75, Aim::Fixed},
    {0, 0, 101, 5, 105, Aim::Fixed},
});
constexpr auto kDiveBolt = std::to_array<Shot>({
    {0, 0, 104, 30, 90, Aim::Fixed},
});

// Script rows: {anim, volley, muzzle x, muzzle y, speed, angle, hitBottom}; K keeps the slot.
constexpr auto kScript2001 = std::to_array<ScriptStep>({
    {80,  kFourWayFan,   0, 0,   0,    K,   K},
    {90,  kFourWayFan,   0, 0,   K,    K,   K},
    {100, kFourWayFan,   0, 0,   K,    K,   K},
    {105, kClimbingShot, 0, 0,   2,  270,   K},
    {115, kClimbingShot, 0, 0,   K,    K,   K},
    {120, kClimbingShot, 0, 0,   K,    K,   K},
    {125, kClimbingShot, 0, 0,   K,    K,   K},
});
constexpr auto kScript2002 = std::to_array<ScriptStep>({
    {90,  kDoubleFan,    0, 0,   0,    K,   K},
    {100, kDoubleFan,    0, 0,   K,    K,   K},
    {110, kDoubleFan,    0, 0,   K,    K,   K},
    {120, kDoubleFan,    0, 0,   K,    K,   K},
    {125, kClimbingShot, 0, 0,   2,  270,   K},
    {130, kClimbingShot, 0, 0,   K,    K,   K},
    {135, kClimbingShot, 0, 0,   K,    K,   K},
    {140, kClimbingShot, 0, 0,   K,    K,   K},
});
// The sweeping boss halts, offers only the upper half of its box, then breaks away to the left.
constexpr auto kScript3002 = std::to_array<ScriptStep>({
    {237, kNoVolley,     0, 0,   0,    K,   K},
    {300, kNoVolley,     0, 0,   K,    K,   0},
    {350, kNoVolley,     0, 0,  10,  170,   K},
});
// clang-format on

// One random trial of a boss: it draws whether or not it can fire, and fires only between bursts.
struct Trial {
  int32_t modulus;
  Volley volley;
  bool startsBurst;
};

constexpr auto kSpiralBossTrials = std::to_array<Trial>({
    {30, kThreeWayFan, false},
    {30, kSixWayFan, false},
    {100, kNoVolley, true},
});
constexpr auto kSweepingBossTrials = std::to_array<Trial>({
    {15, kHeavyShot, false},
    {30, kSixWayFan, false},
    {100, kNoVolley, true},
});

// The step at which a boss, come down from above the field, halts.
constexpr int32_t kBossHaltStep = 237;
// The last step of the sweeping boss's wait; it draws and fires from the step after.
constexpr int32_t kSweepStartStep = 350;
// The spiral burst's timer wraps to 0 on reaching this value: 90 frames, a volley every 5.
constexpr int32_t kSpiralEnd = 91;
constexpr int32_t kSpiralVolleyEvery = 5;
// The dive attack's timer: the jump, still frames up to this value, bolts, and the end.
constexpr int32_t kDiveJump = 1;
constexpr int32_t kDiveLastStill = 20;
constexpr int32_t kDiveEnd = 50;
// The point the dive attack jumps to, in hundredths: pixel (170, 100).
constexpr int32_t kDiveX = 17000;
constexpr int32_t kDiveY = 10000;
// The sweep's headings tilt down above this line and up at or below it.
constexpr int32_t kSweepLine = 10000;

struct MidBossScript {
  int32_t type;
  std::span<const ScriptStep> script;
};

constexpr auto kMidBossScripts = std::to_array<MidBossScript>({
    {2001, kScript2001},
    {2002, kScript2002},
});

std::span<const ScriptStep> midBossScriptOf(int32_t type) {
  for (const MidBossScript& m : kMidBossScripts) {
    if (m.type == type) return m.script;
  }
  return {};
}

// The mid-bosses may wander a hundred pixels past the field's top and sides.
bool insideWideBounds(const Actor& actor) {
  return actor.x >= -10000 && actor.x <= 43000 && actor.y >= -10000 && actor.y <= kFieldBottom;
}

void runTrials(Actor& boss, std::span<const Trial> trials) {
  for (const Trial& trial : trials) {
    const int r = gameRandom();
    if (r % trial.modulus != 0 || boss.fireTimer != 0) continue;
    fireVolley(boss, trial.volley);
    if (trial.startsBurst) boss.fireTimer = 1;
  }
}

void runSpiralBurst(Actor& boss) {
  if (boss.fireTimer == 0) return;
  const int32_t t = boss.fireTimer;
  if (t % kSpiralVolleyEvery == 0) fireVolley(boss, kSpiralVolley, 0, 0, t);
  boss.fireTimer += 1;
  if (boss.fireTimer == kSpiralEnd) boss.fireTimer = 0;
}

// Beyond a side wall the boss takes a new heading within 24 degrees of the horizontal, back in.
void turnAtWalls(Actor& boss) {
  const bool high = boss.y < kSweepLine;
  if (boss.x < 0) {
    const int r = gameRandom() % 25;
    boss.angle = high ? r : 360 - r;
  } else if (boss.x > kFieldRight) {
    const int r = gameRandom() % 25;
    boss.angle = high ? 180 - r : 180 + r;
  }
}

// Moves the boss, or runs the dive attack while its timer counts: the jump to the top centre,
// still frames, then one bolt a frame straight down.
void runDiveAttack(Actor& boss) {
  if (boss.fireTimer <= 0) {
    moveByHeading(boss);
  } else if (boss.fireTimer == kDiveJump) {
    boss.x = kDiveX;
    boss.y = kDiveY;
    boss.fireTimer += 1;
  } else if (boss.fireTimer == kDiveEnd) {
    boss.fireTimer = 0;
  } else if (boss.fireTimer <= kDiveLastStill) {
    boss.fireTimer += 1;
  } else {
    fireVolley(boss, kDiveBolt);
    boss.fireTimer += 1;
  }
}

}  // namespace

Fate runMidBoss(Actor& actor) {
  actor.anim += 1;
  runScriptStep(actor, midBossScriptOf(actor.type));
  moveByHeading(actor);
  return insideWideBounds(actor) ? Fate::Stays : Fate::Leaves;
}

Fate runSpiralBoss(Actor& actor) {
  actor.anim += 1;
  if (actor.anim == kBossHaltStep) {
    actor.speed = 0;
  } else {
    runTrials(actor, kSpiralBossTrials);
  }
  runSpiralBurst(actor);
  moveByHeading(actor);
  return Fate::Stays;
}

Fate runSweepingBoss(Actor& actor) {
  actor.anim += 1;
  runScriptStep(actor, kScript3002);
  if (actor.anim > kSweepStartStep) {
    turnAtWalls(actor);
    runTrials(actor, kSweepingBossTrials);
  }
  runDiveAttack(actor);
  return Fate::Stays;
}

}  // namespace vane
