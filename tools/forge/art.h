// SPDX-License-Identifier: GPL-3.0-or-later
// The seven sprite sheets of the game, each drawn by code, frame by frame in catalogue order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "gfx/frames.h"
#include "gfx/sprite.h"

namespace vane::forge {

// A drawn frame with the catalogue number it was drawn for.
struct ForgedFrame {
  template <frames::FrameName E>
  ForgedFrame(E name, SpriteFrame drawn) : number(frames::number(name)), frame(std::move(drawn)) {}
  int number;
  SpriteFrame frame;
};
using ForgedSheet = std::vector<ForgedFrame>;

ForgedSheet makePlayerSheet();     // "player.spr"
ForgedSheet makeEnemySheet();      // "enemy.spr"
ForgedSheet makeBulletSheet();     // "eb.spr"
ForgedSheet makePanelSheet();      // "back001.spr"
ForgedSheet makeStageSheet();      // "stage.spr"
ForgedSheet makeExplosionSheet();  // "x.spr"
ForgedSheet makeEtcSheet();        // "etc.spr"

// The sheet's maker, by sheet.
ForgedSheet makeSheet(Sheet sheet);

// Empty when the drawn frames are the catalogue's, in number, order, size and hot spot;
// otherwise the first difference, naming the file and the frame.
std::string catalogueMismatch(const frames::SheetInfo& sheet, const ForgedSheet& forged);

// Writes the nine data files into `dir`, taking hand-drawn frames and clips from `artDir`
// when it is not empty; false (and a one-line message on stderr) on failure.
bool writeDataFiles(const std::string& dir, const std::string& artDir);

}  // namespace vane::forge
