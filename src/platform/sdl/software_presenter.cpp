// SPDX-License-Identifier: GPL-3.0-or-later
// Presenting through the window surface: our own conversion and scaling, only changed lines sent.
#include <SDL.h>

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "platform/picture/software_scaler.h"
#include "platform/sdl/presenters.h"

namespace vane::platform {

namespace {

// The byte a channel mask covers, as a shift; nothing when it is not one whole byte.
std::optional<int> byteShift(uint32_t mask) {
  for (int shift = 0; shift < 32; shift += 8) {
    if (mask == 0xFFu << shift) return shift;
  }
  return std::nullopt;
}

std::optional<PixelLayout> layoutOf(const SDL_PixelFormat& format) {
  if (format.BytesPerPixel != 4) return std::nullopt;
  const auto red = byteShift(format.Rmask);
  const auto green = byteShift(format.Gmask);
  const auto blue = byteShift(format.Bmask);
  if (!red || !green || !blue) return std::nullopt;
  return PixelLayout{*red, *green, *blue, format.Amask};
}

class SoftwarePresenter : public Presenter {
 public:
  SoftwarePresenter(SDL_Window* window, ScaleMode scale, const PixelLayout& layout)
      : window_(window), scale_(scale), scaler_(layout, kPictureWidth, kPictureHeight) {}

  bool show(const uint16_t* picture, std::span<const Block> blocks, bool whole) override {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return false;
    if (surface != surface_ || surface->w != outputWidth_ || surface->h != outputHeight_) {
      // A new surface (the window was resized): its layout may differ, so check it again.
      if (!layoutOf(*surface->format)) return false;
      surface_ = surface;
      outputWidth_ = surface->w;
      outputHeight_ = surface->h;
      target_ = placePicture(scale_, outputWidth_, outputHeight_, kPictureWidth, kPictureHeight);
      scaler_.setTarget(target_.width, target_.height);
      whole = true;
    }
    const Block everything{RowBand{0, kPictureHeight}, RowBand{0, kPictureWidth}};
    if (whole) blocks = std::span<const Block>(&everything, 1);
    if (blocks.empty()) return true;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    if (whole) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    const int pitch = surface->pitch / 4;
    uint32_t* origin = static_cast<uint32_t*>(surface->pixels) +
                       static_cast<std::ptrdiff_t>(target_.y) * pitch + target_.x;
    sent_.clear();
    for (const Block& block : blocks) {
      const SoftwareScaler::Drawn drawn =
          scaler_.draw(picture, block.rows, block.columns, origin, pitch);
      if (drawn.lines.empty() || drawn.columns.empty()) continue;
      sent_.push_back(SDL_Rect{target_.x + drawn.columns.first, target_.y + drawn.lines.first,
                               drawn.columns.end - drawn.columns.first,
                               drawn.lines.end - drawn.lines.first});
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (whole) return SDL_UpdateWindowSurface(window_) == 0;
    if (sent_.empty()) return true;
    return SDL_UpdateWindowSurfaceRects(window_, sent_.data(), static_cast<int>(sent_.size())) == 0;
  }

  // The surface is copied to the window at once; nothing waits for a blank.
  bool waitsForDisplay() const override { return false; }

 private:
  SDL_Window* window_;
  ScaleMode scale_;
  SoftwareScaler scaler_;
  SDL_Surface* surface_ = nullptr;
  int outputWidth_ = 0;
  int outputHeight_ = 0;
  PictureRect target_;
  std::vector<SDL_Rect> sent_;  // the window's rectangles drawn this time
};

}  // namespace

std::unique_ptr<Presenter> makeSoftwarePresenter(SDL_Window* window, ScaleMode scale) {
  // Otherwise SDL may back the surface with a renderer of its own, the very thing avoided here.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr) return nullptr;
  const auto layout = layoutOf(*surface->format);
  if (!layout) return nullptr;
  return std::make_unique<SoftwarePresenter>(window, scale, *layout);
}

}  // namespace vane::platform
