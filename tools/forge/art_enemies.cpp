// SPDX-License-Identifier: GPL-3.0-or-later
// "enemy.spr" and "eb.spr": the enemies, mid-bosses and bosses, and the enemy bullets.
#include <cmath>

#include "art.h"
#include "canvas.h"

namespace vane::forge {

namespace {

constexpr uint32_t kInk = 0x100C0C;

// Shading across a hull from x0 to x1: light from the upper left.
void setMetal(cairo_t* cr, double x0, double x1, uint32_t light, uint32_t mid, uint32_t dark) {
  setLinear(cr, x0, 0, x1, 0, {{0, mid}, {0.3, light}, {0.6, mid}, {1, dark}});
}

void rivetLight(cairo_t* cr, double x, double y, double r, uint32_t colour) {
  circle(cr, x, y, r);
  setSphere(cr, x, y, r, 0xFFFFFF, colour, mix(colour, 0, 0.6));
  cairo_fill(cr);
}

// The small fighter of 1001 and 1002, nose down, turned by `turn` degrees toward its heading.
SpriteFrame drawFighter(double turn) {
  Canvas canvas(36, 38);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 18, 17.5);
  cairo_rotate(cr, turn * M_PI / 180);
  mirroredPolygon(cr, 0, {0, -1, 4, -2, 13, -9, 13, -4, 4, 7, 0, 7});
  setMetal(cr, -13, 13, 0xC8D098, 0x707C40, 0x303818);
  fillOutlined(cr, 1.1, kInk);
  mirroredPolygon(cr, 0, {0, -10, 3, -11, 7, -14, 7, -11, 3, -6, 0, -6});
  setMetal(cr, -7, 7, 0xC8D098, 0x707C40, 0x303818);
  fillOutlined(cr, 1.0, kInk);
  mirroredPolygon(cr, 0, {0, 13, 2.5, 8, 3.2, -4, 2.5, -12});
  setMetal(cr, -3.2, 3.2, 0xE8ECD0, 0x8C9458, 0x383C20);
  fillOutlined(cr, 1.1, kInk);
  polygon(cr, {11, -8.4, 13, -9, 13, -4, 11, -2});
  polygon(cr, {-11, -8.4, -13, -9, -13, -4, -11, -2});
  setColor(cr, 0xD02818);
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, 0, 3);
  cairo_scale(cr, 1.6, 3.2);
  circle(cr, 0, 0, 1);
  cairo_restore(cr);
  setSphere(cr, 0, 3, 3, 0xFFE0A0, 0xC04010, 0x300800);
  cairo_fill(cr);
  return canvas.frame(18, 5);
}

// 1003: a narrow dart that dives fast.
SpriteFrame drawDart() {
  Canvas canvas(26, 36);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 12.5, 2);
  polygon(cr, {-3, 0, 3, 0, 1.5, -2, -1.5, -2});
  setColor(cr, 0xFFD040);
  cairo_fill(cr);
  mirroredPolygon(cr, 0, {0, 33, 3, 18, 11, 3, 11, 8, 5, 4, 4, 1, 0, 2});
  setMetal(cr, -11, 11, 0xE0C8F0, 0x7848A0, 0x281038);
  fillOutlined(cr, 1.1, kInk);
  mirroredPolygon(cr, 0, {0, 30, 1.8, 18, 1.8, 5, 0, 4});
  setLinear(cr, 0, 4, 0, 30, {{0, 0x402050}, {1, 0xF0E8FF}});
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, 0, 14);
  cairo_scale(cr, 1.8, 4);
  circle(cr, 0, 0, 1);
  cairo_restore(cr);
  setSphere(cr, 0, 14, 4, 0xE0FFE0, 0x20C060, 0x003010);
  cairo_fill(cr);
  return canvas.frame(12, 2);
}

// 1004: a spiked mine whose lights blink between its two frames.
SpriteFrame drawMine(int phase) {
  Canvas canvas(54, 54);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 26.5, 27);
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4 + M_PI / 8;
    const double c = std::cos(a);
    const double s = std::sin(a);
    polygon(cr, {c * 14 - s * 4, s * 14 + c * 4, c * 26, s * 26, c * 14 + s * 4, s * 14 - c * 4});
    setLinear(cr, c * 14, s * 14, c * 26, s * 26, {{0, 0x606870}, {0.5, 0xD0D8E0}, {1, 0x303840}});
    fillOutlined(cr, 1.0, kInk);
  }
  circle(cr, 0, 0, 18);
  setSphere(cr, 0, 0, 18, 0xE8E0D8, 0x807060, 0x201810);
  fillOutlined(cr, 1.2, kInk);
  circle(cr, 0, 0, 11);
  setColor(cr, 0x302820);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  for (int i = 0; i < 4; ++i) {
    const double a = i * M_PI / 2 + phase * M_PI / 4;
    rivetLight(cr, std::cos(a) * 14, std::sin(a) * 14, 2.4, 0xFF3020);
  }
  circle(cr, 0, 0, 6);
  setSphere(cr, 0, 0, 6, phase == 0 ? 0xFFFFC0 : 0xFFC0A0, phase == 0 ? 0xFF8000 : 0xC02000,
            0x400000);
  cairo_fill(cr);
  return canvas.frame(26, 2);
}

// 1005 and 1006: a twin-boom gunship, drawn nose right and turned to `heading` degrees.
SpriteFrame drawGunship(double heading, uint32_t light, uint32_t mid, uint32_t dark) {
  Canvas canvas(54, 54);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 27, 27);
  cairo_rotate(cr, heading * M_PI / 180);
  for (double side : {-1.0, 1.0}) {
    polygon(cr, {-6, side * 2, 6, side * 3, 2, side * 11, -10, side * 11});
    setLinear(cr, 0, -11, 0, 11, {{0, light}, {0.5, mid}, {1, dark}});
    fillOutlined(cr, 1.1, kInk);
    roundedRect(cr, -19, side * 7 - 2.5, 22, 5, 2.5);
    setLinear(cr, 0, side * 7 - 2.5, 0, side * 7 + 2.5, {{0, light}, {0.4, mid}, {1, dark}});
    fillOutlined(cr, 1.0, kInk);
    polygon(cr,
            {-21, side * 7 - 1.5, -19, side * 7 - 1.5, -19, side * 7 + 1.5, -21, side * 7 + 1.5});
    setColor(cr, 0xFFA020);
    cairo_fill(cr);
  }
  polygon(cr, {22, 0, 14, -4.5, -14, -5, -18, 0, -14, 5, 14, 4.5});
  setLinear(cr, 0, -5, 0, 5, {{0, light}, {0.35, mid}, {1, dark}});
  fillOutlined(cr, 1.2, kInk);
  polygon(cr, {12, -1, 20, 0, 12, 1});
  setColor(cr, 0x202020);
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, 6, 0);
  cairo_scale(cr, 5, 2.4);
  circle(cr, 0, 0, 1);
  cairo_restore(cr);
  setSphere(cr, 6, 0, 5, 0xC0FFFF, 0x2090C0, 0x002030);
  cairo_fill(cr);
  rivetLight(cr, -8, 0, 2, 0xFF2010);
  return canvas.frame(26, 26);
}

// 1007: a manta that flips over to climb; `flip` runs from 1 (top side) to -1 (underside).
SpriteFrame drawManta(double flip) {
  Canvas canvas(34, 34);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 16.5, 17);
  cairo_scale(cr, 1, flip == 0 ? 0.07 : flip);
  const bool top = flip > 0;
  mirroredPolygon(cr, 0, {0, 15, 5, 9, 15, -4, 14, -10, 6, -8, 3, -15, 0, -13});
  if (top) {
    setMetal(cr, -15, 15, 0xB0F0E0, 0x30908C, 0x0C3034);
  } else {
    setMetal(cr, -15, 15, 0x909498, 0x484C58, 0x181820);
  }
  fillOutlined(cr, 1.2, kInk);
  if (top) {
    mirroredPolygon(cr, 0, {0, 12, 4, 6, 11, -4, 5, -5, 0, -9});
    setLinear(cr, 0, -9, 0, 12, {{0, 0x186060}, {1, 0x50C0B0}});
    cairo_fill(cr);
    polygon(cr, {9, -3, 14, -4, 13.5, -8, 10, -7});
    polygon(cr, {-9, -3, -14, -4, -13.5, -8, -10, -7});
    setColor(cr, 0xF08020);
    cairo_fill(cr);
    rivetLight(cr, 0, 3, 3, 0xFFD040);
  } else {
    for (double x : {-8.0, 0.0, 8.0}) {
      roundedRect(cr, x - 2, -7, 4, 12, 1.5);
      setColor(cr, 0x202428);
      cairo_fill(cr);
    }
    for (double x : {-4.0, 4.0}) {
      circle(cr, x, -12, 2.2);
      setColor(cr, 0xFF9030);
      cairo_fill(cr);
    }
  }
  return canvas.frame(16, 2);
}

// 1008: an armoured pod with a gun turned toward sector `k` (0 right, 2 down, 4 left, 6 up).
SpriteFrame drawAmbusher(int k) {
  Canvas canvas(32, 32);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 16, 16);
  for (int i = 0; i < 6; ++i) {
    const double a = i * M_PI / 3;
    polygon(cr, {std::cos(a) * 12, std::sin(a) * 12, std::cos(a + M_PI / 3) * 12,
                 std::sin(a + M_PI / 3) * 12, 0, 0});
    const double shade = 0.5 + 0.5 * std::cos(a + M_PI / 6 + M_PI * 0.75);
    setColor(cr, mix(0x403428, 0xD8C8A0, shade));
    cairo_fill(cr);
  }
  for (int i = 0; i < 6; ++i) {
    const double a = i * M_PI / 3;
    if (i == 0) {
      cairo_move_to(cr, std::cos(a) * 12, std::sin(a) * 12);
    } else {
      cairo_line_to(cr, std::cos(a) * 12, std::sin(a) * 12);
    }
  }
  cairo_close_path(cr);
  setColor(cr, kInk);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_rotate(cr, k * M_PI / 4);
  roundedRect(cr, 2, -2.2, 13.5, 4.4, 1.5);
  setLinear(cr, 0, -2.2, 0, 2.2, {{0, 0xE0E0E0}, {0.4, 0x808890}, {1, 0x202428}});
  fillOutlined(cr, 0.9, kInk);
  cairo_restore(cr);
  circle(cr, 0, 0, 6.5);
  setSphere(cr, 0, 0, 6.5, 0xFFE8C0, 0xC06020, 0x301000);
  fillOutlined(cr, 1.0, kInk);
  return canvas.frame(16, 16);
}

// A cluster of engine exhausts at (x, y), burning toward +y.
void engineGlow(cairo_t* cr, double x, double y, double w, double len) {
  cairo_save(cr);
  cairo_translate(cr, x, y + len / 2);
  cairo_scale(cr, w, len / 2);
  circle(cr, 0, 0, 1);
  cairo_restore(cr);
  setLinear(cr, 0, y, 0, y + len, {{0, 0xFFFFFF}, {0.35, 0x80E0FF}, {1, 0x2040C0}});
  cairo_fill(cr);
}

// 2001: a heavy four-engined bomber, nose down, armed with two gun blisters.
SpriteFrame drawBomber() {
  Canvas canvas(100, 80);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 50, 40);
  for (double x : {-30.0, -16.0, 16.0, 30.0}) engineGlow(cr, x, -32, 2.6, 8);
  mirroredPolygon(cr, 0, {0, 10, 10, 12, 46, -4, 47, -14, 40, -18, 10, -12, 0, -12});
  setMetal(cr, -47, 47, 0xD8DCC8, 0x7C8468, 0x2C3024);
  fillOutlined(cr, 1.4, kInk);
  for (int i = 0; i < 5; ++i) {
    const double x = 12 + i * 7;
    cairo_move_to(cr, x, -13 + i * 0.6);
    cairo_line_to(cr, x - 1, 9 - i * 3);
    cairo_move_to(cr, -x, -13 + i * 0.6);
    cairo_line_to(cr, -x + 1, 9 - i * 3);
  }
  setColor(cr, 0x3C4030, 0.8);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  for (double x : {-30.0, -16.0, 16.0, 30.0}) {
    roundedRect(cr, x - 4, -30, 8, 26, 3.5);
    setMetal(cr, x - 4, x + 4, 0xF0F0E0, 0x8C9070, 0x303424);
    fillOutlined(cr, 1.1, kInk);
    rivetLight(cr, x, -2, 2.2, 0x808080);
  }
  mirroredPolygon(cr, 0, {0, 35, 6, 28, 9, 10, 9, -24, 6, -33, 0, -35});
  setMetal(cr, -9, 9, 0xF0F4E0, 0x909878, 0x343828);
  fillOutlined(cr, 1.4, kInk);
  mirroredPolygon(cr, 0, {0, 30, 4, 24, 4, 18, 0, 16});
  setSphere(cr, 0, 24, 6, 0xD0F0FF, 0x3070A0, 0x081828);
  cairo_fill(cr);
  for (double x : {-40.0, 40.0}) {
    circle(cr, x, -8, 4.5);
    setSphere(cr, x, -8, 4.5, 0xFFFFFF, 0xA0A4A8, 0x303030);
    fillOutlined(cr, 1.0, kInk);
    roundedRect(cr, x - 1.2, -6, 2.4, 9, 1);
    setColor(cr, 0x202020);
    cairo_fill(cr);
  }
  polygon(cr, {-5, -4, 5, -4, 5, 4, -5, 4});
  setColor(cr, 0xC82818);
  cairo_fill(cr);
  rivetLight(cr, 0, 0, 2.5, 0xFFE040);
  return canvas.frame(50, 40);
}

// 2002: a crescent cruiser in silver and violet around a glowing core.
SpriteFrame drawCrescent() {
  Canvas canvas(100, 80);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 50, 40);
  cairo_move_to(cr, -46, -20);
  cairo_curve_to(cr, -40, 20, -14, 34, 0, 34);
  cairo_curve_to(cr, 14, 34, 40, 20, 46, -20);
  cairo_curve_to(cr, 36, -6, 20, 4, 0, 4);
  cairo_curve_to(cr, -20, 4, -36, -6, -46, -20);
  cairo_close_path(cr);
  setLinear(cr, -46, -20, 30, 34, {{0, 0xF0E8FF}, {0.3, 0xA898C8}, {0.7, 0x584880}, {1, 0x201830}});
  fillOutlined(cr, 1.4, kInk);
  cairo_move_to(cr, -40, -12);
  cairo_curve_to(cr, -30, 16, -10, 27, 0, 27);
  cairo_curve_to(cr, 10, 27, 30, 16, 40, -12);
  setColor(cr, 0xE040C0);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  mirroredPolygon(cr, 0, {0, 12, 12, 8, 16, -14, 10, -30, 0, -34});
  setMetal(cr, -16, 16, 0xF8F4FF, 0x9080B0, 0x302840);
  fillOutlined(cr, 1.3, kInk);
  for (double x : {-8.0, 8.0}) engineGlow(cr, x, -33, 2.4, 6);
  circle(cr, 0, -8, 9);
  setSphere(cr, 0, -8, 9, 0xFFFFFF, 0xFF50D0, 0x500040);
  fillOutlined(cr, 1.2, kInk);
  for (double x : {-30.0, 30.0}) {
    roundedRect(cr, x - 2, 2, 4, 14, 1.5);
    setColor(cr, 0x282030);
    cairo_fill(cr);
    rivetLight(cr, x, 0, 2.6, 0x40E0FF);
  }
  return canvas.frame(50, 40);
}

// 3001: an armoured fortress with four engine pods; its turret sits on the central ring.
SpriteFrame drawFortress() {
  Canvas canvas(170, 160);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 85, 80);
  for (double x : {-60.0, 60.0}) {
    for (double y : {-48.0, 34.0}) {
      engineGlow(cr, x, y + 14, 5, 14);
      roundedRect(cr, x - 14, y - 18, 28, 34, 8);
      setMetal(cr, x - 14, x + 14, 0xE8E4DC, 0x80786C, 0x282420);
      fillOutlined(cr, 1.4, kInk);
      circle(cr, x, y - 2, 8);
      setSphere(cr, x, y - 2, 8, 0xFFD8A0, 0xA04818, 0x301008);
      fillOutlined(cr, 1.0, kInk);
    }
  }
  for (double y : {-42.0, 40.0}) {
    polygon(cr, {-60, y - 5, 60, y - 5, 60, y + 5, -60, y + 5});
    setLinear(cr, 0, y - 5, 0, y + 5, {{0, 0xB0A898}, {0.5, 0x686058}, {1, 0x201C18}});
    fillOutlined(cr, 1.2, kInk);
  }
  const double r = 56;
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4 + M_PI / 8;
    if (i == 0) {
      cairo_move_to(cr, std::cos(a) * r, std::sin(a) * r);
    } else {
      cairo_line_to(cr, std::cos(a) * r, std::sin(a) * r);
    }
  }
  cairo_close_path(cr);
  setLinear(cr, -r, -r, r, r, {{0, 0xE8E8E0}, {0.35, 0x8C8880}, {0.75, 0x4C4840}, {1, 0x1C1A18}});
  fillOutlined(cr, 1.6, kInk);
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4 + M_PI / 8;
    cairo_move_to(cr, std::cos(a) * r, std::sin(a) * r);
    cairo_line_to(cr, std::cos(a) * 30, std::sin(a) * 30);
  }
  setColor(cr, 0x2C2824);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    polygon(cr, {std::cos(a - 0.12) * 40, std::sin(a - 0.12) * 40, std::cos(a + 0.12) * 40,
                 std::sin(a + 0.12) * 40, std::cos(a + 0.1) * 52, std::sin(a + 0.1) * 52,
                 std::cos(a - 0.1) * 52, std::sin(a - 0.1) * 52});
    setColor(cr, i % 2 == 0 ? 0xC83018 : 0xD8B040);
    cairo_fill(cr);
  }
  circle(cr, 0, 0, 30);
  setRadial(cr, 0, 0, 30, {{0, 0x201C18}, {0.75, 0x4C4640}, {0.9, 0xB0A898}, {1, 0x302C28}});
  fillOutlined(cr, 1.4, kInk);
  for (int i = 0; i < 12; ++i) {
    const double a = i * M_PI / 6;
    rivetLight(cr, std::cos(a) * 26, std::sin(a) * 26, 1.6, 0xC0C0C0);
  }
  for (int i = 0; i < 4; ++i) {
    const double a = i * M_PI / 2 + M_PI / 4;
    rivetLight(cr, std::cos(a) * 46, std::sin(a) * 46, 3, 0x40FF60);
  }
  return canvas.frame(85, 80);
}

// 3001's turret: a domed mount with twin cannons toward sector `k`.
SpriteFrame drawFortressTurret(int k) {
  Canvas canvas(64, 64);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 32, 32);
  cairo_save(cr);
  cairo_rotate(cr, k * M_PI / 4);
  for (double y : {-5.0, 5.0}) {
    roundedRect(cr, 6, y - 2.6, 25, 5.2, 2);
    setLinear(cr, 0, y - 2.6, 0, y + 2.6, {{0, 0xF0F0F0}, {0.4, 0x8C9098}, {1, 0x202428}});
    fillOutlined(cr, 1.0, kInk);
    polygon(cr, {27, y - 3.2, 31, y - 3.2, 31, y + 3.2, 27, y + 3.2});
    setColor(cr, 0x303438);
    fillOutlined(cr, 0.8, kInk);
  }
  polygon(cr, {-20, -10, 8, -13, 16, -8, 16, 8, 8, 13, -20, 10});
  setLinear(cr, 0, -13, 0, 13, {{0, 0xD8D0C4}, {0.45, 0x7C746A}, {1, 0x24201C}});
  fillOutlined(cr, 1.3, kInk);
  cairo_restore(cr);
  circle(cr, 0, 0, 10);
  setSphere(cr, 0, 0, 10, 0xFFF0E0, 0xD04020, 0x380800);
  fillOutlined(cr, 1.2, kInk);
  return canvas.frame(32, 32);
}

// 3002: a tall biomechanical warship. `sweep` folds its claws back; `phase` 0..3 cycles its
// lights and exhaust.
SpriteFrame drawWarship(bool sweep, int phase) {
  Canvas canvas(170, 176);
  cairo_t* cr = canvas.cr();
  cairo_translate(cr, 85, 88);
  const double flare = 10 + 4 * std::sin(phase * M_PI / 2) + (sweep ? 8 : 0);
  for (double x : {-14.0, 0.0, 14.0}) engineGlow(cr, x, -80, 4.5, flare);
  const double fold = sweep ? 14 : 0;
  for (double side : {-1.0, 1.0}) {
    cairo_save(cr);
    cairo_scale(cr, side, 1);
    cairo_move_to(cr, 24, -40);
    cairo_curve_to(cr, 60 - fold, -54 - fold, 82 - fold * 1.4, -20 - fold, 78 - fold * 1.2,
                   30 - fold);
    cairo_curve_to(cr, 74 - fold, 44 - fold, 66 - fold, 52 - fold, 58 - fold * 0.8, 58 - fold);
    cairo_curve_to(cr, 60 - fold, 30 - fold, 50 - fold, 0, 26, 10);
    cairo_close_path(cr);
    setLinear(cr, 20, -50, 80, 60,
              {{0, 0xD0F0E0}, {0.3, 0x58A088}, {0.7, 0x205040}, {1, 0x081810}});
    fillOutlined(cr, 1.5, kInk);
    for (int i = 0; i < 4; ++i) {
      const double t = 0.2 + i * 0.18;
      cairo_move_to(cr, 28 + t * 30, -30 + t * 20 - fold * t);
      cairo_line_to(cr, 40 + t * 40 - fold * t, -10 + t * 50 - fold * t);
    }
    setColor(cr, 0x0C2820);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    rivetLight(cr, 70 - fold * 1.1, 24 - fold, 3.5, (phase % 2 == 0) ? 0xFF4040 : 0xFFC040);
    cairo_restore(cr);
  }
  mirroredPolygon(cr, 0, {0, 72, 10, 62, 18, 40, 30, 20, 30, -34, 22, -58, 14, -76, 0, -80});
  setMetal(cr, -30, 30, 0xE8FFF4, 0x70A898, 0x143028);
  fillOutlined(cr, 1.6, kInk);
  for (int i = 0; i < 7; ++i) {
    const double y = -60 + i * 16;
    const double w = i < 5 ? 22 - std::abs(i - 2) * 2 : 16 - (i - 5) * 5;
    cairo_move_to(cr, -w, y);
    cairo_curve_to(cr, -w / 2, y + 5, w / 2, y + 5, w, y);
  }
  setColor(cr, 0x183C34);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  for (int i = 0; i < 4; ++i) {
    const double y = -44 + i * 22;
    const bool lit = i == phase;
    rivetLight(cr, -22, y, 3.2, lit ? 0xFFFF80 : 0xC04020);
    rivetLight(cr, 22, y, 3.2, lit ? 0xFFFF80 : 0xC04020);
  }
  mirroredPolygon(cr, 0, {0, 66, 7, 58, 9, 44, 0, 36});
  setSphere(cr, 0, 50, 14, 0xFFE0F0, 0xC02060, 0x300010);
  fillOutlined(cr, 1.2, kInk);
  cairo_save(cr);
  cairo_translate(cr, 0, 15);
  cairo_scale(cr, 13, 17);
  circle(cr, 0, 0, 1);
  cairo_restore(cr);
  setRadial(cr, 0, 15, 17, {{0, 0x200818}, {0.7, 0x601838}, {1, 0xA04870}});
  fillOutlined(cr, 1.4, kInk);
  return canvas.frame(85, 88);
}

// 3002's charging glow, blended at half over the core; `size` grows with the charge.
SpriteFrame drawGlow(int size) {
  Canvas canvas(size, size);
  cairo_t* cr = canvas.cr();
  const double r = size / 2.0;
  starPath(cr, r, r, r, r * 0.55, 8, size % 4 == 0 ? M_PI / 8 : 0);
  setRadial(cr, r, r, r, {{0, 0xFFFFFF}, {0.3, 0xFFB0F0}, {0.7, 0xFF3090}, {1, 0x801040}});
  cairo_fill(cr);
  circle(cr, r, r, r * 0.6);
  setRadial(cr, r, r, r * 0.6, {{0, 0xFFFFFF}, {0.5, 0xFFE0FF}, {1, 0xFF60C0}});
  cairo_fill(cr);
  return canvas.frame(size / 2, size / 2);
}

// A round glowing bullet of `size` pixels around the centre of its box.
SpriteFrame drawBullet(int size, int hot, uint32_t rim, uint32_t mid) {
  Canvas canvas(size, size);
  cairo_t* cr = canvas.cr();
  const double r = size / 2.0;
  circle(cr, r, r, r);
  setRadial(cr, r, r, r, {{0, 0xFFFFFF}, {0.35, 0xFFFFFF}, {0.6, mid}, {0.85, rim}, {1, 0x200008}});
  cairo_fill(cr);
  return canvas.frame(hot, hot);
}

// 104: a long bolt of plasma falling straight down.
SpriteFrame drawHeavyBolt() {
  Canvas canvas(11, 31);
  cairo_t* cr = canvas.cr();
  cairo_move_to(cr, 5.5, 0);
  cairo_curve_to(cr, 11, 8, 11, 24, 5.5, 31);
  cairo_curve_to(cr, 0, 24, 0, 8, 5.5, 0);
  setLinear(cr, 0, 0, 11, 0,
            {{0, 0xA01010}, {0.25, 0xFF6020}, {0.5, 0xFFFFE0}, {0.75, 0xFF6020}, {1, 0xA01010}});
  cairo_fill(cr);
  cairo_move_to(cr, 5.5, 4);
  cairo_line_to(cr, 5.5, 28);
  setColor(cr, 0xFFFFFF);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  return canvas.frame(5, 0);
}

// The heading, in degrees of turn from straight down, of frames 1..5 of the small fighter.
constexpr double kFighterTurns[] = {45, 22, 0, -22, -45};
// 1005 flies down-right, right, up-right; 1006 mirrors it.
constexpr double kGunshipHeadings[] = {45, 0, 315, 135, 180, 225};
// The manta's turn seen from above, top side to underside.
constexpr double kMantaFlips[] = {1, 0.5, 0, -0.5, -1};

}  // namespace

ForgedSheet makeEnemySheet() {
  using frames::Enemy;
  ForgedSheet sheet;
  for (int i = 0; i < 5; ++i) {
    sheet.emplace_back(after(Enemy::FighterTurn45, i), drawFighter(kFighterTurns[i]));
  }
  sheet.emplace_back(Enemy::Dart, drawDart());
  sheet.emplace_back(Enemy::Mine1, drawMine(0));
  sheet.emplace_back(Enemy::Mine2, drawMine(1));
  for (int i = 0; i < 6; ++i) {
    sheet.emplace_back(after(Enemy::GunshipDownRight, i),
                       i < 3 ? drawGunship(kGunshipHeadings[i], 0xF0E0C0, 0xA08050, 0x302010)
                             : drawGunship(kGunshipHeadings[i], 0xD0E0F0, 0x5878A0, 0x101828));
  }
  for (int i = 0; i < 5; ++i)
    sheet.emplace_back(after(Enemy::MantaTop, i), drawManta(kMantaFlips[i]));
  for (int k = 0; k < 8; ++k) sheet.emplace_back(after(Enemy::AmbusherRight, k), drawAmbusher(k));
  sheet.emplace_back(Enemy::Bomber, drawBomber());
  sheet.emplace_back(Enemy::Crescent, drawCrescent());
  sheet.emplace_back(Enemy::Fortress, drawFortress());
  for (int k = 0; k < 8; ++k)
    sheet.emplace_back(after(Enemy::TurretRight, k), drawFortressTurret(k));
  for (int i = 0; i < 8; ++i)
    sheet.emplace_back(after(Enemy::Warship1, i), drawWarship(i >= 4, i % 4));
  sheet.emplace_back(Enemy::GlowSmall, drawGlow(40));
  sheet.emplace_back(Enemy::GlowLarge, drawGlow(50));
  return sheet;
}

ForgedSheet makeBulletSheet() {
  using frames::Eb;
  ForgedSheet sheet;
  sheet.emplace_back(Eb::BulletSmall, drawBullet(8, 3, 0xE02000, 0xFFB040));
  sheet.emplace_back(Eb::BulletMedium, drawBullet(12, 5, 0xC00060, 0xFF50C0));
  sheet.emplace_back(Eb::BulletLarge, drawBullet(17, 8, 0x2040E0, 0x60D0FF));
  sheet.emplace_back(Eb::HeavyBolt, drawHeavyBolt());
  return sheet;
}

}  // namespace vane::forge
