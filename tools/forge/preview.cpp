// SPDX-License-Identifier: GPL-3.0-or-later
// Contact sheets and mock screens of the generated art, written as PNG files for review.
#include "preview.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "art.h"
#include "canvas.h"
#include "tools/common/formats.h"

namespace vane::forge {

namespace {

using Sheet = std::vector<tools::Picture>;

Sheet decodeSheet(const ForgedSheet& forged) {
  Sheet sheet;
  for (const ForgedFrame& f : forged) sheet.push_back(tools::decodeFrame(f.frame));
  return sheet;
}

uint32_t argbOf(uint16_t p) {
  auto expand = [](uint32_t v) { return (v << 3) | (v >> 2); };
  return 0xFF000000u | (expand((p >> 10) & 31) << 16) | (expand((p >> 5) & 31) << 8) |
         expand(p & 31);
}

// Copies the opaque pixels of a picture with its hot spot at (x, y), clipped to the surface.
void blit(cairo_surface_t* surface, const tools::Picture& p, int x, int y, int scale = 1) {
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int left = x - p.hotX * scale;
  const int top = y - p.hotY * scale;
  for (int r = 0; r < p.height * scale; ++r) {
    const int sy = top + r;
    if (sy < 0 || sy >= h) continue;
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(sy) * stride);
    for (int c = 0; c < p.width * scale; ++c) {
      const int sx = left + c;
      const size_t at = static_cast<size_t>(r / scale) * p.width + c / scale;
      if (sx < 0 || sx >= w || !p.opaque[at]) continue;
      row[sx] = argbOf(p.pixels[at]);
    }
  }
  cairo_surface_mark_dirty(surface);
}

bool save(cairo_surface_t* surface, const std::string& dir, const char* name) {
  const std::string path = (std::filesystem::path(dir) / name).string();
  const bool ok = writeSurfacePng(surface, path);
  cairo_surface_destroy(surface);
  return ok;
}

// All frames of a sheet in rows on a checkerboard, each under its label and with a cross on its
// hot spot; `labels` holds one per frame (the frame number when it is empty).
bool writeContactSheet(const Sheet& sheet, const std::string& dir, const std::string& name,
                       int scale, const std::vector<std::string>& labels = {}) {
  constexpr int kWidth = 1280;
  constexpr int kGap = 16;
  auto labelOf = [&](size_t i) { return labels.empty() ? std::to_string(i + 1) : labels[i]; };
  cairo_surface_t* measure = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* mcr = cairo_create(measure);
  cairo_select_font_face(mcr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(mcr, 11);
  int x = kGap;
  int y = kGap;
  int rowHeight = 0;
  std::vector<std::pair<int, int>> places;
  for (size_t i = 0; i < sheet.size(); ++i) {
    const tools::Picture& p = sheet[i];
    cairo_text_extents_t extents;
    cairo_text_extents(mcr, labelOf(i).c_str(), &extents);
    const int w = std::max(p.width * scale, static_cast<int>(std::ceil(extents.x_advance)));
    if (x + w > kWidth && x > kGap) {
      x = kGap;
      y += rowHeight + kGap + 12;
      rowHeight = 0;
    }
    places.emplace_back(x, y + 12);
    x += w + kGap;
    rowHeight = std::max(rowHeight, p.height * scale);
  }
  cairo_destroy(mcr);
  cairo_surface_destroy(measure);
  const int height = y + rowHeight + kGap + 12;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, height);
  cairo_t* cr = cairo_create(surface);
  for (int cy = 0; cy < height; cy += 8) {
    for (int cx = 0; cx < kWidth; cx += 8) {
      const double v = ((cx + cy) / 8) % 2 ? 0.22 : 0.28;
      cairo_set_source_rgb(cr, v, v, v + 0.04);
      cairo_rectangle(cr, cx, cy, 8, 8);
      cairo_fill(cr);
    }
  }
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 11);
  for (size_t i = 0; i < sheet.size(); ++i) {
    const auto [px, py] = places[i];
    const tools::Picture& p = sheet[i];
    cairo_set_source_rgb(cr, 1, 1, 0.6);
    cairo_move_to(cr, px, py - 2);
    cairo_show_text(cr, labelOf(i).c_str());
    blit(surface, p, px + p.hotX * scale, py + p.hotY * scale, scale);
    cairo_set_source_rgb(cr, 1, 0, 1);
    cairo_set_line_width(cr, 1);
    const double hx = px + p.hotX * scale + 0.5;
    const double hy = py + p.hotY * scale + 0.5;
    cairo_move_to(cr, hx - 3, hy);
    cairo_line_to(cr, hx + 3, hy);
    cairo_move_to(cr, hx, hy - 3);
    cairo_line_to(cr, hx, hy + 3);
    cairo_stroke(cr);
  }
  cairo_destroy(cr);
  return save(surface, dir, (name + ".png").c_str());
}

struct Sheets {
  Sheet player, enemy, eb, back, stage, x, etc;
};

struct Screen {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 640, 480);
  Screen() {
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  void draw(const Sheet& s, int n, int x, int y) {
    blit(surface, s[static_cast<size_t>(n - 1)], x, y);
  }
  void text(const char* line, int x, int y, double grey) {
    cairo_t* cr = cairo_create(surface);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 13);
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_move_to(cr, x, y + 13);
    cairo_show_text(cr, line);
    cairo_destroy(cr);
  }
};

void drawHudAndPanels(Screen& s, const Sheets& a, int score, int lives, int type, int energy) {
  s.draw(a.etc, 11, 30, 1);
  for (int j = 0, v = score; j < 7; ++j, v /= 10) s.draw(a.etc, v % 10 + 1, 135 - 15 * j, 13);
  for (int i = 0; i < lives; ++i) s.draw(a.etc, type + 17, 275 - 15 * i, 13);
  for (int i = 0; i < energy / 100; ++i) s.draw(a.etc, 17, 320 - 10 * i, 465);
  s.draw(a.back, 1, -310, 0);
  s.draw(a.back, 2, 329, 0);
  constexpr struct {
    const char* text;
    int y;
  } kHelp[] = {{"Key Setting...", 100},
               {"Move : Arrow Keys", 120},
               {"Shot : Shift Keys", 140},
               {"Special Attack : Z Key", 160},
               {"PAUSE : Space Key", 180},
               {"T Key  ^^;", 200},
               {"Get Energy Ball For Special Attack", 240}};
  for (const auto& h : kHelp) s.text(h.text, 350, h.y, 1);
}

bool writeStage1Screen(const Sheets& a, const std::string& dir) {
  Screen s;
  s.draw(a.stage, 1, 10, -420);
  s.draw(a.enemy, 3, 80, 60);
  s.draw(a.enemy, 1, 120, 90);
  s.draw(a.enemy, 5, 200, 70);
  s.draw(a.enemy, 6, 250, 140);
  s.draw(a.enemy, 7, 60, 170);
  s.draw(a.enemy, 10, 160, 220);
  s.draw(a.enemy, 24, 270, 300);
  s.draw(a.enemy, 28, 170, 130);
  s.draw(a.x, 11, 90, 270);
  s.draw(a.player, 6, 166, 360);
  s.draw(a.player, 6, 172, 330);
  s.draw(a.player, 7, 140, 370);
  s.draw(a.player, 9, 200, 350);
  s.draw(a.x, 15, 176, 180);
  s.draw(a.etc, 14, 110, 300);
  s.draw(a.etc, 16, 240, 250);
  for (int i = 0; i < 5; ++i) s.draw(a.eb, 1 + i % 3, 100 + 30 * i, 250 + 10 * i);
  s.draw(a.player, 2, 170, 400);
  s.draw(a.etc, 12, 200, 420);
  drawHudAndPanels(s, a, 12340, 2, 1, 300);
  s.text("Game Over!!!", 100, 240, 0);
  return save(s.surface, dir, "screen-stage1.png");
}

bool writeBossScreens(const Sheets& a, const std::string& dir) {
  Screen s1;
  s1.draw(a.stage, 1, 10, 0);
  s1.draw(a.enemy, 30, 170, 100);
  s1.draw(a.enemy, 33, 170, 100);
  for (int i = 0; i < 8; ++i) s1.draw(a.eb, 1 + (i % 3), 120 + 14 * i, 200 + 12 * (i % 3));
  s1.draw(a.player, 3, 170, 400);
  drawHudAndPanels(s1, a, 98760, 1, 1, 100);
  if (!save(s1.surface, dir, "screen-boss1.png")) return false;
  Screen s2;
  s2.draw(a.stage, 2, 10, -200);
  s2.draw(a.stage, 2, 10, 280);
  s2.draw(a.stage, 3, -60, 20);
  s2.draw(a.stage, 5, 200, 260);
  s2.draw(a.stage, 4, 60, 330);
  s2.draw(a.stage, 6, 220, -30);
  s2.draw(a.enemy, 44, 170, 130);
  s2.draw(a.enemy, 48, 170, 145);
  s2.draw(a.enemy, 29, 80, 280);
  for (int i = 0; i < 3; ++i) s2.draw(a.eb, 4, 150 + 20 * i, 230 + 30 * i);
  s2.draw(a.player, 20, 165, 320);
  s2.draw(a.player, 19, 190, 340);
  s2.draw(a.player, 15, 170, 400);
  drawHudAndPanels(s2, a, 1234567, 2, 2, 500);
  return save(s2.surface, dir, "screen-stage2.png");
}

bool writeMenuAndTitles(const Sheets& a, const std::string& dir) {
  for (int picture : {20, 21}) {
    Screen s;
    s.draw(a.etc, picture, 10, 0);
    s.draw(a.back, 1, -310, 0);
    s.draw(a.back, 2, 630, 0);
    if (!save(s.surface, dir, picture == 20 ? "screen-title-a.png" : "screen-title-b.png")) {
      return false;
    }
  }
  Screen closed;
  closed.draw(a.back, 1, -60, 0);
  closed.draw(a.back, 2, 380, 0);
  if (!save(closed.surface, dir, "screen-curtains.png")) return false;
  Screen m;
  m.draw(a.etc, 22, 300, 30);
  m.draw(a.etc, 23, 420, 30);
  m.draw(a.player, 3, 320, 240);
  m.draw(a.player, 15, 440, 240);
  m.draw(a.etc, 26, 320, 300);
  m.draw(a.etc, 27, 200, 300);
  m.draw(a.etc, 24, 290, 25);
  m.draw(a.etc, 25, 303, 220);
  m.draw(a.back, 1, -310, 0);
  m.draw(a.back, 2, 630, 0);
  return save(m.surface, dir, "screen-menu.png");
}

}  // namespace

bool writePreviews(const std::string& dir) {
  std::filesystem::create_directories(dir);
  const Sheets a{decodeSheet(makePlayerSheet()), decodeSheet(makeEnemySheet()),
                 decodeSheet(makeBulletSheet()), decodeSheet(makePanelSheet()),
                 decodeSheet(makeStageSheet()),  decodeSheet(makeExplosionSheet()),
                 decodeSheet(makeEtcSheet())};
  return writeContactSheet(a.player, dir, "sheet-player", 3) &&
         writeContactSheet(a.enemy, dir, "sheet-enemy", 2) &&
         writeContactSheet(a.eb, dir, "sheet-eb", 4) && writeContactSheet(a.x, dir, "sheet-x", 2) &&
         writeContactSheet(a.back, dir, "sheet-back001", 1) &&
         writeContactSheet(a.stage, dir, "sheet-stage", 1) &&
         writeContactSheet(a.etc, dir, "sheet-etc", 1) && writeStage1Screen(a, dir) &&
         writeBossScreens(a, dir) && writeMenuAndTitles(a, dir);
}

namespace {

// The catalogue's page: what each frame shows, and its contact sheet.
std::string cataloguePage() {
  std::string page =
      "# The frames of the game\n\n"
      "Written by `vane-forge --catalogue docs` from the frame catalogue (`src/gfx/frames.h`); do\n"
      "not edit by hand. Each frame is shown with its number and name; the magenta cross marks "
      "its\n"
      "hot spot, the point placed at the actor's position. To replace a frame, draw a PNG of the\n"
      "same size named `<file>-<name>.png` (for example `player-ship1-level.png`) into `art/` and\n"
      "rebuild: see \"Drawing your own art\" in the README.\n";
  for (const frames::SheetInfo& sheet : frames::kSheets) {
    page += std::string("\n## ") + sheet.fileName + "\n\n![" + sheet.fileName + "](art/catalogue-" +
            sheet.stem +
            ".png)\n\n| # | name | size | hot spot | shows |\n"
            "|---|---|---|---|---|\n";
    for (const frames::FrameInfo& f : sheet.frames) {
      page += "| " + std::to_string(f.number) + " | `" + sheet.stem + "-" + f.name + "` | " +
              std::to_string(f.width) + "x" + std::to_string(f.height) + " | " +
              std::to_string(f.hotX) + ", " + std::to_string(f.hotY) + " | " + f.shows + " |\n";
    }
  }
  return page;
}

}  // namespace

bool writeCatalogue(const std::string& dir) {
  const std::string pictures = (std::filesystem::path(dir) / "art").string();
  std::filesystem::create_directories(pictures);
  for (const frames::SheetInfo& sheet : frames::kSheets) {
    std::vector<std::string> labels;
    int widest = 0;
    for (const frames::FrameInfo& f : sheet.frames) {
      labels.push_back(std::to_string(f.number) + " " + f.name);
      widest = std::max<int>(widest, f.width);
    }
    const int scale = widest <= 64 ? 2 : 1;
    if (!writeContactSheet(decodeSheet(makeSheet(sheet.sheet)), pictures,
                           std::string("catalogue-") + sheet.stem, scale, labels)) {
      return false;
    }
  }
  const std::string page = cataloguePage();
  const std::string path = (std::filesystem::path(dir) / "art.md").string();
  if (const std::string error = tools::writeFile(path, page); !error.empty()) {
    std::fprintf(stderr, "vane-forge: %s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace vane::forge
