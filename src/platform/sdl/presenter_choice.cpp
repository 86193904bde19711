// SPDX-License-Identifier: GPL-3.0-or-later
// Which way the picture goes on this machine: a look at the OpenGL driver before choosing.
#include <SDL.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/sdl/presenters.h"

namespace vane::platform {

namespace {

// A machine without a render node has no GPU driver to ask.
bool hasRenderNode() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
    if (entry.path().filename().string().starts_with("renderD")) return true;
  }
  return false;
}

// The renderer string of the OpenGL driver the desktop offers, read through a hidden window of
// its own (which takes the driver away again when it closes); empty when there is none.
std::string probeGlRenderer() {
  SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
  if (probe == nullptr) return {};
  std::string name;
  if (SDL_GLContext context = SDL_GL_CreateContext(probe); context != nullptr) {
    constexpr unsigned kGlRenderer = 0x1F01;
    using GetString = const unsigned char* (*)(unsigned);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* text = getString != nullptr ? getString(kGlRenderer) : nullptr;
    if (text != nullptr) name = reinterpret_cast<const char*>(text);
    SDL_GL_DeleteContext(context);
  }
  SDL_DestroyWindow(probe);
  return name;
}

struct Choice {
  bool gpu = false;
  std::string why;
};

Choice chooseForMachine() {
  if (!hasRenderNode()) return Choice{false, "no GPU render node"};
  const std::string renderer = probeGlRenderer();
  if (renderer.empty()) return Choice{false, "no OpenGL driver"};
  if (isSoftwareRasteriser(renderer.c_str())) return Choice{false, "OpenGL by " + renderer};
  return Choice{true, "OpenGL by " + renderer};
}

}  // namespace

bool isSoftwareRasteriser(const char* glRenderer) {
  std::string lower(glRenderer);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  constexpr std::array<std::string_view, 4> kSoftware{"llvmpipe", "softpipe", "software", "swrast"};
  for (const std::string_view name : kSoftware) {
    if (lower.find(name) != std::string::npos) return true;
  }
  return false;
}

std::unique_ptr<Presenter> choosePresenter(SDL_Window* window, const DisplayOptions& options) {
  Choice choice;
  switch (options.renderer) {
    case RendererChoice::Gpu:
      choice = Choice{true, "asked for"};
      break;
    case RendererChoice::Software:
      choice = Choice{false, "asked for"};
      break;
    case RendererChoice::Auto:
      choice = chooseForMachine();
      break;
  }
  const auto make = [&] {
    return choice.gpu ? makeGpuPresenter(window, options.scale)
                      : makeSoftwarePresenter(window, options.scale);
  };
  const auto path = [&] { return choice.gpu ? "the accelerated renderer" : "the window surface"; };
  std::unique_ptr<Presenter> presenter = make();
  if (presenter == nullptr) {
    // The other way is better than no picture at all.
    choice.why = std::string(path()) + " failed: " + SDL_GetError();
    choice.gpu = !choice.gpu;
    presenter = make();
  }
  if (options.verbose && presenter != nullptr) {
    std::fprintf(stderr, "vane: presenting through %s (%s)\n", path(), choice.why.c_str());
  }
  return presenter;
}

}  // namespace vane::platform
