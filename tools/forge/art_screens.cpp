// SPDX-License-Identifier: GPL-3.0-or-later
// "etc.spr": the HUD digits and icons, the items, the two title pictures and the menu pieces.
#include <cmath>
#include <string>

#include "art.h"
#include "canvas.h"
#include "paint.h"

namespace vane::forge {

namespace {

// Gold lettering with a dark outline: the HUD and menu type style.
void fillGoldText(cairo_t* cr, double top, double bottom, double outline) {
  setColor(cr, 0x100800);
  cairo_set_line_width(cr, outline);
  cairo_stroke_preserve(cr);
  setLinear(cr, 0, top, 0, bottom,
            {{0, 0xFFFFF0}, {0.45, 0xFFE060}, {0.55, 0xF0A020}, {1, 0xFFD880}});
  cairo_fill(cr);
}

SpriteFrame drawDigit(int d) {
  Canvas canvas(14, 16);
  cairo_t* cr = canvas.cr();
  const std::string text(1, static_cast<char>('0' + d));
  centredTextPath(cr, text.c_str(), 16, 7, 8);
  fillGoldText(cr, 1, 15, 2.5);
  return canvas.frame(0, 0);
}

SpriteFrame drawScoreLabel() {
  Canvas canvas(64, 12);
  cairo_t* cr = canvas.cr();
  centredTextPath(cr, "SCORE", 11, 32, 6);
  setColor(cr, 0x000818);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke_preserve(cr);
  setLinear(cr, 0, 1, 0, 11, {{0, 0xFFFFFF}, {0.5, 0x80D0FF}, {1, 0x3070E0}});
  cairo_fill(cr);
  return canvas.frame(0, 0);
}

SpriteFrame drawSparkle(int phase) {
  Canvas canvas(26, 26);
  cairo_t* cr = canvas.cr();
  starPath(cr, 13, 13, phase == 0 ? 12.5 : 10, 3, 4, phase * M_PI / 4);
  setRadial(cr, 13, 13, 12, {{0, 0xFFFFFF}, {0.4, 0xFFF8B0}, {1, 0xFFA020}});
  cairo_fill(cr);
  starPath(cr, 13, 13, phase == 0 ? 6 : 8, 2, 4, M_PI / 4 - phase * M_PI / 4);
  setColor(cr, 0xFFFFFF);
  cairo_fill(cr);
  return canvas.frame(13, 13);
}

SpriteFrame drawEnergyBall(int phase) {
  Canvas canvas(13, 13);
  cairo_t* cr = canvas.cr();
  circle(cr, 6.5, 6.5, 6.4);
  setSphere(cr, 6.5, 6.5, 6.4, 0xFFFFFF, phase == 0 ? 0x40FF80 : 0x20D0C0, 0x005030);
  cairo_fill(cr);
  circle(cr, 6.5, 6.5, phase == 0 ? 4.2 : 5.2);
  setColor(cr, 0xE0FFE8, 0.7);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  return canvas.frame(6, 6);
}

SpriteFrame drawWeaponItem() {
  Canvas canvas(31, 31);
  cairo_t* cr = canvas.cr();
  roundedRect(cr, 1, 4, 29, 23, 11);
  setLinear(cr, 0, 4, 0, 27, {{0, 0xFFC0A0}, {0.3, 0xE83020}, {0.7, 0x901010}, {1, 0x400808}});
  fillOutlined(cr, 1.5, 0x200404);
  roundedRect(cr, 5, 6, 21, 6, 3);
  setColor(cr, 0xFFFFFF, 0.55);
  cairo_fill(cr);
  centredTextPath(cr, "P", 16, 15.5, 16);
  fillGoldText(cr, 8, 24, 2);
  return canvas.frame(15, 15);
}

SpriteFrame drawEnergyUnit() {
  Canvas canvas(9, 12);
  cairo_t* cr = canvas.cr();
  roundedRect(cr, 0.5, 0.5, 8, 11, 2);
  setLinear(cr, 0, 0, 9, 0, {{0, 0x106020}, {0.35, 0xA0FFB0}, {0.6, 0x30D050}, {1, 0x085018}});
  fillOutlined(cr, 1, 0x001808);
  return canvas.frame(0, 0);
}

SpriteFrame drawLifeIcon(int type) {
  Canvas canvas(14, 16);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 7, 8);
  cairo_scale(cr, 0.34, 0.36);
  paintShip(cr, type, 0);
  return canvas.frame(0, 0);
}

void paintStars(cairo_t* cr, Rng& rng, int count, double w, double h) {
  for (int i = 0; i < count; ++i) {
    const double x = rng.uniform(0, w);
    const double y = rng.uniform(0, h);
    const double b = rng.uniform(0.3, 1);
    circle(cr, x, y, rng.below(12) == 0 ? 1.4 : 0.8);
    setColor(cr, mix(0x8090C0, 0xFFFFFF, b));
    cairo_fill(cr);
  }
}

void paintNebula(cairo_t* cr, Rng& rng, double w, double h) {
  constexpr uint32_t kTints[] = {0x6030A0, 0x2050C0, 0xA03070};
  for (int i = 0; i < 9; ++i) {
    const double x = rng.uniform(0, w);
    const double y = rng.uniform(0, h * 0.7);
    const double r = rng.uniform(60, 160);
    const uint32_t tint = kTints[rng.below(3)];
    circle(cr, x, y, r);
    setRadial(cr, x, y, r, {{0, tint, 0.35}, {1, tint, 0}});
    cairo_fill(cr);
  }
}

// The big chrome word with a fiery rim, centred on (cx, cy).
void paintLogo(cairo_t* cr, const char* word, double size, double cx, double cy) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_OBLIQUE, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, word, &e);
  const double x = cx - e.x_bearing - e.width / 2;
  const double y = cy - e.y_bearing - e.height / 2;
  const double top = cy - e.height / 2;
  const double bottom = cy + e.height / 2;
  cairo_move_to(cr, x + 6, y + 8);
  cairo_text_path(cr, word);
  setColor(cr, 0x000000, 0.6);
  cairo_fill(cr);
  cairo_move_to(cr, x, y);
  cairo_text_path(cr, word);
  setLinear(cr, 0, top, 0, bottom, {{0, 0xFFF080}, {1, 0xE03010}});
  cairo_set_line_width(cr, size * 0.09);
  cairo_stroke_preserve(cr);
  setColor(cr, 0x100818);
  cairo_set_line_width(cr, size * 0.04);
  cairo_stroke_preserve(cr);
  setLinear(cr, 0, top, 0, bottom,
            {{0, 0xFFFFFF},
             {0.3, 0xB8C8E8},
             {0.5, 0x404C70},
             {0.52, 0xE8F0FF},
             {0.8, 0x8CA0D0},
             {1, 0xFFFFFF}});
  cairo_fill(cr);
}

void paintCaption(cairo_t* cr, const char* text, double size, double cx, double cy,
                  uint32_t colour) {
  centredTextPath(cr, text, size, cx, cy);
  setColor(cr, 0x000000);
  cairo_set_line_width(cr, size * 0.22);
  cairo_stroke_preserve(cr);
  setColor(cr, colour);
  cairo_fill(cr);
}

// Title A: the name over a planet's rim in deep space, the first ship climbing past.
SpriteFrame drawTitleA() {
  Canvas canvas(620, 480);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 620, 480);
  setLinear(cr, 0, 0, 0, 480, {{0, 0x000008}, {0.6, 0x0C1030}, {1, 0x182060}});
  cairo_fill(cr);
  Rng rng(0x717E1);
  paintNebula(cr, rng, 620, 480);
  paintStars(cr, rng, 420, 620, 480);
  circle(cr, 310, 900, 560);
  setRadial(cr, 310, 900, 580, {{0.9, 0x60C0FF}, {0.96, 0x3080E0, 0.8}, {1, 0x2040A0, 0}});
  cairo_fill(cr);
  circle(cr, 310, 900, 548);
  setLinear(cr, 0, 352, 0, 480, {{0, 0x5CA0D8}, {0.1, 0x2C6CA8}, {0.5, 0x1C4C70}, {1, 0x10283C}});
  cairo_fill(cr);
  for (int i = 0; i < 12; ++i) {
    const double y = 380 + i * 9 + rng.uniform(0, 5);
    cairo_move_to(cr, rng.uniform(0, 300), y);
    // Drawn one by one: the order of a call's arguments is the compiler's to choose.
    const double rise = rng.uniform(-6, 6);
    const double end = rng.uniform(320, 620);
    cairo_line_to(cr, end, y + rise);
    setColor(cr, 0xE0F0FF, 0.15);
    cairo_set_line_width(cr, rng.uniform(2, 6));
    cairo_stroke(cr);
  }
  cairo_save(cr);
  cairo_translate(cr, 470, 330);
  cairo_rotate(cr, 0.35);
  cairo_scale(cr, 3.2, 3.2);
  paintShip(cr, 1, 15);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_translate(cr, 140, 380);
  cairo_rotate(cr, -0.3);
  cairo_scale(cr, 2.2, 2.2);
  paintShip(cr, 2, -15);
  cairo_restore(cr);
  paintLogo(cr, "VANE", 170, 310, 160);
  paintCaption(cr, "-  STRIKE  FROM  THE  STARS  -", 17, 310, 262, 0xC0D8FF);
  paintCaption(cr, "PUSH ANY KEY", 18, 310, 450, 0xFFE060);
  return canvas.frame(0, 0);
}

// Title B: both ships launching over the coast of the first stage.
SpriteFrame drawTitleB() {
  Canvas canvas(620, 480);
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  cairo_scale(cr, 620.0 / kStageWidth, 620.0 / kStageWidth);
  cairo_translate(cr, 0, -740);
  paintStage1(cr);
  cairo_restore(cr);
  cairo_rectangle(cr, 0, 0, 620, 480);
  setLinear(cr, 0, 0, 0, 480, {{0, 0x000010, 0.85}, {0.45, 0x000010, 0.35}, {1, 0x000010, 0.1}});
  cairo_fill(cr);
  constexpr double kShips[][4] = {{1, 220, 320, -20}, {2, 400, 360, 20}};
  for (const auto& s : kShips) {
    cairo_save(cr);
    cairo_translate(cr, s[1], s[2]);
    cairo_scale(cr, 3.6, 3.6);
    paintShip(cr, static_cast<int>(s[0]), s[3]);
    cairo_restore(cr);
  }
  paintLogo(cr, "VANE", 64, 310, 60);
  paintCaption(cr, "TWO WINGS AGAINST THE FORTRESS", 20, 310, 130, 0xFFFFFF);
  paintCaption(cr, "PUSH ANY KEY", 18, 310, 450, 0xFFE060);
  return canvas.frame(0, 0);
}

constexpr int kThumbW = 100;
constexpr int kThumbH = 120;

// The menu's stage picture: a window onto the stage with its name beneath.
SpriteFrame drawStageThumb(int stage) {
  Canvas canvas(kThumbW, kThumbH);
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  roundedRect(cr, 0, 0, kThumbW, kThumbH, 6);
  cairo_clip(cr);
  cairo_scale(cr, kThumbW / 320.0 * 1.25, kThumbW / 320.0 * 1.25);
  if (stage == 1) {
    cairo_translate(cr, -30, -560);
    paintStage1(cr);
  } else {
    cairo_translate(cr, -30, 0);
    paintSky(cr);
  }
  cairo_restore(cr);
  cairo_rectangle(cr, 0, kThumbH - 26, kThumbW, 26);
  setColor(cr, 0x000010, 0.6);
  cairo_fill(cr);
  paintCaption(cr, stage == 1 ? "STAGE 1" : "STAGE 2", 14, kThumbW / 2.0, kThumbH - 13, 0xFFFFFF);
  roundedRect(cr, 1, 1, kThumbW - 2, kThumbH - 2, 6);
  setLinear(cr, 0, 0, kThumbW, kThumbH, {{0, 0xF0F4FF}, {0.5, 0x8890A8}, {1, 0x303848}});
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  return canvas.frame(0, 0);
}

// Glowing corner brackets around a box of w x h: the markers of the chosen stage and ship.
SpriteFrame drawMarker(int w, int h, double arm) {
  Canvas canvas(w, h);
  cairo_t* cr = canvas.cr();
  const double l = 2;
  const double r = w - 2;
  const double t = 2;
  const double b = h - 2;
  const double corners[4][6] = {{l, t + arm, l, t, l + arm, t},
                                {r - arm, t, r, t, r, t + arm},
                                {l, b - arm, l, b, l + arm, b},
                                {r - arm, b, r, b, r, b - arm}};
  for (const auto& c : corners) {
    cairo_move_to(cr, c[0], c[1]);
    cairo_line_to(cr, c[2], c[3]);
    cairo_line_to(cr, c[4], c[5]);
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  setColor(cr, 0x603000);
  cairo_set_line_width(cr, 4);
  cairo_stroke_preserve(cr);
  setColor(cr, 0xFFE040);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  return canvas.frame(0, 0);
}

void paintButton(cairo_t* cr, double y, const char* label) {
  roundedRect(cr, 0, y, 240, 42, 8);
  setLinear(cr, 0, y, 0, y + 42, {{0, 0xA8B4C8}, {0.5, 0x56627A}, {1, 0x2C3444}});
  fillOutlined(cr, 2, 0x0C1018);
  roundedRect(cr, 4, y + 3, 232, 16, 6);
  setColor(cr, 0xFFFFFF, 0.25);
  cairo_fill(cr);
  centredTextPath(cr, label, 24, 120, y + 21);
  fillGoldText(cr, y + 9, y + 33, 3);
}

// Row 3's picture: the START button, and 100 pixels lower the QUIT button of row 4.
SpriteFrame drawMenuButtons() {
  Canvas canvas(240, 142);
  paintButton(canvas.cr(), 0, "START");
  paintButton(canvas.cr(), 100, "QUIT");
  return canvas.frame(0, 0);
}

// The cursor: an arrow whose tip points 20 pixels below its draw point.
SpriteFrame drawCursor() {
  Canvas canvas(84, 40);
  cairo_t* cr = canvas.cr();
  polygon(cr, {2, 12, 52, 12, 52, 3, 82, 20, 52, 37, 52, 28, 2, 28});
  setLinear(cr, 0, 3, 0, 37, {{0, 0xFFFFF0}, {0.45, 0xFFD040}, {0.55, 0xE08010}, {1, 0xFFC060}});
  fillOutlined(cr, 2.5, 0x301000);
  return canvas.frame(0, 0);
}

}  // namespace

ForgedSheet makeEtcSheet() {
  using frames::Etc;
  ForgedSheet sheet;
  for (int d = 0; d <= 9; ++d) sheet.emplace_back(after(Etc::Digit0, d), drawDigit(d));
  sheet.emplace_back(Etc::ScoreLabel, drawScoreLabel());
  sheet.emplace_back(Etc::Sparkle1, drawSparkle(0));
  sheet.emplace_back(Etc::Sparkle2, drawSparkle(1));
  sheet.emplace_back(Etc::EnergyBall1, drawEnergyBall(0));
  sheet.emplace_back(Etc::EnergyBall2, drawEnergyBall(1));
  sheet.emplace_back(Etc::WeaponItem, drawWeaponItem());
  sheet.emplace_back(Etc::EnergyUnit, drawEnergyUnit());
  sheet.emplace_back(Etc::LifeShip1, drawLifeIcon(1));
  sheet.emplace_back(Etc::LifeShip2, drawLifeIcon(2));
  sheet.emplace_back(Etc::TitleA, drawTitleA());
  sheet.emplace_back(Etc::TitleB, drawTitleB());
  sheet.emplace_back(Etc::MenuStage1, drawStageThumb(1));
  sheet.emplace_back(Etc::MenuStage2, drawStageThumb(2));
  sheet.emplace_back(Etc::StageMarker, drawMarker(kThumbW + 20, kThumbH + 10, 18));
  sheet.emplace_back(Etc::ShipMarker, drawMarker(34, 40, 9));
  sheet.emplace_back(Etc::MenuButtons, drawMenuButtons());
  sheet.emplace_back(Etc::MenuCursor, drawCursor());
  return sheet;
}

}  // namespace vane::forge
