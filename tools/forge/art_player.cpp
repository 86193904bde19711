// SPDX-License-Identifier: GPL-3.0-or-later
// "player.spr": the two ships in five bank angles each, and all their shots.
#include <cmath>

#include "art.h"
#include "canvas.h"
#include "paint.h"

namespace vane::forge {

namespace {

constexpr int kShipSize = 44;
constexpr int kShipHot = 22;
// Bank angles of the five tilt frames, hard left to hard right, in degrees of roll.
constexpr double kRolls[] = {-40, -20, 0, 20, 40};

struct ShipColours {
  uint32_t light, mid, dark, trim, canopy;
};

constexpr ShipColours kShip1{0xE8F0FF, 0x8CA4C8, 0x34405C, 0x2E6CE0, 0x0A2A66};
constexpr ShipColours kShip2{0xFFF0D8, 0xC8503C, 0x501810, 0xE8B030, 0x301008};

// Metal shading across the hull; the lit side follows the roll.
void setHullShade(cairo_t* cr, const ShipColours& c, double roll, double halfWidth) {
  const double lit = -halfWidth * 0.5 + roll / 40 * halfWidth * 0.4;
  setLinear(cr, -halfWidth, 0, halfWidth, 0,
            {{0, c.dark},
             {0.5 + lit / halfWidth / 2 - 0.1, c.mid},
             {0.5 + lit / halfWidth / 2, c.light},
             {1, c.dark}});
}

void drawFlame(cairo_t* cr, double x, double y, double w, double len) {
  polygon(cr, {x - w, y, x + w, y, x, y + len});
  setLinear(cr, 0, y, 0, y + len, {{0, 0xFFFFF0}, {0.4, 0xFFC040}, {1, 0xE04010}});
  cairo_fill(cr);
}

void drawCanopy(cairo_t* cr, const ShipColours& c, double y, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, 0, y);
  cairo_scale(cr, rx, ry);
  circle(cr, 0, 0, 1);
  cairo_restore(cr);
  setSphere(cr, 0, y, ry, 0xC8F0FF, c.canopy, 0x000010);
  fillOutlined(cr, 0.8, 0x101018);
}

// The rolled ship: the picture narrows with the roll and the lower wing darkens.
void beginShip(cairo_t* cr, double roll) {
  cairo_scale(cr, std::cos(roll * M_PI / 180), 1);
}

void shadeLowWing(cairo_t* cr, double roll, double span) {
  if (roll == 0) return;
  const double side = roll < 0 ? -1 : 1;
  cairo_rectangle(cr, side > 0 ? 0 : -span, -kShipHot, span, 2 * kShipHot);
  setColor(cr, 0x000020, std::abs(roll) / 40 * 0.35);
  cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

// Ship type 1: a slim swept-wing interceptor in blue steel.
void paintShip1(cairo_t* cr, double roll) {
  beginShip(cr, roll);
  const ShipColours& c = kShip1;
  drawFlame(cr, -3, 15, 1.8, 7);
  drawFlame(cr, 3, 15, 1.8, 7);
  mirroredPolygon(cr, 0, {0, -3, 6, -2, 19, 9, 19, 13, 6, 11, 0, 11});
  setHullShade(cr, c, roll, 19);
  fillOutlined(cr, 1.2, 0x101420);
  polygon(cr, {14, 8.5, 19, 9, 19, 13, 14, 12.5});
  polygon(cr, {-14, 8.5, -19, 9, -19, 13, -14, 12.5});
  setColor(cr, c.trim);
  cairo_fill(cr);
  mirroredPolygon(cr, 0, {0, 8, 6, 12, 9, 18, 9, 20, 4, 18, 0, 18});
  setHullShade(cr, c, roll, 9);
  fillOutlined(cr, 1.0, 0x101420);
  mirroredPolygon(cr, 0, {0, -21, 2.5, -15, 4.5, -4, 4.5, 12, 3.5, 17});
  setHullShade(cr, c, roll, 5);
  fillOutlined(cr, 1.2, 0x101420);
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, 0, 15);
  setColor(cr, c.trim);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  drawCanopy(cr, c, -8, 2.6, 5.5);
  shadeLowWing(cr, roll, 20);
}

// Ship type 2: a heavy forward-swept fighter in crimson and gold with twin engines.
void paintShip2(cairo_t* cr, double roll) {
  beginShip(cr, roll);
  const ShipColours& c = kShip2;
  drawFlame(cr, -8, 17, 2.4, 6);
  drawFlame(cr, 8, 17, 2.4, 6);
  mirroredPolygon(cr, 0, {0, 0, 9, 1, 20, -7, 21, -3, 10, 11, 0, 11});
  setHullShade(cr, c, roll, 21);
  fillOutlined(cr, 1.2, 0x200808);
  polygon(cr, {17, -5.5, 20, -7, 21, -3, 18, 0});
  polygon(cr, {-17, -5.5, -20, -7, -21, -3, -18, 0});
  setColor(cr, c.trim);
  cairo_fill(cr);
  mirroredPolygon(cr, 0, {0, -13, 4, -13, 10, -9, 10, -7, 4, -7, 0, -7});
  setHullShade(cr, c, roll, 10);
  fillOutlined(cr, 1.0, 0x200808);
  for (double side : {-8.0, 8.0}) {
    roundedRect(cr, side - 3, 2, 6, 16, 2.5);
    setHullShade(cr, c, roll, 11);
    fillOutlined(cr, 1.0, 0x200808);
  }
  mirroredPolygon(cr, 0, {0, -20, 3, -15, 6, -3, 6, 13, 4, 19});
  setHullShade(cr, c, roll, 6);
  fillOutlined(cr, 1.2, 0x200808);
  mirroredPolygon(cr, 0, {0, 2, 3, 4, 3, 14, 0, 16});
  setColor(cr, c.trim);
  cairo_fill(cr);
  drawCanopy(cr, c, -7, 3.2, 5);
  shadeLowWing(cr, roll, 22);
}

SpriteFrame drawShip(int type, double roll) {
  Canvas canvas(kShipSize, kShipSize);
  cairo_translate(canvas.cr(), kShipHot, kShipHot);
  paintShip(canvas.cr(), type, roll);
  return canvas.frame(kShipHot, kShipHot);
}

// A straight bolt of light filling its box: hot colour at the edge, white at the core.
SpriteFrame drawBolt(int w, int h, int hotX, uint32_t edge, uint32_t core) {
  Canvas canvas(w, h);
  cairo_t* cr = canvas.cr();
  roundedRect(cr, 0.2, 0.2, w - 0.4, h - 0.4, w / 2.0 - 0.2);
  setLinear(cr, 0, 0, w, 0, {{0, edge}, {0.5, core}, {1, edge}});
  cairo_fill(cr);
  roundedRect(cr, w * 0.3, 1, w * 0.4, h * 0.6, w * 0.2);
  setColor(cr, 0xFFFFFF);
  cairo_fill(cr);
  return canvas.frame(hotX, 0);
}

// The side shot and its burst: an orb of `size` centred on the 6x6 shot box.
SpriteFrame drawOrb(int size, double ring) {
  Canvas canvas(size, size);
  cairo_t* cr = canvas.cr();
  const double r = size / 2.0;
  if (ring > 0) {
    circle(cr, r, r, r - 0.2);
    setRadial(cr, r, r, r, {{0, 0xFFFFFF}, {0.5, 0x80E0FF}, {0.85, 0x2080FF}, {1, 0x1040C0}});
    cairo_fill(cr);
    circle(cr, r, r, r * ring);
    setColor(cr, 0xFFFFFF);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  } else {
    circle(cr, r, r, r - 0.2);
    setRadial(cr, r, r, r, {{0, 0xFFFFFF}, {0.45, 0xA0F0FF}, {1, 0x2070F0}});
    cairo_fill(cr);
  }
  const int hot = (size - 6) / 2;
  return canvas.frame(hot, hot);
}

// Special attack of ship 1: a swept blade of light, `side` -1 for the left wing.
SpriteFrame drawWing(int side) {
  Canvas canvas(11, 21);
  cairo_t* cr = canvas.cr();
  if (side > 0) {
    cairo_translate(cr, 11, 0);
    cairo_scale(cr, -1, 1);
  }
  cairo_move_to(cr, 0.5, 0.5);
  cairo_curve_to(cr, 7, 4, 10.5, 10, 10.5, 20.5);
  cairo_curve_to(cr, 7, 14, 3, 10, 0.5, 9);
  cairo_close_path(cr);
  setLinear(cr, 0, 0, 11, 21, {{0, 0xFFFFFF}, {0.5, 0x90F0FF}, {1, 0x3060FF}});
  cairo_fill(cr);
  cairo_move_to(cr, 1.5, 2);
  cairo_curve_to(cr, 6, 5, 9, 10, 9.5, 17);
  setColor(cr, 0xFFFFFF);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  return canvas.frame(0, 0);
}

// Ship 2's missile, nose up, with its exhaust below.
SpriteFrame drawMissile() {
  Canvas canvas(8, 26);
  cairo_t* cr = canvas.cr();
  drawFlame(cr, 4, 18, 2.5, 8);
  mirroredPolygon(cr, 4, {4, 0.5, 5.5, 4, 5.5, 18, 4, 18});
  setLinear(cr, 2, 0, 6, 0, {{0, 0x404850}, {0.4, 0xF0F4F8}, {1, 0x505860}});
  cairo_fill(cr);
  polygon(cr, {4, 0.5, 5.5, 4, 2.5, 4});
  setColor(cr, 0xE02820);
  cairo_fill(cr);
  polygon(cr, {2.5, 13, 0.2, 18, 2.5, 17});
  polygon(cr, {5.5, 13, 7.8, 18, 5.5, 17});
  setColor(cr, 0xC03020);
  cairo_fill(cr);
  return canvas.frame(0, 0);
}

// Ship 2's special attack: a flickering lance of violet fire; `phase` 0 or 1.
SpriteFrame drawLance(int phase) {
  Canvas canvas(11, 31);
  cairo_t* cr = canvas.cr();
  const double waist = phase == 0 ? 5.4 : 4.2;
  cairo_move_to(cr, 5.5, 0);
  cairo_curve_to(cr, 5.5 + waist, 6, 5.5 + waist - 1, 22, 5.5, 31);
  cairo_curve_to(cr, 5.5 - waist + 1, 22, 5.5 - waist, 6, 5.5, 0);
  const uint32_t flame = phase == 0 ? 0xFF60F0u : 0xE080FFu;
  setLinear(cr, 0, 0, 11, 0,
            {{0, 0x8020C0}, {0.3, flame}, {0.5, 0xFFFFFF}, {0.7, flame}, {1, 0x8020C0}});
  cairo_fill(cr);
  for (int i = 0; i < 3; ++i) {
    const double y = 5 + i * 9 + phase * 4;
    circle(cr, 5.5, y, 1.6);
    setColor(cr, 0xFFFFFF);
    cairo_fill(cr);
  }
  return canvas.frame(5, 0);
}

}  // namespace

void paintShip(cairo_t* cr, int type, double roll) {
  cairo_save(cr);
  if (type == 1) {
    paintShip1(cr, roll);
  } else {
    paintShip2(cr, roll);
  }
  cairo_restore(cr);
}

ForgedSheet makePlayerSheet() {
  using frames::Player;
  ForgedSheet sheet;
  for (int i = 0; i < 5; ++i)
    sheet.emplace_back(after(Player::Ship1HardLeft, i), drawShip(1, kRolls[i]));
  sheet.emplace_back(Player::Ship1Bolt, drawBolt(6, 21, 0, 0x2080FF, 0xC0F0FF));
  sheet.emplace_back(Player::Orb, drawOrb(6, 0));
  sheet.emplace_back(Player::OrbBurst1, drawOrb(10, 0.3));
  sheet.emplace_back(Player::OrbBurst2, drawOrb(14, 0.55));
  sheet.emplace_back(Player::OrbBurst3, drawOrb(18, 0.75));
  sheet.emplace_back(Player::WingLeft, drawWing(-1));
  sheet.emplace_back(Player::WingRight, drawWing(1));
  for (int i = 0; i < 5; ++i)
    sheet.emplace_back(after(Player::Ship2HardLeft, i), drawShip(2, kRolls[i]));
  sheet.emplace_back(Player::Ship2Bolt, drawBolt(6, 21, 0, 0xFF5010, 0xFFE080));
  sheet.emplace_back(Player::Missile, drawMissile());
  sheet.emplace_back(Player::Lance1, drawLance(0));
  sheet.emplace_back(Player::Lance2, drawLance(1));
  return sheet;
}

}  // namespace vane::forge
