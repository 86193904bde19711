// SPDX-License-Identifier: GPL-3.0-or-later
// Presenting through SDL's renderer: a streaming texture, enlarged on a target texture when needed.
#include <SDL.h>

#include <cstddef>

#include "platform/sdl/presenters.h"

namespace vane::platform {

namespace {

class GpuPresenter : public Presenter {
 public:
  GpuPresenter(SDL_Renderer* renderer, SDL_Texture* picture, ScaleMode scale)
      : renderer_(renderer), picture_(picture), scale_(scale) {
    SDL_RendererInfo info{};
    waits_ =
        SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    canEnlarge_ = (info.flags & SDL_RENDERER_TARGETTEXTURE) != 0;
  }

  ~GpuPresenter() override {
    if (enlarged_ != nullptr) SDL_DestroyTexture(enlarged_);
    SDL_DestroyTexture(picture_);
    SDL_DestroyRenderer(renderer_);
  }

  GpuPresenter(const GpuPresenter&) = delete;
  GpuPresenter& operator=(const GpuPresenter&) = delete;

  // The texture takes whole rows, from the first block's to the last's: the columns and the
  // gaps are not worth uploads of their own.
  bool show(const uint16_t* picture, std::span<const Block> blocks, bool whole) override {
    RowBand changed = whole ? RowBand{0, kPictureHeight} : RowBand{};
    if (!whole && !blocks.empty())
      changed = RowBand{blocks.front().rows.first, blocks.back().rows.end};
    if (!changed.empty()) {
      const SDL_Rect rows{0, changed.first, kPictureWidth, changed.end - changed.first};
      const uint16_t* first = picture + static_cast<std::ptrdiff_t>(changed.first) * kPictureWidth;
      if (SDL_UpdateTexture(picture_, &rows, first, kPictureWidth * 2) != 0) return false;
    }
    int outputWidth = 0;
    int outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight) != 0) return false;
    const PictureRect r =
        placePicture(scale_, outputWidth, outputHeight, kPictureWidth, kPictureHeight);
    const SDL_Rect target{r.x, r.y, r.width, r.height};
    SDL_Texture* shown = enlargedFor(r);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, shown, nullptr, &target);
    SDL_RenderPresent(renderer_);
    return true;
  }

  bool waitsForDisplay() const override { return waits_; }

 private:
  // The picture enlarged by whole steps, pixel for pixel, ready to be brought to `target` with
  // linear filtering; the picture itself when whole steps reach the target.
  SDL_Texture* enlargedFor(const PictureRect& target) {
    const int step = enlargementFor(target, kPictureWidth, kPictureHeight);
    if (!canEnlarge_ ||
        (target.width == step * kPictureWidth && target.height == step * kPictureHeight)) {
      return picture_;
    }
    if (enlarged_ == nullptr || step != enlargedStep_) {
      if (enlarged_ != nullptr) SDL_DestroyTexture(enlarged_);
      enlarged_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                    kPictureWidth * step, kPictureHeight * step);
      if (enlarged_ == nullptr) return picture_;
      SDL_SetTextureScaleMode(enlarged_, SDL_ScaleModeLinear);
      enlargedStep_ = step;
    }
    SDL_SetRenderTarget(renderer_, enlarged_);
    SDL_RenderCopy(renderer_, picture_, nullptr, nullptr);
    SDL_SetRenderTarget(renderer_, nullptr);
    return enlarged_;
  }

  SDL_Renderer* renderer_;
  SDL_Texture* picture_;
  SDL_Texture* enlarged_ = nullptr;
  int enlargedStep_ = 0;
  ScaleMode scale_;
  bool waits_ = false;
  bool canEnlarge_ = false;
};

}  // namespace

std::unique_ptr<Presenter> makeGpuPresenter(SDL_Window* window, ScaleMode scale) {
  SDL_Renderer* renderer =
      SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, 0);
  if (renderer == nullptr) return nullptr;
  SDL_Texture* picture = SDL_CreateTexture(
      renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, kPictureWidth, kPictureHeight);
  if (picture == nullptr) {
    SDL_DestroyRenderer(renderer);
    return nullptr;
  }
  SDL_SetTextureScaleMode(picture, SDL_ScaleModeNearest);
  return std::make_unique<GpuPresenter>(renderer, picture, scale);
}

}  // namespace vane::platform
