// SPDX-License-Identifier: GPL-3.0-or-later
// The picture in the window: scaled by the portable scaler into a DIB section the size of the
// window's inside, and only the changed rectangles copied to the window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/options.h"
#include "platform/picture/software_scaler.h"

namespace vane::platform::win32 {

class Screen {
 public:
  Screen(HWND window, ScaleMode scale);
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // Shows the 640x480 picture whose `changed` blocks differ from the one shown before; `whole`
  // draws everything again, borders and all.
  bool show(const uint16_t* picture, std::span<const Block> changed, bool whole);
  // Puts the last picture back into the window (WM_PAINT).
  void paint(HDC dc) const;

 private:
  bool fitToWindow();
  void release();

  HWND window_;
  ScaleMode scale_;
  SoftwareScaler scaler_;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* pixels_ = nullptr;  // the DIB section's, top row first
  int width_ = 0;
  int height_ = 0;
  PictureRect target_;
};

}  // namespace vane::platform::win32
