// SPDX-License-Identifier: GPL-3.0-or-later
// Presenting into a 32-bit DIB section through the portable scaler, then BitBlt to the window.
#include "platform/win32/screen.h"

#include <algorithm>

namespace vane::platform::win32 {

namespace {

// A 32-bit DIB holds blue, green, red and an unused byte, in that order.
constexpr PixelLayout kDibLayout{16, 8, 0, 0};

}  // namespace

Screen::Screen(HWND window, ScaleMode scale)
    : window_(window), scale_(scale), scaler_(kDibLayout, kPictureWidth, kPictureHeight) {}

Screen::~Screen() {
  release();
}

void Screen::release() {
  if (memory_ != nullptr) {
    SelectObject(memory_, previous_);
    DeleteDC(memory_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  memory_ = nullptr;
  bitmap_ = nullptr;
  pixels_ = nullptr;
}

// A new DIB section whenever the window's inside changes size; true when it was made anew.
bool Screen::fitToWindow() {
  RECT inside{};
  GetClientRect(window_, &inside);
  const int width = std::max<int>(inside.right, 1);
  const int height = std::max<int>(inside.bottom, 1);
  if (pixels_ != nullptr && width == width_ && height == height_) return false;
  release();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  memory_ = CreateCompatibleDC(nullptr);
  if (bitmap_ == nullptr || memory_ == nullptr) {
    release();
    return true;
  }
  previous_ = SelectObject(memory_, bitmap_);
  pixels_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  target_ = placePicture(scale_, width_, height_, kPictureWidth, kPictureHeight);
  scaler_.setTarget(target_.width, target_.height);
  return true;
}

bool Screen::show(const uint16_t* picture, std::span<const Block> blocks, bool whole) {
  if (fitToWindow()) whole = true;
  if (pixels_ == nullptr) return false;
  const Block everything{RowBand{0, kPictureHeight}, RowBand{0, kPictureWidth}};
  if (whole) blocks = std::span<const Block>(&everything, 1);
  if (blocks.empty()) return true;
  // GDI may still be reading the section for an earlier copy.
  GdiFlush();
  if (whole) std::fill(pixels_, pixels_ + static_cast<size_t>(width_) * height_, 0u);
  uint32_t* origin = pixels_ + static_cast<std::ptrdiff_t>(target_.y) * width_ + target_.x;
  const HDC dc = GetDC(window_);
  if (dc == nullptr) return false;
  bool copied = true;
  if (whole) {
    scaler_.draw(picture, everything.rows, everything.columns, origin, width_);
    copied = BitBlt(dc, 0, 0, width_, height_, memory_, 0, 0, SRCCOPY) != 0;
  } else {
    for (const Block& block : blocks) {
      const SoftwareScaler::Drawn drawn =
          scaler_.draw(picture, block.rows, block.columns, origin, width_);
      if (drawn.lines.empty() || drawn.columns.empty()) continue;
      const int x = target_.x + drawn.columns.first;
      const int y = target_.y + drawn.lines.first;
      copied = BitBlt(dc, x, y, drawn.columns.end - drawn.columns.first,
                      drawn.lines.end - drawn.lines.first, memory_, x, y, SRCCOPY) != 0 &&
               copied;
    }
  }
  ReleaseDC(window_, dc);
  return copied;
}

void Screen::paint(HDC dc) const {
  if (memory_ != nullptr) BitBlt(dc, 0, 0, width_, height_, memory_, 0, 0, SRCCOPY);
}

}  // namespace vane::platform::win32
