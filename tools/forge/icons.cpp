// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon at the sizes of the desktop's hicolor theme, painted from the game's own art.
#include "icons.h"

#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "canvas.h"
#include "paint.h"
#include "tools/common/formats.h"

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

cairo_surface_t* paintedIcon(int size) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  paintIcon(cr, size);
  cairo_destroy(cr);
  return surface;
}

cairo_status_t appendBytes(void* out, const unsigned char* bytes, unsigned int count) {
  static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(bytes), count);
  return CAIRO_STATUS_SUCCESS;
}

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool writeIcon(const std::string& dir, int size) {
  const std::string name = std::to_string(size) + "x" + std::to_string(size);
  const std::filesystem::path folder = std::filesystem::path(dir) / name / "apps";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  cairo_surface_t* surface = paintedIcon(size);
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

// An icon directory (reserved 0, type 1, the count), one 16-byte entry per picture (its size,
// 0 meaning 256; no palette; one plane of 32 bits; its length and where it starts), then the
// pictures, each a whole PNG file as Windows Vista and later read them.
bool writeIconFile(const std::string& path) {
  std::vector<std::string> pictures;
  for (int size : kWindowsIconSizes) {
    cairo_surface_t* surface = paintedIcon(size);
    std::string png;
    const bool ok =
        cairo_surface_write_to_png_stream(surface, appendBytes, &png) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok) {
      std::fprintf(stderr, "vane-forge: %s: cannot encode the icon\n", path.c_str());
      return false;
    }
    pictures.push_back(png);
  }
  std::string file;
  putLittleEndian(file, 0, 2);
  putLittleEndian(file, 1, 2);
  putLittleEndian(file, static_cast<uint32_t>(pictures.size()), 2);
  auto offset = static_cast<uint32_t>(6 + 16 * pictures.size());
  for (size_t i = 0; i < pictures.size(); ++i) {
    const int size = kWindowsIconSizes[i];
    putLittleEndian(file, size == 256 ? 0 : static_cast<uint32_t>(size), 1);
    putLittleEndian(file, size == 256 ? 0 : static_cast<uint32_t>(size), 1);
    putLittleEndian(file, 0, 2);
    putLittleEndian(file, 1, 2);
    putLittleEndian(file, 32, 2);
    putLittleEndian(file, static_cast<uint32_t>(pictures[i].size()), 4);
    putLittleEndian(file, offset, 4);
    offset += static_cast<uint32_t>(pictures[i].size());
  }
  for (const std::string& picture : pictures) file += picture;
  if (const std::string error = tools::writeFile(path, file); !error.empty()) {
    std::fprintf(stderr, "vane-forge: %s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace vane::forge
