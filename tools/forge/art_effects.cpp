// SPDX-License-Identifier: GPL-3.0-or-later
// "x.spr": the ship's explosion, an enemy's explosion and a shot's spark, step by step.
#include <cmath>

#include "art.h"
#include "canvas.h"

namespace vane::forge {

namespace {

// The colours of a fireball as it cools: core, body and rim at progress t in 0..1.
struct FireColours {
  uint32_t core, body, rim;
};

FireColours fireAt(double t) {
  if (t < 0.3) return {0xFFFFFF, mix(0xFFFFC0, 0xFFD040, t / 0.3), 0xF08020};
  if (t < 0.65) {
    const double u = (t - 0.3) / 0.35;
    return {mix(0xFFFFC0, 0xFFC040, u), mix(0xFFB030, 0xF06010, u), mix(0xD04010, 0x802010, u)};
  }
  const double u = (t - 0.65) / 0.35;
  return {mix(0xFF9020, 0x905040, u), mix(0xC04010, 0x504040, u), mix(0x602010, 0x282424, u)};
}

// One step of a fireball made of puffs that spread, swell and then break up into smoke.
SpriteFrame drawFireball(int size, uint32_t seed, double t, int puffs) {
  Canvas canvas(size, size);
  cairo_t* cr = canvas.cr();
  const double c = size / 2.0;
  const double reach = c * 0.62;
  const FireColours colours = fireAt(t);
  Rng rng(seed);
  const double swell = std::sin(std::min(1.0, t * 1.6) * M_PI / 2) * (1.15 - 0.55 * t * t);
  for (int i = 0; i < puffs; ++i) {
    const double a = rng.uniform(0, 2 * M_PI);
    const double d = rng.uniform(0.15, 1.0) * reach * (0.25 + 0.75 * t);
    const double r = rng.uniform(0.28, 0.42) * c * swell;
    const double x = c + std::cos(a) * d;
    const double y = c + std::sin(a) * d;
    if (r < 0.8) continue;
    circle(cr, x, y, r);
    setRadial(cr, x - r * 0.2, y - r * 0.2, r * 1.1,
              {{0, colours.core}, {0.55, colours.body}, {1, colours.rim}});
    cairo_fill(cr);
  }
  if (t < 0.5) {
    const double r = c * 0.45 * (1 - t * 1.4);
    circle(cr, c, c, r);
    setRadial(cr, c, c, r, {{0, 0xFFFFFF}, {1, 0xFFF0A0}});
    cairo_fill(cr);
  }
  for (int i = 0; i < puffs; ++i) {
    const double a = rng.uniform(0, 2 * M_PI);
    const double d = (0.3 + 0.7 * t) * c * rng.uniform(0.7, 0.95);
    const double r = std::max(0.8, 1.8 * (1 - t));
    circle(cr, c + std::cos(a) * d, c + std::sin(a) * d, r);
    setColor(cr, t < 0.6 ? 0xFFF0A0 : 0xC08060);
    cairo_fill(cr);
  }
  return canvas.frame(size / 2, size / 2);
}

// A shot's spark: a star that flashes and shrinks away.
SpriteFrame drawSpark(int step) {
  Canvas canvas(16, 16);
  cairo_t* cr = canvas.cr();
  const double t = step / 4.0;
  const double outer = 7.5 * (step == 0 ? 0.8 : 1.0 - t * 0.6);
  starPath(cr, 8, 8, outer, outer * 0.35, 4, step * M_PI / 10);
  setRadial(cr, 8, 8, outer,
            {{0, 0xFFFFFF}, {0.4, mix(0xFFFFA0, 0xFF8020, t)}, {1, mix(0xFF8020, 0x802010, t)}});
  cairo_fill(cr);
  return canvas.frame(8, 8);
}

constexpr int kShipSteps = 8;
constexpr int kEnemySteps = 5;
constexpr int kSparkSteps = 5;

}  // namespace

ForgedSheet makeExplosionSheet() {
  using frames::X;
  ForgedSheet sheet;
  for (int i = 0; i < kShipSteps; ++i) {
    sheet.emplace_back(after(X::ShipBlast1, i),
                       drawFireball(72, 0x5EED01, (i + 1.0) / kShipSteps, 14));
  }
  for (int i = 0; i < kEnemySteps; ++i) {
    sheet.emplace_back(after(X::EnemyBlast1, i),
                       drawFireball(56, 0x5EED02, (i + 1.0) / kEnemySteps, 10));
  }
  for (int i = 0; i < kSparkSteps; ++i) sheet.emplace_back(after(X::Spark1, i), drawSpark(i));
  return sheet;
}

}  // namespace vane::forge
