// SPDX-License-Identifier: GPL-3.0-or-later
// The two ways the picture reaches the window: SDL's accelerated renderer, or the window surface.
#pragma once

#include <SDL_video.h>

#include <cstdint>
#include <memory>
#include <span>

#include "platform/options.h"
#include "platform/picture/presentation.h"

namespace vane::platform {

class Presenter {
 public:
  virtual ~Presenter() = default;

  // Shows the 640x480 picture whose `changed` blocks differ from the one shown before. `whole`
  // asks for everything to be drawn again, borders and all: the window was resized or uncovered.
  virtual bool show(const uint16_t* picture, std::span<const Block> changed, bool whole) = 0;
  // Whether showing waits for the display's vertical blank (as it says).
  virtual bool waitsForDisplay() const = 0;
};

// The accelerated renderer on `window`; nullptr (with SDL's reason) when it cannot be made.
std::unique_ptr<Presenter> makeGpuPresenter(SDL_Window* window, ScaleMode scale);
// Our own conversion and scaling into the window surface; nullptr when the surface is not one of
// 32-bit pixels with byte-wide channels.
std::unique_ptr<Presenter> makeSoftwarePresenter(SDL_Window* window, ScaleMode scale);

// The path for this machine: the accelerated renderer where a real GPU driver serves it, the
// window surface where drawing would go through a software rasteriser or nothing, unless
// `options.renderer` says which; said on stderr under `options.verbose`.
std::unique_ptr<Presenter> choosePresenter(SDL_Window* window, const DisplayOptions& options);

// Whether an OpenGL renderer string names a rasteriser that runs on the processor.
bool isSoftwareRasteriser(const char* glRenderer);

}  // namespace vane::platform
