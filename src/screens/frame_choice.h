// Which sprite frame each actor type shows in each state: the renderer's tables and their walkers.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <span>

#include "gfx/sprite.h"
#include "world/actor.h"

namespace vane {

enum class Sheet : uint8_t { Player, Enemy, Eb, Back, Stage, X, Etc };
const SpriteSheet& sheetOf(Sheet sheet);

// What varies the frame within a row: the actor's own `anim`, or the screen clock.
enum class Clock : uint8_t { Anim, Frame };

constexpr int32_t kLowest = INT32_MIN;
constexpr int32_t kHighest = INT32_MAX;

// One row: actors of `type` whose `anim` lies in low..high draw frame
// base + (clock mod cycle) / step of `sheet`; an aiming row adds the sector towards the ship.
// Every row that matches is drawn, in table order.
struct FrameRule {
  int32_t type;
  int32_t low;
  int32_t high;
  Sheet sheet;
  int32_t base;
  int32_t cycle = 1;
  int32_t step = 1;
  Clock clock = Clock::Anim;
  bool aims = false;
};

// clang-format off
inline constexpr std::array kEnemyFrames = std::to_array<FrameRule>({
  // type  anim from..to         sheet          base cycle step clock         aims
  {1001, 36, kHighest,          Sheet::Enemy,  1},
  {1001, 31, 35,                Sheet::Enemy,  2},
  {1001, kLowest, 30,           Sheet::Enemy,  3},
  {1002, 36, kHighest,          Sheet::Enemy,  5},
  {1002, 31, 35,                Sheet::Enemy,  4},
  {1002, kLowest, 30,           Sheet::Enemy,  3},
  {1003, kLowest, kHighest,     Sheet::Enemy,  6},
  {1004, kLowest, kHighest,     Sheet::Enemy,  7,  2},
  {1005, 101, kHighest,         Sheet::Enemy,  11},
  {1005, 31, 100,               Sheet::Enemy,  10},
  {1005, kLowest, 30,           Sheet::Enemy,  9},
  {1006, 101, kHighest,         Sheet::Enemy,  14},
  {1006, 31, 100,               Sheet::Enemy,  13},
  {1006, kLowest, 30,           Sheet::Enemy,  12},
  {1007, 69, kHighest,          Sheet::Enemy,  19},
  {1007, 67, 68,                Sheet::Enemy,  18},
  {1007, 65, 66,                Sheet::Enemy,  17},
  {1007, 63, 64,                Sheet::Enemy,  16},
  {1007, kLowest, 62,           Sheet::Enemy,  15},
  {1008, 0, 0,                  Sheet::Enemy,  22},
  {1008, 1, 30,                 Sheet::Enemy,  20, 1,   1,   Clock::Anim,  true},
  {1008, 31, kHighest,          Sheet::Enemy,  26},
  {2001, kLowest, kHighest,     Sheet::Enemy,  28},
  {2002, kLowest, kHighest,     Sheet::Enemy,  29},
  {3001, kLowest, kHighest,     Sheet::Enemy,  30},
  {3001, kLowest, kHighest,     Sheet::Enemy,  31, 1,   1,   Clock::Anim,  true},
  {3002, 351, kHighest,         Sheet::Enemy,  43, 4},
  {3002, 301, 350,              Sheet::Enemy,  43, 8,   2},
  {3002, 251, 300,              Sheet::Enemy,  39, 8,   2},
  {3002, kLowest, 250,          Sheet::Enemy,  39, 4},
  {5001, kLowest, kHighest,     Sheet::Etc,    12, 2,   1,   Clock::Frame},
});

inline constexpr std::array kShotFrames = std::to_array<FrameRule>({
  {9,  kLowest, kHighest,       Sheet::Player, 6},
  {10, kLowest, 39,             Sheet::Player, 7},
  {10, 40, 40,                  Sheet::Player, 8},
  {10, 41, 41,                  Sheet::Player, 9},
  {10, 42, 42,                  Sheet::Player, 10},
  {10, 43, kHighest,            Sheet::Player, 7},
  {11, kLowest, kHighest,       Sheet::Player, 11},
  {12, kLowest, kHighest,       Sheet::Player, 12},
  {17, kLowest, kHighest,       Sheet::Player, 18},
  {18, kLowest, kHighest,       Sheet::Player, 19},
  {19, kLowest, kHighest,       Sheet::Player, 20, 2,   1,   Clock::Frame},
});

inline constexpr std::array kItemFrames = std::to_array<FrameRule>({
  {4001, kLowest, kHighest,     Sheet::Etc,    14, 2,   1,   Clock::Frame},
  {4002, kLowest, kHighest,     Sheet::Etc,    16},
});

inline constexpr std::array kBulletFrames = std::to_array<FrameRule>({
  {101, kLowest, kHighest,      Sheet::Eb,     1},
  {102, kLowest, kHighest,      Sheet::Eb,     2},
  {103, kLowest, kHighest,      Sheet::Eb,     3},
  {104, kLowest, kHighest,      Sheet::Eb,     4},
});

// The Stage 2 decorations, drawn whatever their mode.
inline constexpr std::array kDecorationFrames = std::to_array<FrameRule>({
  {9996, kLowest, kHighest,     Sheet::Stage,  3},
  {9997, kLowest, kHighest,     Sheet::Stage,  4},
  {9998, kLowest, kHighest,     Sheet::Stage,  5},
  {9999, kLowest, kHighest,     Sheet::Stage,  6},
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

// First level-flight frame of each ship type in "player.spr".
inline constexpr std::array<int32_t, 3> kShipFrameBase{0, 1, 13};

// Explosions in "x.spr": an exploding enemy shows anim + 9, a shot that hit anim + 14,
// the ship (counting down from 8) 9 - anim.
constexpr int32_t kEnemyBlastBase = 9;
constexpr int32_t kShotSparkBase = 14;
constexpr int32_t kShipBlastTop = 9;

// The sector 0..7 of a heading in degrees, 0 facing right, 2 down, 4 left, 6 up.
int aimSector(int heading);

inline bool ruleMatches(const FrameRule& rule, const Actor& actor) {
  return actor.type == rule.type && actor.anim >= rule.low && actor.anim <= rule.high;
}

// The frame a matching row selects; `aimHeading` is the heading to the ship, read by aiming rows.
int32_t frameOf(const FrameRule& rule, const Actor& actor, uint32_t frameClock, int aimHeading);

}  // namespace vane
