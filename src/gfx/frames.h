// SPDX-License-Identifier: GPL-3.0-or-later
// The frame catalogue: every frame of the seven sprite files by name, with its size and subject.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <type_traits>

namespace vane {

// The seven sprite files, in the order the game loads them.
enum class Sheet : uint8_t { Player, Enemy, Eb, Back, Stage, X, Etc };

namespace frames {

// One frame: `name` is unique within its sheet and names an artist's override file
// ("<sheet stem>-<name>.png"); the hot spot is the point drawn at the actor's position.
struct FrameInfo {
  int number;  // from 1, the frame's place in its file
  const char* name;
  int16_t width;
  int16_t height;
  int16_t hotX;
  int16_t hotY;
  const char* shows;
};

// The frames of each file, numbered as the file stores them.
enum class Player : uint8_t {
  Ship1HardLeft = 1,
  Ship1Left,
  Ship1Level,
  Ship1Right,
  Ship1HardRight,
  Ship1Bolt,
  Orb,
  OrbBurst1,
  OrbBurst2,
  OrbBurst3,
  WingLeft,
  WingRight,
  Ship2HardLeft,
  Ship2Left,
  Ship2Level,
  Ship2Right,
  Ship2HardRight,
  Ship2Bolt,
  Missile,
  Lance1,
  Lance2,
};
enum class Enemy : uint8_t {
  FighterTurn45 = 1,
  FighterTurn22,
  FighterStraight,
  FighterTurnBack22,
  FighterTurnBack45,
  Dart,
  Mine1,
  Mine2,
  GunshipDownRight,
  GunshipRight,
  GunshipUpRight,
  GunshipDownLeft,
  GunshipLeft,
  GunshipUpLeft,
  MantaTop,
  MantaTurning1,
  MantaEdge,
  MantaTurning2,
  MantaUnder,
  AmbusherRight,
  AmbusherDownRight,
  AmbusherDown,
  AmbusherDownLeft,
  AmbusherLeft,
  AmbusherUpLeft,
  AmbusherUp,
  AmbusherUpRight,
  Bomber,
  Crescent,
  Fortress,
  TurretRight,
  TurretDownRight,
  TurretDown,
  TurretDownLeft,
  TurretLeft,
  TurretUpLeft,
  TurretUp,
  TurretUpRight,
  Warship1,
  Warship2,
  Warship3,
  Warship4,
  WarshipSwept1,
  WarshipSwept2,
  WarshipSwept3,
  WarshipSwept4,
  GlowSmall,
  GlowLarge,
};
enum class Eb : uint8_t { BulletSmall = 1, BulletMedium, BulletLarge, HeavyBolt };
enum class Back : uint8_t { PanelLeft = 1, PanelRight };
enum class Stage : uint8_t {
  Stage1Ground = 1,
  Stage2Sky,
  IslandLarge,
  CloudBank,
  IslandTall,
  IslandSmall
};
enum class X : uint8_t {
  ShipBlast1 = 1,
  ShipBlast2,
  ShipBlast3,
  ShipBlast4,
  ShipBlast5,
  ShipBlast6,
  ShipBlast7,
  ShipBlast8,
  EnemyBlast1,
  EnemyBlast2,
  EnemyBlast3,
  EnemyBlast4,
  EnemyBlast5,
  Spark1,
  Spark2,
  Spark3,
  Spark4,
  Spark5,
};
enum class Etc : uint8_t {
  Digit0 = 1,
  Digit1,
  Digit2,
  Digit3,
  Digit4,
  Digit5,
  Digit6,
  Digit7,
  Digit8,
  Digit9,
  ScoreLabel,
  Sparkle1,
  Sparkle2,
  EnergyBall1,
  EnergyBall2,
  WeaponItem,
  EnergyUnit,
  LifeShip1,
  LifeShip2,
  TitleA,
  TitleB,
  MenuStage1,
  MenuStage2,
  StageMarker,
  ShipMarker,
  MenuButtons,
  MenuCursor,
};

template <class E>
concept FrameName = std::is_enum_v<E> && std::is_same_v<std::underlying_type_t<E>, uint8_t> &&
    !std::is_same_v<E, Sheet>;

// The frame number the file format needs, spelled once: here.
template <FrameName E>
constexpr int32_t number(E frame) {
  return static_cast<int32_t>(frame);
}
// The frame `offset` places after `first`, for runs of frames chosen by a count.
template <FrameName E>
constexpr E after(E first, int offset) {
  return static_cast<E>(number(first) + offset);
}

template <FrameName E>
constexpr Sheet sheetOf();
template <>
constexpr Sheet sheetOf<Player>() {
  return Sheet::Player;
}
template <>
constexpr Sheet sheetOf<Enemy>() {
  return Sheet::Enemy;
}
template <>
constexpr Sheet sheetOf<Eb>() {
  return Sheet::Eb;
}
template <>
constexpr Sheet sheetOf<Back>() {
  return Sheet::Back;
}
template <>
constexpr Sheet sheetOf<Stage>() {
  return Sheet::Stage;
}
template <>
constexpr Sheet sheetOf<X>() {
  return Sheet::X;
}
template <>
constexpr Sheet sheetOf<Etc>() {
  return Sheet::Etc;
}

// A frame of any sheet, as the renderer's tables hold it.
struct FrameRef {
  Sheet sheet;
  int32_t number;
  template <FrameName E>
  constexpr FrameRef(E frame) : sheet(sheetOf<E>()), number(frames::number(frame)) {}  // NOLINT
};

using P = Player;
using N = Enemy;
// clang-format off
inline constexpr auto kPlayerFrames = std::to_array<FrameInfo>({
  {number(P::Ship1HardLeft),  "ship1-hard-left",  44, 44, 22, 22, "ship type 1 banked hard left"},
  {number(P::Ship1Left),      "ship1-left",       44, 44, 22, 22, "ship type 1 banked left"},
  {number(P::Ship1Level),     "ship1-level",      44, 44, 22, 22, "ship type 1 in level flight"},
  {number(P::Ship1Right),     "ship1-right",      44, 44, 22, 22, "ship type 1 banked right"},
  {number(P::Ship1HardRight), "ship1-hard-right", 44, 44, 22, 22, "ship type 1 banked hard right"},
  {number(P::Ship1Bolt),      "ship1-bolt",        6, 21,  0,  0, "ship 1's main shot (9)"},
  {number(P::Orb),            "orb",               6,  6,  0,  0, "the side shot in flight (10)"},
  {number(P::OrbBurst1),      "orb-burst-1",      10, 10,  2,  2, "the side shot bursting, step 1"},
  {number(P::OrbBurst2),      "orb-burst-2",      14, 14,  4,  4, "the side shot bursting, step 2"},
  {number(P::OrbBurst3),      "orb-burst-3",      18, 18,  6,  6, "the side shot bursting, step 3"},
  {number(P::WingLeft),       "wing-left",        11, 21,  0,  0, "ship 1's special attack, left blade (11)"},
  {number(P::WingRight),      "wing-right",       11, 21,  0,  0, "ship 1's special attack, right blade (12)"},
  {number(P::Ship2HardLeft),  "ship2-hard-left",  44, 44, 22, 22, "ship type 2 banked hard left"},
  {number(P::Ship2Left),      "ship2-left",       44, 44, 22, 22, "ship type 2 banked left"},
  {number(P::Ship2Level),     "ship2-level",      44, 44, 22, 22, "ship type 2 in level flight"},
  {number(P::Ship2Right),     "ship2-right",      44, 44, 22, 22, "ship type 2 banked right"},
  {number(P::Ship2HardRight), "ship2-hard-right", 44, 44, 22, 22, "ship type 2 banked hard right"},
  {number(P::Ship2Bolt),      "ship2-bolt",        6, 21,  0,  0, "ship 2's main shot (17)"},
  {number(P::Missile),        "missile",           8, 26,  0,  0, "ship 2's missile (18)"},
  {number(P::Lance1),         "lance-1",          11, 31,  5,  0, "ship 2's special attack, flicker 1 (19)"},
  {number(P::Lance2),         "lance-2",          11, 31,  5,  0, "ship 2's special attack, flicker 2 (19)"},
});

inline constexpr auto kEnemyFrames = std::to_array<FrameInfo>({
  {number(N::FighterTurn45),     "fighter-turn-45",      36, 38, 18,  5, "small fighter (1001, 1002) turned 45 degrees"},
  {number(N::FighterTurn22),     "fighter-turn-22",      36, 38, 18,  5, "small fighter turned 22 degrees"},
  {number(N::FighterStraight),   "fighter-straight",     36, 38, 18,  5, "small fighter flying straight down"},
  {number(N::FighterTurnBack22), "fighter-turn-back-22", 36, 38, 18,  5, "small fighter turned -22 degrees"},
  {number(N::FighterTurnBack45), "fighter-turn-back-45", 36, 38, 18,  5, "small fighter turned -45 degrees"},
  {number(N::Dart),              "dart",                 26, 36, 12,  2, "diving dart (1003)"},
  {number(N::Mine1),             "mine-1",               54, 54, 26,  2, "spiked mine (1004), lights on"},
  {number(N::Mine2),             "mine-2",               54, 54, 26,  2, "spiked mine, lights off"},
  {number(N::GunshipDownRight),  "gunship-down-right",   54, 54, 26, 26, "gunship (1005) heading down-right"},
  {number(N::GunshipRight),      "gunship-right",        54, 54, 26, 26, "gunship (1005) heading right"},
  {number(N::GunshipUpRight),    "gunship-up-right",     54, 54, 26, 26, "gunship (1005) heading up-right"},
  {number(N::GunshipDownLeft),   "gunship-down-left",    54, 54, 26, 26, "gunship (1006) heading down-left"},
  {number(N::GunshipLeft),       "gunship-left",         54, 54, 26, 26, "gunship (1006) heading left"},
  {number(N::GunshipUpLeft),     "gunship-up-left",      54, 54, 26, 26, "gunship (1006) heading up-left"},
  {number(N::MantaTop),          "manta-top",            34, 34, 16,  2, "manta (1007) seen from above"},
  {number(N::MantaTurning1),     "manta-turning-1",      34, 34, 16,  2, "manta flipping over, step 1"},
  {number(N::MantaEdge),         "manta-edge",           34, 34, 16,  2, "manta edge on"},
  {number(N::MantaTurning2),     "manta-turning-2",      34, 34, 16,  2, "manta flipping over, step 3"},
  {number(N::MantaUnder),        "manta-under",          34, 34, 16,  2, "manta showing its underside"},
  {number(N::AmbusherRight),     "ambusher-right",       32, 32, 16, 16, "armoured pod (1008), gun aimed right"},
  {number(N::AmbusherDownRight), "ambusher-down-right",  32, 32, 16, 16, "armoured pod, gun aimed down-right"},
  {number(N::AmbusherDown),      "ambusher-down",        32, 32, 16, 16, "armoured pod, gun aimed down"},
  {number(N::AmbusherDownLeft),  "ambusher-down-left",   32, 32, 16, 16, "armoured pod, gun aimed down-left"},
  {number(N::AmbusherLeft),      "ambusher-left",        32, 32, 16, 16, "armoured pod, gun aimed left"},
  {number(N::AmbusherUpLeft),    "ambusher-up-left",     32, 32, 16, 16, "armoured pod, gun aimed up-left"},
  {number(N::AmbusherUp),        "ambusher-up",          32, 32, 16, 16, "armoured pod, gun aimed up"},
  {number(N::AmbusherUpRight),   "ambusher-up-right",    32, 32, 16, 16, "armoured pod, gun aimed up-right"},
  {number(N::Bomber),            "bomber",              100, 80, 50, 40, "four-engined bomber (2001)"},
  {number(N::Crescent),          "crescent",            100, 80, 50, 40, "crescent cruiser (2002)"},
  {number(N::Fortress),          "fortress",            170,160, 85, 80, "stage 1 boss, the fortress (3001)"},
  {number(N::TurretRight),       "turret-right",         64, 64, 32, 32, "fortress turret aimed right"},
  {number(N::TurretDownRight),   "turret-down-right",    64, 64, 32, 32, "fortress turret aimed down-right"},
  {number(N::TurretDown),        "turret-down",          64, 64, 32, 32, "fortress turret aimed down"},
  {number(N::TurretDownLeft),    "turret-down-left",     64, 64, 32, 32, "fortress turret aimed down-left"},
  {number(N::TurretLeft),        "turret-left",          64, 64, 32, 32, "fortress turret aimed left"},
  {number(N::TurretUpLeft),      "turret-up-left",       64, 64, 32, 32, "fortress turret aimed up-left"},
  {number(N::TurretUp),          "turret-up",            64, 64, 32, 32, "fortress turret aimed up"},
  {number(N::TurretUpRight),     "turret-up-right",      64, 64, 32, 32, "fortress turret aimed up-right"},
  {number(N::Warship1),          "warship-1",           170,176, 85, 88, "stage 2 boss, the warship (3002), lights 1"},
  {number(N::Warship2),          "warship-2",           170,176, 85, 88, "the warship, lights 2"},
  {number(N::Warship3),          "warship-3",           170,176, 85, 88, "the warship, lights 3"},
  {number(N::Warship4),          "warship-4",           170,176, 85, 88, "the warship, lights 4"},
  {number(N::WarshipSwept1),     "warship-swept-1",     170,176, 85, 88, "the warship, claws swept back, lights 1"},
  {number(N::WarshipSwept2),     "warship-swept-2",     170,176, 85, 88, "the warship, claws swept back, lights 2"},
  {number(N::WarshipSwept3),     "warship-swept-3",     170,176, 85, 88, "the warship, claws swept back, lights 3"},
  {number(N::WarshipSwept4),     "warship-swept-4",     170,176, 85, 88, "the warship, claws swept back, lights 4"},
  {number(N::GlowSmall),         "glow-small",           40, 40, 20, 20, "the warship's charging glow, small (blended)"},
  {number(N::GlowLarge),         "glow-large",           50, 50, 25, 25, "the warship's charging glow, large (blended)"},
});

inline constexpr auto kEbFrames = std::to_array<FrameInfo>({
  {number(Eb::BulletSmall),  "bullet-small",   8,  8, 3, 3, "small round bullet (101)"},
  {number(Eb::BulletMedium), "bullet-medium", 12, 12, 5, 5, "medium round bullet (102)"},
  {number(Eb::BulletLarge),  "bullet-large",  17, 17, 8, 8, "large round bullet (103)"},
  {number(Eb::HeavyBolt),    "heavy-bolt",    11, 31, 5, 0, "plasma bolt falling straight down (104)"},
});

inline constexpr auto kBackFrames = std::to_array<FrameInfo>({
  {number(Back::PanelLeft),  "panel-left",  320, 480, 0, 0, "left curtain; its right edge frames the play field"},
  {number(Back::PanelRight), "panel-right", 320, 480, 0, 0, "right curtain with the inset behind the key help"},
});

inline constexpr auto kStageFrames = std::to_array<FrameInfo>({
  {number(Stage::Stage1Ground), "stage1-ground", 320, 1380, 0, 0, "the whole stage 1 ground, scrolled"},
  {number(Stage::Stage2Sky),    "stage2-sky",    320,  480, 0, 0, "the stage 2 sky, repeating top to bottom"},
  {number(Stage::IslandLarge),  "island-large",  200,  150, 0, 0, "floating island (9996)"},
  {number(Stage::CloudBank),    "cloud-bank",    230,  120, 0, 0, "bank of clouds (9997)"},
  {number(Stage::IslandTall),   "island-tall",   150,  170, 0, 0, "tall floating island (9998)"},
  {number(Stage::IslandSmall),  "island-small",  110,   90, 0, 0, "small floating island (9999)"},
});

inline constexpr auto kXFrames = std::to_array<FrameInfo>({
  {number(X::ShipBlast1),  "ship-blast-1",  72, 72, 36, 36, "the ship exploding, step 1"},
  {number(X::ShipBlast2),  "ship-blast-2",  72, 72, 36, 36, "the ship exploding, step 2"},
  {number(X::ShipBlast3),  "ship-blast-3",  72, 72, 36, 36, "the ship exploding, step 3"},
  {number(X::ShipBlast4),  "ship-blast-4",  72, 72, 36, 36, "the ship exploding, step 4"},
  {number(X::ShipBlast5),  "ship-blast-5",  72, 72, 36, 36, "the ship exploding, step 5"},
  {number(X::ShipBlast6),  "ship-blast-6",  72, 72, 36, 36, "the ship exploding, step 6"},
  {number(X::ShipBlast7),  "ship-blast-7",  72, 72, 36, 36, "the ship exploding, step 7"},
  {number(X::ShipBlast8),  "ship-blast-8",  72, 72, 36, 36, "the ship exploding, step 8"},
  {number(X::EnemyBlast1), "enemy-blast-1", 56, 56, 28, 28, "an enemy exploding, step 1"},
  {number(X::EnemyBlast2), "enemy-blast-2", 56, 56, 28, 28, "an enemy exploding, step 2"},
  {number(X::EnemyBlast3), "enemy-blast-3", 56, 56, 28, 28, "an enemy exploding, step 3"},
  {number(X::EnemyBlast4), "enemy-blast-4", 56, 56, 28, 28, "an enemy exploding, step 4"},
  {number(X::EnemyBlast5), "enemy-blast-5", 56, 56, 28, 28, "an enemy exploding, step 5"},
  {number(X::Spark1),      "spark-1",       16, 16,  8,  8, "a shot's spark on a hit, step 1"},
  {number(X::Spark2),      "spark-2",       16, 16,  8,  8, "a shot's spark, step 2"},
  {number(X::Spark3),      "spark-3",       16, 16,  8,  8, "a shot's spark, step 3"},
  {number(X::Spark4),      "spark-4",       16, 16,  8,  8, "a shot's spark, step 4"},
  {number(X::Spark5),      "spark-5",       16, 16,  8,  8, "a shot's spark, step 5"},
});

inline constexpr auto kEtcFrames = std::to_array<FrameInfo>({
  {number(Etc::Digit0),      "digit-0",       14,  16,  0,  0, "score digit 0"},
  {number(Etc::Digit1),      "digit-1",       14,  16,  0,  0, "score digit 1"},
  {number(Etc::Digit2),      "digit-2",       14,  16,  0,  0, "score digit 2"},
  {number(Etc::Digit3),      "digit-3",       14,  16,  0,  0, "score digit 3"},
  {number(Etc::Digit4),      "digit-4",       14,  16,  0,  0, "score digit 4"},
  {number(Etc::Digit5),      "digit-5",       14,  16,  0,  0, "score digit 5"},
  {number(Etc::Digit6),      "digit-6",       14,  16,  0,  0, "score digit 6"},
  {number(Etc::Digit7),      "digit-7",       14,  16,  0,  0, "score digit 7"},
  {number(Etc::Digit8),      "digit-8",       14,  16,  0,  0, "score digit 8"},
  {number(Etc::Digit9),      "digit-9",       14,  16,  0,  0, "score digit 9"},
  {number(Etc::ScoreLabel),  "score-label",   64,  12,  0,  0, "the word SCORE over the digits"},
  {number(Etc::Sparkle1),    "sparkle-1",     26,  26, 13, 13, "power-up sparkle (5001), phase 1"},
  {number(Etc::Sparkle2),    "sparkle-2",     26,  26, 13, 13, "power-up sparkle, phase 2"},
  {number(Etc::EnergyBall1), "energy-ball-1", 13,  13,  6,  6, "energy ball (4001), phase 1"},
  {number(Etc::EnergyBall2), "energy-ball-2", 13,  13,  6,  6, "energy ball, phase 2"},
  {number(Etc::WeaponItem),  "weapon-item",   31,  31, 15, 15, "weapon power-up item (4002)"},
  {number(Etc::EnergyUnit),  "energy-unit",    9,  12,  0,  0, "one unit of the energy gauge"},
  {number(Etc::LifeShip1),   "life-ship1",    14,  16,  0,  0, "life icon of ship type 1"},
  {number(Etc::LifeShip2),   "life-ship2",    14,  16,  0,  0, "life icon of ship type 2"},
  {number(Etc::TitleA),      "title-a",      620, 480,  0,  0, "first title screen"},
  {number(Etc::TitleB),      "title-b",      620, 480,  0,  0, "second title screen"},
  {number(Etc::MenuStage1),  "menu-stage1",  100, 120,  0,  0, "menu picture of stage 1"},
  {number(Etc::MenuStage2),  "menu-stage2",  100, 120,  0,  0, "menu picture of stage 2"},
  {number(Etc::StageMarker), "stage-marker", 120, 130,  0,  0, "frame around the chosen stage"},
  {number(Etc::ShipMarker),  "ship-marker",   34,  40,  0,  0, "frame around the chosen ship"},
  {number(Etc::MenuButtons), "menu-buttons", 240, 142,  0,  0, "the START and QUIT buttons of the menu"},
  {number(Etc::MenuCursor),  "menu-cursor",   84,  40,  0,  0, "the menu cursor"},
});
// clang-format on

// Every row's number is its place in the table, so a frame added to an enum without its row
// (or the other way round) does not compile.
template <size_t Size>
constexpr bool numberedInOrder(const std::array<FrameInfo, Size>& table) {
  for (size_t i = 0; i < Size; ++i) {
    if (table[i].number != static_cast<int>(i) + 1) return false;
  }
  return true;
}
static_assert(numberedInOrder(kPlayerFrames) && kPlayerFrames.size() == number(P::Lance2));
static_assert(numberedInOrder(kEnemyFrames) && kEnemyFrames.size() == number(N::GlowLarge));
static_assert(numberedInOrder(kEbFrames) && kEbFrames.size() == number(Eb::HeavyBolt));
static_assert(numberedInOrder(kBackFrames) && kBackFrames.size() == number(Back::PanelRight));
static_assert(numberedInOrder(kStageFrames) && kStageFrames.size() == number(Stage::IslandSmall));
static_assert(numberedInOrder(kXFrames) && kXFrames.size() == number(X::Spark5));
static_assert(numberedInOrder(kEtcFrames) && kEtcFrames.size() == number(Etc::MenuCursor));

struct SheetInfo {
  Sheet sheet;
  const char* fileName;
  const char* stem;  // the prefix of its frames' override files
  std::span<const FrameInfo> frames;
};

// The seven files in load order.
inline constexpr std::array<SheetInfo, 7> kSheets{{
    {Sheet::Player, "player.spr", "player", kPlayerFrames},
    {Sheet::Enemy, "enemy.spr", "enemy", kEnemyFrames},
    {Sheet::Eb, "eb.spr", "eb", kEbFrames},
    {Sheet::Back, "back001.spr", "back001", kBackFrames},
    {Sheet::Stage, "stage.spr", "stage", kStageFrames},
    {Sheet::X, "x.spr", "x", kXFrames},
    {Sheet::Etc, "etc.spr", "etc", kEtcFrames},
}};

constexpr const SheetInfo& sheetInfo(Sheet sheet) {
  return kSheets[static_cast<size_t>(sheet)];
}

}  // namespace frames

}  // namespace vane
