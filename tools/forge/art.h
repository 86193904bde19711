// The seven sprite sheets of the game, each drawn by code, frame by frame in file order.
#pragma once

#include <string>
#include <vector>

#include "gfx/sprite.h"

namespace vane::forge {

std::vector<SpriteFrame> makePlayerSheet();     // "player.spr": 21 frames
std::vector<SpriteFrame> makeEnemySheet();      // "enemy.spr": 48 frames
std::vector<SpriteFrame> makeBulletSheet();     // "eb.spr": 4 frames
std::vector<SpriteFrame> makeExplosionSheet();  // "x.spr": 18 frames
std::vector<SpriteFrame> makePanelSheet();      // "back001.spr": 2 frames
std::vector<SpriteFrame> makeStageSheet();      // "stage.spr": 6 frames
std::vector<SpriteFrame> makeEtcSheet();        // "etc.spr": 27 frames

struct SheetMaker {
  const char* fileName;
  std::vector<SpriteFrame> (*make)();
};

// Every sprite file the forge writes, in the order the game loads them.
inline constexpr SheetMaker kSheets[] = {
    {"player.spr", makePlayerSheet}, {"enemy.spr", makeEnemySheet}, {"eb.spr", makeBulletSheet},
    {"back001.spr", makePanelSheet}, {"stage.spr", makeStageSheet}, {"x.spr", makeExplosionSheet},
    {"etc.spr", makeEtcSheet},
};

// Writes the nine data files into `dir`; false (and a message on stderr) on failure.
bool writeDataFiles(const std::string& dir);

}  // namespace vane::forge
