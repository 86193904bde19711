// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon at the sizes of the desktop's hicolor theme, painted from the game's own art.
#include "icons.h"

#include <cairo.h>

#include <cstdio>
#include <filesystem>

#include "canvas.h"
#include "paint.h"

namespace vane::forge {

namespace {

// The ship's painter works in a 44-pixel box centred on the origin; its hull spans about 40.
constexpr double kShipBox = 44;

// A night-blue rounded tile with a glow behind the ship, then the first ship flying straight.
void paintIcon(cairo_t* cr, int size) {
  const double s = size;
  const double margin = size <= 24 ? 0 : s / 32;
  roundedRect(cr, margin, margin, s - 2 * margin, s - 2 * margin, s * 0.18);
  setLinear(cr, 0, 0, 0, s, {{0, 0x1A3A7A}, {1, 0x050A20}});
  cairo_fill_preserve(cr);
  setRadial(cr, s / 2, s * 0.55, s * 0.5, {{0, 0x70C0FF, 0.55}, {1, 0x70C0FF, 0.0}});
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, s / 2, s / 2);
  const double scale = s * 0.84 / kShipBox;
  cairo_scale(cr, scale, scale);
  paintShip(cr, 1, 0);
  cairo_restore(cr);
}

bool writeIcon(const std::string& dir, int size) {
  const std::string name = std::to_string(size) + "x" + std::to_string(size);
  const std::filesystem::path folder = std::filesystem::path(dir) / name / "apps";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  paintIcon(cr, size);
  cairo_destroy(cr);
  const std::string path = (folder / "vane.png").string();
  const bool ok = writeSurfacePng(surface, path);
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace

bool writeIcons(const std::string& dir) {
  for (int size : kIconSizes) {
    if (!writeIcon(dir, size)) return false;
  }
  return true;
}

}  // namespace vane::forge
