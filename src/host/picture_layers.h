// SPDX-License-Identifier: GPL-3.0-or-later
// What the host draws over the game's picture on the screen, never into the back buffer: a menu
// of the program's (the options), a short note, and the graph of recent frame periods.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/text.h"

namespace vane::host {

// A picture being composed for the screen; colours are 0xRRGGBB.
class Canvas {
 public:
  Canvas(uint16_t* pixels, bool is565, TextContext& text);
  void fillRect(int x, int y, int width, int height, uint32_t rgb);
  // Darkens the picture under the rectangle to a quarter, so text over it reads.
  void dimRect(int x, int y, int width, int height);
  void text(int x, int y, std::string_view line, uint32_t rgb);

 private:
  uint16_t pack(uint32_t rgb) const;
  uint16_t* pixels_;
  bool is565_;
  TextContext& text_;
};

class PictureLayer {
 public:
  virtual ~PictureLayer() = default;
  virtual void drawOver(Canvas& canvas) = 0;
};

// The program's menu over the picture; nullptr for none.
void setMenuLayer(PictureLayer* layer);
// A line at the foot of the picture for a few seconds.
void showNote(std::string text);
void setFrameGraph(bool shown);
bool frameGraphShown();
// While the program's menu is open the game stands as while the window is inactive: the keys it
// held are let go, and the sound is silent and stands still until the game goes on.
void standGame(bool standing);
// Shows the game's picture again with the layers over it: for when no frame runs to flip it.
void presentLayers();

}  // namespace vane::host
