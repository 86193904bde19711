// Text drawn with SDL2_ttf into a 16-bit buffer: lines rendered once, blended in the text colour.
#include "platform/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

namespace vane::platform {

namespace {

// Pixel height of the font, about that of a desktop's default dialog font of the time.
constexpr int kFontPixels = 13;
// Lines kept rendered; the game writes a few dozen different ones, so this is never reached
// unless some caller writes ever-changing text.
constexpr size_t kMaxCachedLines = 512;

// One line as glyph coverage, 0 (background) to 255 (ink).
struct RenderedLine {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

[[noreturn]] void fontFailure(const char* what) {
  std::fprintf(stderr, "vane: %s: %s\n", what, TTF_GetError());
  std::exit(1);
}

// The font and the lines already rendered with it, shared by every text context.
class LineCache {
 public:
  LineCache() {
    if (TTF_WasInit() == 0 && TTF_Init() != 0) fontFailure("cannot start the font renderer");
    font_ = TTF_OpenFont(VANE_FONT, kFontPixels);
    if (font_ == nullptr) fontFailure("cannot open the font " VANE_FONT);
  }
  ~LineCache() {
    TTF_CloseFont(font_);
    TTF_Quit();
  }
  LineCache(const LineCache&) = delete;
  LineCache& operator=(const LineCache&) = delete;

  const RenderedLine& line(const std::string& text) {
    if (auto found = lines_.find(text); found != lines_.end()) return found->second;
    if (lines_.size() >= kMaxCachedLines) lines_.clear();
    return lines_.emplace(text, render(text)).first->second;
  }

 private:
  RenderedLine render(const std::string& text) {
    RenderedLine line;
    SDL_Surface* rendered =
        TTF_RenderUTF8_Blended(font_, text.c_str(), SDL_Color{255, 255, 255, 255});
    if (rendered == nullptr) return line;  // empty text has nothing to draw
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (argb == nullptr) return line;
    line.width = argb->w;
    line.height = argb->h;
    line.coverage.resize(static_cast<size_t>(argb->w) * static_cast<size_t>(argb->h));
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(
          static_cast<const uint8_t*>(argb->pixels) + static_cast<ptrdiff_t>(y) * argb->pitch);
      for (int x = 0; x < argb->w; ++x) {
        line.coverage[static_cast<size_t>(y * argb->w + x)] = static_cast<uint8_t>(row[x] >> 24);
      }
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return line;
  }

  TTF_Font* font_ = nullptr;
  std::unordered_map<std::string, RenderedLine> lines_;
};

LineCache& lineCache() {
  static LineCache cache;
  return cache;
}

// A channel's bit positions within the 16-bit word.
struct Channel {
  int shift;
  int bits;
};

struct Layout {
  Channel red, green, blue;
};

constexpr Layout k565{{11, 5}, {5, 6}, {0, 5}};
constexpr Layout k555{{10, 5}, {5, 5}, {0, 5}};

uint16_t blendChannel(uint16_t pixel, Channel c, uint8_t ink8, unsigned alpha) {
  const unsigned max = (1u << c.bits) - 1;
  const unsigned under = (pixel >> c.shift) & max;
  const unsigned ink = (ink8 * max + 127) / 255;
  const unsigned mixed = (ink * alpha + under * (255 - alpha) + 127) / 255;
  return static_cast<uint16_t>(mixed << c.shift);
}

class BufferText : public TextContext {
 public:
  BufferText(uint16_t* pixels, int width, int height, int pitch, bool is565)
      : pixels_(pixels),
        width_(width),
        height_(height),
        pitch_(pitch),
        layout_(is565 ? k565 : k555) {}

  void setTextColor(uint32_t colorRef) override { colour_ = colorRef; }
  void setTransparentBackground() override {}

  void textOut(int x, int y, std::string_view text) override {
    const RenderedLine& line = lineCache().line(std::string(text));
    const auto red = static_cast<uint8_t>(colour_ & 0xFF);
    const auto green = static_cast<uint8_t>((colour_ >> 8) & 0xFF);
    const auto blue = static_cast<uint8_t>((colour_ >> 16) & 0xFF);
    for (int row = 0; row < line.height; ++row) {
      const int ty = y + row;
      if (ty < 0 || ty >= height_) continue;
      auto* target = reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(pixels_) +
                                                 static_cast<ptrdiff_t>(ty) * pitch_);
      for (int col = 0; col < line.width; ++col) {
        const int tx = x + col;
        const unsigned alpha = line.coverage[static_cast<size_t>(row * line.width + col)];
        if (tx < 0 || tx >= width_ || alpha == 0) continue;
        const uint16_t under = target[tx];
        target[tx] = static_cast<uint16_t>(blendChannel(under, layout_.red, red, alpha) |
                                           blendChannel(under, layout_.green, green, alpha) |
                                           blendChannel(under, layout_.blue, blue, alpha));
      }
    }
  }

 private:
  uint16_t* pixels_;
  int width_;
  int height_;
  int pitch_;
  Layout layout_;
  uint32_t colour_ = 0;
};

}  // namespace

std::unique_ptr<TextContext> makeTextContext(uint16_t* pixels, int width, int height, int pitch,
                                             bool is565) {
  lineCache();  // opens the font now, so a missing font stops the program at once
  return std::make_unique<BufferText>(pixels, width, height, pitch, is565);
}

}  // namespace vane::platform
