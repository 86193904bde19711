// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing one frame with cairo and cutting it to a 5-5-5 run-length sprite frame.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "gfx/sprite.h"
#include "tools/common/formats.h"

namespace vane::forge {

// An antialiased ARGB32 drawing surface of one frame's size.
class Canvas {
 public:
  Canvas(int width, int height);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas();

  cairo_t* cr() const { return cr_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Pixels of alpha 128 or more become opaque, their colour un-premultiplied and cut to 5-5-5.
  tools::Picture picture(int hotX, int hotY) const;
  SpriteFrame frame(int hotX, int hotY) const;

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// A small seeded generator for textures, so every run draws the same pictures.
class Rng {
 public:
  explicit Rng(uint32_t seed) : state_(seed) {}
  uint32_t next();
  // A number in [lo, hi).
  double uniform(double lo, double hi);
  int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }

 private:
  uint32_t state_;
};

struct Stop {
  double offset;
  uint32_t rgb;
  double alpha = 1.0;
};

void setColor(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
void setLinear(cairo_t* cr, double x0, double y0, double x1, double y1,
               std::initializer_list<Stop> stops);
void setRadial(cairo_t* cr, double cx, double cy, double r, std::initializer_list<Stop> stops);
// A radial gradient whose focus is offset, for lit spheres and domes.
void setSphere(cairo_t* cr, double cx, double cy, double r, uint32_t light, uint32_t mid,
               uint32_t dark);
// Blends two colours: t = 0 gives a, t = 1 gives b.
uint32_t mix(uint32_t a, uint32_t b, double t);

// Moves to the first point and draws lines through the rest (x, y pairs), closing the path.
void polygon(cairo_t* cr, std::initializer_list<double> xy);
// The same path mirrored about x = axis, for symmetric hulls given by their right half.
void mirroredPolygon(cairo_t* cr, double axis, const std::vector<double>& rightHalfXY);
void circle(cairo_t* cr, double cx, double cy, double r);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// Fills the current path and strokes it with a dark outline of the given width.
void fillOutlined(cairo_t* cr, double width, uint32_t outline);

// Bold sans-serif text, its ink box centred on (cx, cy), as a path.
void centredTextPath(cairo_t* cr, const char* text, double size, double cx, double cy);

// Writes the surface as a PNG through the programs' one file writer; on failure one line on
// stderr names the file and the reason.
bool writeSurfacePng(cairo_surface_t* surface, const std::string& path);

// A star of `points` spikes, the classic sparkle.
void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double turn);

}  // namespace vane::forge
