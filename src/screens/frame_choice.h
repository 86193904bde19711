// SPDX-License-Identifier: GPL-3.0-or-later
// Which sprite frame each actor type shows in each state: the renderer's tables and their walkers.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <span>

#include "gfx/frames.h"
#include "gfx/sprite.h"
#include "world/actor.h"

namespace vane {

const SpriteSheet& sheetOf(Sheet sheet);

// What varies the frame within a row: the actor's own `anim`, or the screen clock.
enum class Clock : uint8_t { Anim, Frame };

constexpr int32_t kLowest = INT32_MIN;
constexpr int32_t kHighest = INT32_MAX;

// One row: actors of `type` whose `anim` lies in low..high draw the frame
// (clock mod cycle) / step places after `first`; an aiming row adds the sector towards the ship.
// Every row that matches is drawn, in table order.
struct FrameRule {
  int32_t type;
  int32_t low;
  int32_t high;
  frames::FrameRef first;
  int32_t cycle = 1;
  int32_t step = 1;
  Clock clock = Clock::Anim;
  bool aims = false;
};

// clang-format off
inline constexpr std::array kEnemyFrames = std::to_array<FrameRule>({
  // type  anim from..to         first frame            cycle step clock      aims
  {1001, 36, kHighest,          frames::Enemy::FighterTurn45},
  {1001, 31, 35,                frames::Enemy::FighterTurn22},
  {1001, kLowest, 30,           frames::Enemy::FighterStraight},
  {1002, 36, kHighest,          frames::Enemy::FighterTurnBack45},
  {1002, 31, 35,                frames::Enemy::FighterTurnBack22},
  {1002, kLowest, 30,           frames::Enemy::FighterStraight},
  {1003, kLowest, kHighest,     frames::Enemy::Dart},
  {1004, kLowest, kHighest,     frames::Enemy::Mine1,                2},
  {1005, 101, kHighest,         frames::Enemy::GunshipUpRight},
  {1005, 31, 100,               frames::Enemy::GunshipRight},
  {1005, kLowest, 30,           frames::Enemy::GunshipDownRight},
  {1006, 101, kHighest,         frames::Enemy::GunshipUpLeft},
  {1006, 31, 100,               frames::Enemy::GunshipLeft},
  {1006, kLowest, 30,           frames::Enemy::GunshipDownLeft},
  {1007, 69, kHighest,          frames::Enemy::MantaUnder},
  {1007, 67, 68,                frames::Enemy::MantaTurning2},
  {1007, 65, 66,                frames::Enemy::MantaEdge},
  {1007, 63, 64,                frames::Enemy::MantaTurning1},
  {1007, kLowest, 62,           frames::Enemy::MantaTop},
  {1008, 0, 0,                  frames::Enemy::AmbusherDown},
  {1008, 1, 30,                 frames::Enemy::AmbusherRight,        1,   1,   Clock::Anim,  true},
  {1008, 31, kHighest,          frames::Enemy::AmbusherUp},
  {2001, kLowest, kHighest,     frames::Enemy::Bomber},
  {2002, kLowest, kHighest,     frames::Enemy::Crescent},
  {3001, kLowest, kHighest,     frames::Enemy::Fortress},
  {3001, kLowest, kHighest,     frames::Enemy::TurretRight,          1,   1,   Clock::Anim,  true},
  {3002, 351, kHighest,         frames::Enemy::WarshipSwept1,        4},
  {3002, 301, 350,              frames::Enemy::WarshipSwept1,        8,   2},
  {3002, 251, 300,              frames::Enemy::Warship1,             8,   2},
  {3002, kLowest, 250,          frames::Enemy::Warship1,             4},
  {5001, kLowest, kHighest,     frames::Etc::Sparkle1,               2,   1,   Clock::Frame},
});

inline constexpr std::array kShotFrames = std::to_array<FrameRule>({
  {9,  kLowest, kHighest,       frames::Player::Ship1Bolt},
  {10, kLowest, 39,             frames::Player::Orb},
  {10, 40, 40,                  frames::Player::OrbBurst1},
  {10, 41, 41,                  frames::Player::OrbBurst2},
  {10, 42, 42,                  frames::Player::OrbBurst3},
  {10, 43, kHighest,            frames::Player::Orb},
  {11, kLowest, kHighest,       frames::Player::WingLeft},
  {12, kLowest, kHighest,       frames::Player::WingRight},
  {17, kLowest, kHighest,       frames::Player::Ship2Bolt},
  {18, kLowest, kHighest,       frames::Player::Missile},
  {19, kLowest, kHighest,       frames::Player::Lance1,              2,   1,   Clock::Frame},
});

inline constexpr std::array kItemFrames = std::to_array<FrameRule>({
  {4001, kLowest, kHighest,     frames::Etc::EnergyBall1,            2,   1,   Clock::Frame},
  {4002, kLowest, kHighest,     frames::Etc::WeaponItem},
});

inline constexpr std::array kBulletFrames = std::to_array<FrameRule>({
  {101, kLowest, kHighest,      frames::Eb::BulletSmall},
  {102, kLowest, kHighest,      frames::Eb::BulletMedium},
  {103, kLowest, kHighest,      frames::Eb::BulletLarge},
  {104, kLowest, kHighest,      frames::Eb::HeavyBolt},
});

// The Stage 2 decorations, drawn whatever their mode.
inline constexpr std::array kDecorationFrames = std::to_array<FrameRule>({
  {9996, kLowest, kHighest,     frames::Stage::IslandLarge},
  {9997, kLowest, kHighest,     frames::Stage::CloudBank},
  {9998, kLowest, kHighest,     frames::Stage::IslandTall},
  {9999, kLowest, kHighest,     frames::Stage::IslandSmall},
});
// clang-format on

// Actors that are never drawn but sound an effect in every frame they are in the list.
struct SoundCue {
  int32_t type;
  int effect;
};
inline constexpr std::array kSoundCues = std::to_array<SoundCue>({
    {5002, 3},  // energy ball collected
    {5003, 7},  // weapon item collected
    {5004, 5},  // special attack of the first ship
    {5005, 6},  // special attack of the second ship
});

// The ship while invulnerable shows through the picture below it, less so as it tilts further.
struct BlendRule {
  int32_t low;
  int32_t high;
  int level;
};
inline constexpr std::array kShipBlendLevels = std::to_array<BlendRule>({
    {41, kHighest, 14},
    {31, 40, 16},
    {kLowest, 30, 20},
});

// The first of the five bank frames of each ship type (1, 2) in "player.spr"; type 0 has none.
inline constexpr std::array<int32_t, 3> kShipFrameBase{
    0, frames::number(frames::Player::Ship1HardLeft),
    frames::number(frames::Player::Ship2HardLeft)};

// Explosions in "x.spr": an exploding enemy shows its anim-th frame after the first enemy blast,
// a shot that hit its anim-th after the first spark, the ship (anim counting down from 8) the
// blast step 9 - anim.
constexpr int32_t kEnemyBlastBase = frames::number(frames::X::EnemyBlast1);
constexpr int32_t kShotSparkBase = frames::number(frames::X::Spark1);
constexpr int32_t kShipBlastTop = frames::number(frames::X::ShipBlast8) + 1;

// The sector 0..7 of a heading in degrees, 0 facing right, 2 down, 4 left, 6 up.
int aimSector(int heading);

inline bool ruleMatches(const FrameRule& rule, const Actor& actor) {
  return actor.type == rule.type && actor.anim >= rule.low && actor.anim <= rule.high;
}

// The frame a matching row selects; `aimHeading` is the heading to the ship, read by aiming rows.
int32_t frameOf(const FrameRule& rule, const Actor& actor, uint32_t frameClock, int aimHeading);

}  // namespace vane
