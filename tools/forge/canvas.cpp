// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing one frame with cairo and cutting it to a 5-5-5 run-length sprite frame.
#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace vane::forge {

namespace {

double channel(uint32_t rgb, int shift) {
  return ((rgb >> shift) & 0xFF) / 255.0;
}

void addStops(cairo_pattern_t* pattern, std::initializer_list<Stop> stops) {
  for (const Stop& s : stops) {
    cairo_pattern_add_color_stop_rgba(pattern, s.offset, channel(s.rgb, 16), channel(s.rgb, 8),
                                      channel(s.rgb, 0), s.alpha);
  }
}

void useAndRelease(cairo_t* cr, cairo_pattern_t* pattern) {
  cairo_set_source(cr, pattern);
  cairo_pattern_destroy(pattern);
}

// One premultiplied 8-bit channel back to straight colour, then to 5 bits.
uint16_t fiveBits(uint32_t premultiplied, uint32_t alpha) {
  const uint32_t straight = std::min<uint32_t>(255, (premultiplied * 255 + alpha / 2) / alpha);
  return static_cast<uint16_t>(straight >> 3);
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("cannot create a drawing surface");
  }
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

tools::Picture Canvas::picture(int hotX, int hotY) const {
  cairo_surface_flush(surface_);
  tools::Picture p;
  p.width = width_;
  p.height = height_;
  p.hotX = hotX;
  p.hotY = hotY;
  p.pixels.assign(static_cast<size_t>(width_) * height_, 0);
  p.opaque.assign(p.pixels.size(), 0);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < width_; ++x) {
      const uint32_t argb = row[x];
      const uint32_t a = argb >> 24;
      if (a < 128) continue;
      const size_t at = static_cast<size_t>(y) * width_ + x;
      p.pixels[at] =
          static_cast<uint16_t>((fiveBits((argb >> 16) & 0xFF, a) << 10) |
                                (fiveBits((argb >> 8) & 0xFF, a) << 5) | fiveBits(argb & 0xFF, a));
      p.opaque[at] = 1;
    }
  }
  return p;
}

SpriteFrame Canvas::frame(int hotX, int hotY) const {
  return tools::encodeFrame(picture(hotX, hotY));
}

uint32_t Rng::next() {
  // xorshift32: a fixed, well-mixed sequence for any non-zero seed.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double Rng::uniform(double lo, double hi) {
  return lo + (hi - lo) * (next() / 4294967296.0);
}

void setColor(cairo_t* cr, uint32_t rgb, double alpha) {
  cairo_set_source_rgba(cr, channel(rgb, 16), channel(rgb, 8), channel(rgb, 0), alpha);
}

void setLinear(cairo_t* cr, double x0, double y0, double x1, double y1,
               std::initializer_list<Stop> stops) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
  addStops(p, stops);
  useAndRelease(cr, p);
}

void setRadial(cairo_t* cr, double cx, double cy, double r, std::initializer_list<Stop> stops) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  addStops(p, stops);
  useAndRelease(cr, p);
}

void setSphere(cairo_t* cr, double cx, double cy, double r, uint32_t light, uint32_t mid,
               uint32_t dark) {
  cairo_pattern_t* p =
      cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.05, cx, cy, r);
  addStops(p, {{0, light}, {0.45, mid}, {1, dark}});
  useAndRelease(cr, p);
}

uint32_t mix(uint32_t a, uint32_t b, double t) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double v = channel(a, shift) * (1 - t) + channel(b, shift) * t;
    out |= static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)) << shift;
  }
  return out;
}

void polygon(cairo_t* cr, std::initializer_list<double> xy) {
  const double* p = xy.begin();
  cairo_move_to(cr, p[0], p[1]);
  for (size_t i = 2; i + 1 < xy.size(); i += 2) cairo_line_to(cr, p[i], p[i + 1]);
  cairo_close_path(cr);
}

void mirroredPolygon(cairo_t* cr, double axis, const std::vector<double>& xy) {
  cairo_move_to(cr, xy[0], xy[1]);
  for (size_t i = 2; i + 1 < xy.size(); i += 2) cairo_line_to(cr, xy[i], xy[i + 1]);
  for (size_t i = xy.size(); i >= 2; i -= 2) cairo_line_to(cr, 2 * axis - xy[i - 2], xy[i - 1]);
  cairo_close_path(cr);
}

void circle(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_close_path(cr);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void fillOutlined(cairo_t* cr, double width, uint32_t outline) {
  cairo_fill_preserve(cr);
  setColor(cr, outline);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void centredTextPath(cairo_t* cr, const char* text, double size, double cx, double cy) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  cairo_move_to(cr, cx - e.x_bearing - e.width / 2, cy - e.y_bearing - e.height / 2);
  cairo_text_path(cr, text);
}

void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double turn) {
  for (int i = 0; i < points * 2; ++i) {
    const double a = turn + M_PI * i / points - M_PI / 2;
    const double r = (i % 2 == 0) ? outer : inner;
    const double x = cx + r * std::cos(a);
    const double y = cy + r * std::sin(a);
    if (i == 0) {
      cairo_move_to(cr, x, y);
    } else {
      cairo_line_to(cr, x, y);
    }
  }
  cairo_close_path(cr);
}

bool writeSurfacePng(cairo_surface_t* surface, const std::string& path) {
  std::vector<uint8_t> png;
  const auto append = [](void* out, const unsigned char* bytes, unsigned int count) {
    static_cast<std::vector<uint8_t>*>(out)->insert(static_cast<std::vector<uint8_t>*>(out)->end(),
                                                    bytes, bytes + count);
    return CAIRO_STATUS_SUCCESS;
  };
  std::string error = path + ": cannot encode the picture";
  if (cairo_surface_write_to_png_stream(surface, append, &png) == CAIRO_STATUS_SUCCESS) {
    error = tools::writeFile(path, png);
  }
  if (!error.empty()) std::fprintf(stderr, "vane-forge: %s\n", error.c_str());
  return error.empty();
}

}  // namespace vane::forge
