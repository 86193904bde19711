// SPDX-License-Identifier: GPL-3.0-or-later
// "stage.spr" and "back001.spr": the two stage backgrounds, the sky decorations and the panels.
#include <algorithm>
#include <array>
#include <cmath>

#include "art.h"
#include "canvas.h"
#include "paint.h"

namespace vane::forge {

namespace {

constexpr int W = kStageWidth;
// Where the ground changes, in rows of the Stage 1 picture (the top is where the boss waits).
constexpr double kBaseEnd = 230;
constexpr double kCityEnd = 520;
constexpr double kCoast = 960;

// The game writes its game-over and stage-clear lines in black over the stage, wherever the ground
// has scrolled to and whatever floats by: every colour of the stage art is kept at a relative
// luminance of at least kDaylightFloor (a contrast of 4.6:1 or more against black). Tones at or
// above kDaylightKnee stay as painted; darker ones are lifted into the range between, keeping
// their hue and their order, so shadows still read as shadows.
constexpr double kDaylightFloor = 0.2;
constexpr double kDaylightKnee = 0.5;
constexpr double kDaylightLeast = 0.18;  // what a 5-bit colour may come to after rounding

double linearLevel(int fiveBit) {
  const double c = ((fiveBit << 3) | (fiveBit >> 2)) / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int fiveBitLevel(double linear) {
  const double v = std::clamp(linear, 0.0, 1.0);
  const double c = v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
  return std::clamp(static_cast<int>(std::lround(c * 31)), 0, 31);
}

double luminance(const std::array<double, 3>& rgb) {
  return 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
}

std::array<double, 3> linearColour(uint16_t c) {
  return {linearLevel((c >> 10) & 31), linearLevel((c >> 5) & 31), linearLevel(c & 31)};
}

uint16_t inDaylight(uint16_t colour) {
  std::array<double, 3> rgb = linearColour(colour);
  const double now = luminance(rgb);
  if (now >= kDaylightKnee) return colour;
  const double wanted = kDaylightFloor + (kDaylightKnee - kDaylightFloor) * now / kDaylightKnee;
  if (now > 0) {
    for (double& c : rgb) c *= wanted / now;
  } else {
    rgb = {wanted, wanted, wanted};
  }
  // What a channel cannot hold is made up by mixing towards white.
  const double top = std::max({rgb[0], rgb[1], rgb[2]});
  if (top > 1) {
    for (double& c : rgb) c /= top;
    const double t = (wanted - luminance(rgb)) / (1 - luminance(rgb));
    for (double& c : rgb) c += (1 - c) * t;
  }
  std::array<int, 3> level{fiveBitLevel(rgb[0]), fiveBitLevel(rgb[1]), fiveBitLevel(rgb[2])};
  const auto packed = [&level] {
    return static_cast<uint16_t>((level[0] << 10) | (level[1] << 5) | level[2]);
  };
  while (luminance(linearColour(packed())) < kDaylightLeast) {
    for (int& l : level) l = std::min(l + 1, 31);
  }
  return packed();
}

SpriteFrame daylightFrame(const Canvas& canvas) {
  tools::Picture picture = canvas.picture(0, 0);
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    if (picture.opaque[i] != 0) picture.pixels[i] = inDaylight(picture.pixels[i]);
  }
  return tools::encodeFrame(picture);
}

double coastAt(double x) {
  return kCoast + 22 * std::sin(x / 41) + 9 * std::sin(x / 13 + 1);
}

void paintSea(cairo_t* cr, Rng& rng) {
  cairo_rectangle(cr, 0, kCoast - 40, W, kStage1Height - kCoast + 40);
  setLinear(cr, 0, kCoast, 0, kStage1Height, {{0, 0x3C9CA8}, {0.25, 0x2A7498}, {1, 0x1C4C80}});
  cairo_fill(cr);
  for (int i = 0; i < 260; ++i) {
    const double x = rng.uniform(-10, W);
    const double y = rng.uniform(kCoast, kStage1Height);
    const double len = rng.uniform(6, 16);
    cairo_move_to(cr, x, y);
    cairo_curve_to(cr, x + len / 3, y - 2, x + 2 * len / 3, y - 2, x + len, y);
    setColor(cr, 0xC8F0FF, rng.uniform(0.2, 0.5));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  for (int i = 0; i < 3; ++i) {
    const double x = 50 + i * 100 + rng.uniform(-20, 20);
    const double y = 1100 + i * 80 + rng.uniform(0, 60);
    polygon(cr, {x, y - 14, x + 4, y - 6, x + 4, y + 10, x - 4, y + 10, x - 4, y - 6});
    setLinear(cr, x - 4, 0, x + 4, 0, {{0, 0x808890}, {0.4, 0xE0E4E8}, {1, 0x404850}});
    cairo_fill(cr);
    cairo_move_to(cr, x, y + 11);
    cairo_curve_to(cr, x - 8, y + 30, x + 8, y + 40, x, y + 60);
    setColor(cr, 0xE8FFFF, 0.5);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
}

void coastPath(cairo_t* cr, double offset) {
  cairo_move_to(cr, -2, coastAt(-2) + offset);
  for (double x = 0; x <= W + 2; x += 2) cairo_line_to(cr, x, coastAt(x) + offset);
}

void paintCoast(cairo_t* cr) {
  coastPath(cr, 0);
  cairo_line_to(cr, W + 2, 0);
  cairo_line_to(cr, -2, 0);
  cairo_close_path(cr);
  setColor(cr, 0xD8C088);
  cairo_fill(cr);
  coastPath(cr, 3);
  setColor(cr, 0xF0FFFF, 0.8);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  coastPath(cr, 9);
  setColor(cr, 0xE0FFFF, 0.35);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

void paintFields(cairo_t* cr, Rng& rng) {
  constexpr uint32_t kFieldColours[] = {0x5C8C38, 0x78A040, 0x8CA850, 0xA8A058, 0x6C7C30, 0x4C7C3C};
  cairo_rectangle(cr, 0, kCityEnd, W, kCoast - kCityEnd);
  setColor(cr, 0x4C6C30);
  cairo_fill(cr);
  for (double y = kCityEnd - 10; y < kCoast - 20; y += 36) {
    for (double x = -10; x < W; x += 44) {
      const double w = rng.uniform(34, 44);
      const double h = rng.uniform(28, 36);
      const double fx = x + rng.uniform(0, 4);
      const double fy = y + rng.uniform(0, 4);
      if (fy + h > coastAt(fx + w / 2) - 16) continue;
      cairo_rectangle(cr, fx, fy, w, h);
      setColor(cr, kFieldColours[rng.below(6)]);
      cairo_fill_preserve(cr);
      setColor(cr, 0x2C3C18, 0.6);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      if (rng.below(3) == 0) {
        for (double ly = fy + 3; ly < fy + h; ly += 3) {
          cairo_move_to(cr, fx + 1, ly);
          cairo_line_to(cr, fx + w - 1, ly);
        }
        setColor(cr, 0x203010, 0.18);
        cairo_stroke(cr);
      }
    }
  }
}

void paintTrees(cairo_t* cr, Rng& rng, double cx, double cy, int count, double spread) {
  for (int i = 0; i < count; ++i) {
    const double x = cx + rng.uniform(-spread, spread);
    const double y = cy + rng.uniform(-spread * 0.7, spread * 0.7);
    const double r = rng.uniform(3.5, 6);
    circle(cr, x + 2, y + 2, r);
    setColor(cr, 0x102008, 0.5);
    cairo_fill(cr);
    circle(cr, x, y, r);
    setSphere(cr, x, y, r, 0x80B050, 0x3C6C28, 0x1C3410);
    cairo_fill(cr);
  }
}

void paintRiver(cairo_t* cr) {
  auto path = [cr] {
    cairo_move_to(cr, 230, kCoast + 30);
    cairo_curve_to(cr, 260, 860, 180, 800, 210, 720);
    cairo_curve_to(cr, 240, 640, 290, 600, 270, kCityEnd - 20);
  };
  path();
  setColor(cr, 0x6C5C38);
  cairo_set_line_width(cr, 18);
  cairo_stroke(cr);
  path();
  setLinear(cr, 0, kCityEnd, 0, kCoast, {{0, 0x3C7C98}, {1, 0x3C9CA8}});
  cairo_set_line_width(cr, 12);
  cairo_stroke(cr);
}

void paintRoad(cairo_t* cr, double x0, double y0, double x1, double y1, double width) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  setColor(cr, 0x505050);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
  const double dashes[] = {6, 6};
  cairo_set_dash(cr, dashes, 2, 0);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  setColor(cr, 0xE8D860);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

void paintBuilding(cairo_t* cr, Rng& rng, double x, double y, double w, double h) {
  const double height = rng.uniform(3, 9);
  polygon(cr, {x + w, y, x + w + height, y + height, x + w + height, y + h + height, x + height,
               y + h + height, x, y + h});
  setColor(cr, 0x101418, 0.55);
  cairo_fill(cr);
  constexpr uint32_t kRoofs[] = {0x9098A0, 0xB0A898, 0x788088, 0xA89080, 0xC0C4C8, 0x687078};
  const uint32_t roof = kRoofs[rng.below(6)];
  cairo_rectangle(cr, x, y, w, h);
  setLinear(cr, x, y, x + w, y + h, {{0, mix(roof, 0xFFFFFF, 0.3)}, {1, mix(roof, 0, 0.25)}});
  cairo_fill(cr);
  cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
  setColor(cr, 0x202428, 0.7);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  if (w > 12 && h > 12 && rng.below(2) == 0) {
    cairo_rectangle(cr, x + w * 0.3, y + h * 0.3, w * 0.35, h * 0.35);
    setColor(cr, mix(roof, 0, 0.3));
    cairo_fill(cr);
  }
}

void paintCity(cairo_t* cr, Rng& rng) {
  cairo_rectangle(cr, 0, kBaseEnd, W, kCityEnd - kBaseEnd + 12);
  setColor(cr, 0x6C7068);
  cairo_fill(cr);
  for (double by = kBaseEnd + 14; by < kCityEnd - 20; by += 56) {
    for (double bx = 6; bx < W; bx += 62) {
      cairo_rectangle(cr, bx, by, 52, 46);
      setColor(cr, 0x888C80);
      cairo_fill(cr);
      if (rng.below(7) == 0) {
        cairo_rectangle(cr, bx + 2, by + 2, 48, 42);
        setColor(cr, 0x4C7C34);
        cairo_fill(cr);
        paintTrees(cr, rng, bx + 26, by + 23, 8, 16);
        continue;
      }
      double x = bx + 2;
      while (x < bx + 46) {
        const double w = std::min(rng.uniform(12, 26), bx + 50 - x);
        const double h1 = rng.uniform(14, 22);
        paintBuilding(cr, rng, x, by + 2, w - 2, h1);
        paintBuilding(cr, rng, x, by + 4 + h1, w - 2, 40 - h1);
        x += w;
      }
    }
  }
  for (double y = kBaseEnd + 7; y < kCityEnd; y += 56) paintRoad(cr, 0, y, W, y, 8);
  for (double x = 3; x < W; x += 62) paintRoad(cr, x, kBaseEnd, x, kCityEnd, 6);
}

void paintBase(cairo_t* cr, Rng& rng) {
  cairo_rectangle(cr, 0, 0, W, kBaseEnd + 4);
  setColor(cr, 0x8C8878);
  cairo_fill(cr);
  for (double y = 0; y < kBaseEnd; y += 20) {
    for (double x = 0; x < W; x += 20) {
      cairo_rectangle(cr, x, y, 20, 20);
      setColor(cr, rng.below(2) ? 0x948F80 : 0x858072);
      cairo_fill_preserve(cr);
      setColor(cr, 0x5C584C, 0.5);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
    }
  }
  cairo_rectangle(cr, 22, 0, 44, kBaseEnd);
  setColor(cr, 0x3C3C40);
  cairo_fill(cr);
  for (double y = 8; y < kBaseEnd; y += 24) {
    cairo_rectangle(cr, 42, y, 4, 12);
    setColor(cr, 0xF0F0E0);
    cairo_fill(cr);
  }
  for (double y : {6.0, kBaseEnd - 12}) {
    for (double x = 25; x < 64; x += 6) {
      cairo_rectangle(cr, x, y, 3, 6);
      setColor(cr, 0xF0F0E0);
      cairo_fill(cr);
    }
  }
  circle(cr, 170, 100, 56);
  setColor(cr, 0x6C6860);
  cairo_fill(cr);
  circle(cr, 170, 100, 50);
  setColor(cr, 0xE8C030);
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    cairo_move_to(cr, 170 + std::cos(a) * 26, 100 + std::sin(a) * 26);
    cairo_line_to(cr, 170 + std::cos(a) * 44, 100 + std::sin(a) * 44);
  }
  setColor(cr, 0xE8E4D8);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  for (int i = 0; i < 3; ++i) {
    const double x = 246;
    const double y = 22 + i * 64;
    roundedRect(cr, x + 5, y + 5, 62, 46, 6);
    setColor(cr, 0x202020, 0.5);
    cairo_fill(cr);
    roundedRect(cr, x, y, 62, 46, 6);
    setLinear(cr, x, 0, x + 62, 0,
              {{0, 0x707C68}, {0.3, 0xB8C4A8}, {0.55, 0x808C74}, {1, 0x3C4434}});
    cairo_fill(cr);
    for (double lx = x + 6; lx < x + 60; lx += 6) {
      cairo_move_to(cr, lx, y + 2);
      cairo_line_to(cr, lx, y + 44);
    }
    setColor(cr, 0x303828, 0.5);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  for (int i = 0; i < 4; ++i) {
    const double x = 100 + i * 30;
    const double y = 196;
    circle(cr, x + 3, y + 3, 11);
    setColor(cr, 0x202020, 0.5);
    cairo_fill(cr);
    circle(cr, x, y, 11);
    setSphere(cr, x, y, 11, 0xFFFFFF, 0xC8C0B0, 0x605850);
    cairo_fill(cr);
  }
  cairo_rectangle(cr, 0, kBaseEnd - 2, W, 8);
  setLinear(cr, 0, kBaseEnd - 2, 0, kBaseEnd + 6, {{0, 0xB0A890}, {0.5, 0x504C44}, {1, 0x303028}});
  cairo_fill(cr);
}

// A cumulus cloud: a shaded heap of puffs, drawn again one picture height away for the seam.
void paintCloud(cairo_t* cr, Rng& rng, double cx, double cy, double size, uint32_t shade) {
  struct Puff {
    double x, y, r;
  };
  Puff puffs[14];
  for (Puff& p : puffs) {
    p = {cx + rng.uniform(-1.6, 1.6) * size, cy + rng.uniform(-0.35, 0.35) * size,
         rng.uniform(0.3, 0.6) * size};
  }
  for (double wrap : {-kSkyHeight * 1.0, 0.0, kSkyHeight * 1.0}) {
    for (const Puff& p : puffs) {
      circle(cr, p.x + size * 0.12, p.y + wrap + size * 0.18, p.r);
      setColor(cr, 0x284C90, 0.25);
      cairo_fill(cr);
    }
    for (const Puff& p : puffs) {
      circle(cr, p.x, p.y + wrap, p.r);
      setSphere(cr, p.x, p.y + wrap, p.r, 0xFFFFFF, mix(0xF4F8FF, shade, 0.3), shade);
      cairo_fill(cr);
    }
  }
}

// A floating island of rock with grass and trees on top; `seed` varies its outline.
SpriteFrame drawIsland(int w, int h, uint32_t seed, bool ruins) {
  Canvas canvas(w, h);
  cairo_t* cr = canvas.cr();
  Rng rng(seed);
  const double top = h * 0.3;
  cairo_move_to(cr, 4, top);
  for (int i = 1; i <= 8; ++i) {
    const double x = 4 + (w - 8) * i / 8.0;
    const double y = top + rng.uniform(-6, 6);
    cairo_line_to(cr, x, y);
  }
  cairo_curve_to(cr, w - 10, top + h * 0.3, w * 0.7, h * 0.6, w * 0.55, h - 2);
  cairo_curve_to(cr, w * 0.45, h * 0.7, w * 0.3, h * 0.65, 4, top + 8);
  cairo_close_path(cr);
  setLinear(cr, 0, top, w, h, {{0, 0xB89870}, {0.4, 0x7C5C40}, {1, 0x302018}});
  fillOutlined(cr, 1.5, 0x201410);
  for (int i = 0; i < 10; ++i) {
    const double x = rng.uniform(w * 0.2, w * 0.8);
    const double y = rng.uniform(top + 10, h * 0.7);
    cairo_move_to(cr, x, y);
    // Drawn one by one: the order of a call's arguments is the compiler's to choose.
    const double down = rng.uniform(8, 20);
    const double across = rng.uniform(-8, 8);
    cairo_line_to(cr, x + across, y + down);
  }
  setColor(cr, 0x402818, 0.8);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, w / 2.0, top);
  cairo_scale(cr, w / 2.0 - 5, h * 0.14);
  circle(cr, 0, 0, 1);
  cairo_restore(cr);
  setRadial(cr, w / 2.0 - w * 0.15, top - h * 0.05, w / 2.0,
            {{0, 0xA8D870}, {0.6, 0x5C9838}, {1, 0x2C5420}});
  cairo_fill(cr);
  if (ruins) {
    for (int i = 0; i < 4; ++i) {
      const double x = w * 0.28 + i * w * 0.13;
      const double ch = rng.uniform(14, 28);
      cairo_rectangle(cr, x, top - ch, 7, ch + 4);
      setLinear(cr, x, 0, x + 7, 0, {{0, 0xF0E8D8}, {0.5, 0xC0B8A8}, {1, 0x706860}});
      fillOutlined(cr, 0.8, 0x302820);
    }
  } else {
    for (int i = 0; i < 9; ++i) {
      const double x = w / 2.0 + rng.uniform(-0.35, 0.35) * w;
      const double y = top + rng.uniform(-0.08, 0.06) * h;
      const double r = rng.uniform(4, 8);
      circle(cr, x, y, r);
      setSphere(cr, x, y, r, 0x98D060, 0x3C7828, 0x143010);
      cairo_fill(cr);
    }
  }
  return daylightFrame(canvas);
}

// A large cloud bank drifting below the player, solid enough to read as scenery.
SpriteFrame drawCloudBank() {
  Canvas canvas(230, 120);
  cairo_t* cr = canvas.cr();
  Rng rng(0xC10D);
  for (int i = 0; i < 14; ++i) {
    const double x = rng.uniform(40, 190);
    const double y = rng.uniform(45, 80);
    const double r = rng.uniform(22, 38);
    circle(cr, x, y, r);
    setSphere(cr, x, y, r, 0xFFFFFF, 0xE4ECFA, 0x98A8CC);
    cairo_fill(cr);
  }
  return daylightFrame(canvas);
}

SpriteFrame drawStage1() {
  Canvas canvas(W, kStage1Height);
  paintStage1(canvas.cr());
  return daylightFrame(canvas);
}

SpriteFrame drawSky() {
  Canvas canvas(W, kSkyHeight);
  paintSky(canvas.cr());
  return daylightFrame(canvas);
}

// How far each panel's emblem stands from the edge where the two panels meet.
constexpr double kEmblemFromSeam = 80;

// The strip of rail along a panel's inner edge, the part that frames the play field.
void paintRail(cairo_t* cr, double x) {
  cairo_rectangle(cr, x, 0, 10, 480);
  setLinear(cr, x, 0, x + 10, 0,
            {{0, 0x303844}, {0.2, 0xD8E0EC}, {0.45, 0x8890A0}, {0.8, 0x485060}, {1, 0x181C24}});
  cairo_fill(cr);
  for (double y = 20; y < 480; y += 60) {
    circle(cr, x + 5, y, 2);
    setSphere(cr, x + 5, y, 2, 0xFFFFFF, 0x8890A0, 0x202428);
    cairo_fill(cr);
  }
}

// The round emblem of the panels, centred on (seamX, y), 104 pixels across.
void paintEmblem(cairo_t* cr, double seamX, double y) {
  cairo_save(cr);
  circle(cr, seamX, y, 52);
  setLinear(cr, seamX - 52, y - 52, seamX + 52, y + 52,
            {{0, 0xF0F4FF}, {0.4, 0x8890A8}, {1, 0x202838}});
  fillOutlined(cr, 2, 0x101420);
  circle(cr, seamX, y, 40);
  setRadial(cr, seamX, y, 40, {{0, 0x2050C0}, {0.8, 0x102060}, {1, 0x081030}});
  cairo_fill(cr);
  polygon(cr, {seamX - 26, y - 22, seamX - 14, y - 22, seamX, y + 14, seamX + 14, y - 22,
               seamX + 26, y - 22, seamX + 4, y + 28, seamX - 4, y + 28});
  setLinear(cr, 0, y - 22, 0, y + 28, {{0, 0xFFFFFF}, {0.5, 0xC8D8FF}, {1, 0x6080C0}});
  fillOutlined(cr, 1.2, 0x081030);
  cairo_restore(cr);
}

void paintPanelBase(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, 320, 480);
  setLinear(cr, 0, 0, 320, 480, {{0, 0x6C7888}, {0.5, 0x505A68}, {1, 0x343C48}});
  cairo_fill(cr);
  Rng rng(0xB5C1);
  for (int i = 0; i < 900; ++i) {
    const double y = rng.uniform(0, 480);
    const double x = rng.uniform(0, 320);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + rng.uniform(10, 40), y);
    setColor(cr, rng.below(2) ? 0xFFFFFF : 0x000000, 0.05);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
}

SpriteFrame drawLeftPanel() {
  Canvas canvas(320, 480);
  cairo_t* cr = canvas.cr();
  paintPanelBase(cr);
  paintPlate(cr, 16, 16, 280, 130, true);
  paintPlate(cr, 16, 160, 130, 150, true);
  paintPlate(cr, 160, 160, 136, 150, true);
  paintPlate(cr, 16, 324, 280, 140, true);
  for (double y = 190; y < 290; y += 12) {
    roundedRect(cr, 36, y, 90, 6, 3);
    setColor(cr, 0x181C24);
    cairo_fill(cr);
  }
  // Each panel carries a whole emblem, as far from the seam as the other's, so that the closed
  // curtains show a matching pair and the open right panel shows its own in full.
  paintEmblem(cr, 320 - kEmblemFromSeam, 394);
  paintRail(cr, 310);
  return canvas.frame(0, 0);
}

SpriteFrame drawRightPanel() {
  Canvas canvas(320, 480);
  cairo_t* cr = canvas.cr();
  paintPanelBase(cr);
  paintPlate(cr, 14, 16, 292, 54, true);
  // The inset screen behind the white key help.
  // The game writes the help from x 21 of the panel (x 350 on the screen); the inset starts 6
  // pixels before it, right after the rail.
  paintPlate(cr, 11, 80, 299, 196, false);
  roundedRect(cr, 15, 86, 289, 184, 4);
  setLinear(cr, 0, 86, 0, 270, {{0, 0x0C1828}, {1, 0x060C18}});
  cairo_fill(cr);
  for (double y = 88; y < 270; y += 3) {
    cairo_move_to(cr, 17, y);
    cairo_line_to(cr, 302, y);
  }
  setColor(cr, 0x2040A0, 0.12);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  paintPlate(cr, 14, 290, 296, 174, true);
  paintEmblem(cr, kEmblemFromSeam, 394);
  for (double y = 316; y < 440; y += 14) {
    roundedRect(cr, 170, y, 110, 7, 3.5);
    setColor(cr, 0x181C24);
    cairo_fill(cr);
  }
  paintRail(cr, 0);
  for (int i = 0; i < 8; ++i) {
    const double x = 40 + i * 14;
    polygon(cr, {x, 30, x + 8, 30, x + 2, 56, x - 6, 56});
    setColor(cr, i % 2 == 0 ? 0xE8C030 : 0x202020);
    cairo_fill(cr);
  }
  return canvas.frame(0, 0);
}

}  // namespace

void paintPlate(cairo_t* cr, double x, double y, double w, double h, bool rivets) {
  cairo_rectangle(cr, x, y, w, h);
  setLinear(cr, x, y, x + w * 0.6, y + h, {{0, 0x8894A4}, {0.5, 0x646E7C}, {1, 0x464E5A}});
  cairo_fill(cr);
  cairo_move_to(cr, x + 1, y + h - 1);
  cairo_line_to(cr, x + 1, y + 1);
  cairo_line_to(cr, x + w - 1, y + 1);
  setColor(cr, 0xD8E0EC);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_move_to(cr, x + w - 1, y + 1);
  cairo_line_to(cr, x + w - 1, y + h - 1);
  cairo_line_to(cr, x + 1, y + h - 1);
  setColor(cr, 0x1C2028);
  cairo_stroke(cr);
  if (!rivets) return;
  for (double rx : {x + 7, x + w - 7}) {
    for (double ry : {y + 7, y + h - 7}) {
      circle(cr, rx, ry, 2.5);
      setSphere(cr, rx, ry, 2.5, 0xFFFFFF, 0x9098A8, 0x282C34);
      cairo_fill(cr);
    }
  }
}

void paintStage1(cairo_t* cr) {
  Rng rng(0x57A6E1);
  paintSea(cr, rng);
  paintCoast(cr);
  paintFields(cr, rng);
  paintRiver(cr);
  paintRoad(cr, 96, kCityEnd, 80, kCoast - 30, 8);
  constexpr double kForests[][2] = {{40, 600}, {150, 700}, {280, 780}, {60, 860}, {180, 560}};
  for (const auto& f : kForests) paintTrees(cr, rng, f[0], f[1], 26, 28);
  paintCity(cr, rng);
  paintBase(cr, rng);
}

void paintSky(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, W, kSkyHeight);
  setColor(cr, 0x5C8CD8);
  cairo_fill(cr);
  Rng rng(0x5C1E5);
  for (int i = 0; i < 40; ++i) {
    const double x = rng.uniform(-40, W);
    const double y = rng.uniform(0, kSkyHeight);
    const double len = rng.uniform(40, 120);
    for (double wrap : {-kSkyHeight * 1.0, 0.0, kSkyHeight * 1.0}) {
      cairo_move_to(cr, x, y + wrap);
      cairo_line_to(cr, x + len, y + wrap);
    }
    setColor(cr, 0xD8E8FF, rng.uniform(0.12, 0.3));
    cairo_set_line_width(cr, rng.uniform(2, 5));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
  }
  // Each cloud's size, height and place drawn one by one, in that order: the order of a call's
  // arguments is the compiler's to choose.
  for (int i = 0; i < 10; ++i) {
    const double size = rng.uniform(14, 24);
    const double y = i * kSkyHeight / 10.0 + rng.uniform(0, 20);
    const double x = rng.uniform(0, W);
    paintCloud(cr, rng, x, y, size, 0x90A4D0);
  }
  for (int i = 0; i < 5; ++i) {
    const double size = rng.uniform(30, 46);
    const double y = i * kSkyHeight / 5.0 + rng.uniform(20, 60);
    const double x = rng.uniform(0, W);
    paintCloud(cr, rng, x, y, size, 0xA8B8DC);
  }
}

ForgedSheet makeStageSheet() {
  using frames::Stage;
  ForgedSheet sheet;
  sheet.emplace_back(Stage::Stage1Ground, drawStage1());
  sheet.emplace_back(Stage::Stage2Sky, drawSky());
  sheet.emplace_back(Stage::IslandLarge, drawIsland(200, 150, 0x1A1, false));
  sheet.emplace_back(Stage::CloudBank, drawCloudBank());
  sheet.emplace_back(Stage::IslandTall, drawIsland(150, 170, 0x2B2, true));
  sheet.emplace_back(Stage::IslandSmall, drawIsland(110, 90, 0x3C3, false));
  return sheet;
}

ForgedSheet makePanelSheet() {
  ForgedSheet sheet;
  sheet.emplace_back(frames::Back::PanelLeft, drawLeftPanel());
  sheet.emplace_back(frames::Back::PanelRight, drawRightPanel());
  return sheet;
}

}  // namespace vane::forge
