// SPDX-License-Identifier: GPL-3.0-or-later
// A headless display, sheets whose frames are single pixels coloured by sheet and number, and a
// record of the sound the screens ask for.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/sound.h"
#include "host/host.h"
#include "platform/headless/headless.h"
#include "screens/frame_choice.h"
#include "world/actor.h"

namespace vane::testing {

// The colour of frame n of a sheet: the sheet in the red bits, the number in the low bits.
uint16_t codedColour(Sheet sheet, int n);
// What a drawSpriteBlended of that colour over black gives in 5-6-5.
uint16_t blendedOverBlack(uint16_t colour, int level);

// A text context that keeps what was written.
class RecordingText : public host::TextContext {
 public:
  struct Line {
    int x;
    int y;
    std::string text;
    uint32_t colour;
  };
  void setTextColor(uint32_t colorRef) override { colour = colorRef; }
  void setTransparentBackground() override { transparent = true; }
  void textOut(int x, int y, std::string_view text) override {
    lines.push_back({x, y, std::string(text), colour});
  }
  bool wrote(std::string_view text) const;
  std::vector<Line> lines;
  uint32_t colour = 0x123456;
  bool transparent = false;
};

class ScreensTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Frame number of `sheet` at a pixel (0 when no frame of that sheet is there).
  int frameOnScreen(Sheet sheet, int x, int y) const;
  int frameInBackBuffer(Sheet sheet, int x, int y) const;
  uint16_t screenPixel(int x, int y) const;
  // Spawns an actor at a pixel position and returns it (the head of its list).
  Actor& spawn(int32_t type, int32_t x, int32_t y);
  Actor& ship() { return *firstPlayer(); }
  void hold(int key, bool held = true) { held ? host::scriptKeyHold(key) : host::scriptKeyUp(key); }
  std::vector<SoundEvent> effects() const;

  platform::HeadlessBackend backend;
  std::vector<SoundEvent> sounds;
};

}  // namespace vane::testing
