// SPDX-License-Identifier: GPL-3.0-or-later
// The back buffer, its stamps, and flipping: only the blocks that differ from the screen are sent.
#include "host/display.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "host/changes.h"
#include "host/host.h"
#include "host/internal.h"
#include "host/picture_layers.h"
#include "platform/platform.h"

namespace vane::host {

namespace {

constexpr int kPitch = kWidth * 2;
constexpr uint32_t kGreenMask565 = 0x07E0;
constexpr uint32_t kGreenMask555 = 0x03E0;
constexpr size_t kPixels = static_cast<size_t>(kWidth) * kHeight;

uint64_t lastStamp = 0;

struct Display {
  bool ready = false;
  bool is565 = true;
  std::vector<uint16_t> back;
  // The picture on the screen, as last presented, and what the next one changes of it.
  std::vector<uint16_t> shown;
  std::vector<Block> changed;
  // The picture presented: the back buffer, with the pause badge over it while it shows.
  std::vector<uint16_t> composed;
  uint64_t backStamp = 0;
  uint64_t presentedStamp = 0;  // the back buffer's stamp when last presented
  std::unique_ptr<TextContext> text;
  std::unique_ptr<TextContext> badgeText;
  bool badgeEnabled = false;
  bool paused = false;
  bool badgeShown = false;
  // The host's layers (picture_layers.h) over the presented picture, and their text.
  bool layersShown = false;
  std::unique_ptr<TextContext> layerText;
  PictureOverlay overlay = nullptr;
  void* overlayUser = nullptr;
  bool presenting = true;
};
Display display;

void stampBackBuffer() {
  display.backStamp = ++lastStamp;
}

// A small dark plate with the word on it, in the middle of the playfield.
void drawBadge(std::vector<uint16_t>& picture) {
  constexpr int kLeft = 128, kTop = 230, kWide = 74, kHigh = 19;
  for (int y = kTop; y < kTop + kHigh; ++y) {
    std::fill_n(picture.begin() + static_cast<std::ptrdiff_t>(y) * kWidth + kLeft, kWide,
                uint16_t{0x0000});
  }
  if (!display.badgeText) {
    display.badgeText = makeTextContext(picture.data(), kWidth, kHeight, kPitch, display.is565);
  }
  display.badgeText->setTransparentBackground();
  display.badgeText->setTextColor(0x00FFFFFF);
  display.badgeText->textOut(kLeft + 10, kTop + 2, "PAUSED");
}

const uint16_t* pictureToPresent() {
  display.badgeShown = display.badgeEnabled && display.paused;
  display.layersShown = internal::layersShown();
  if (!display.badgeShown && !display.layersShown && display.overlay == nullptr) {
    return display.back.data();
  }
  display.composed = display.back;
  if (display.badgeShown) drawBadge(display.composed);
  if (display.overlay != nullptr) {
    display.overlay(display.overlayUser, display.composed.data(), display.is565);
  }
  if (display.layersShown) {
    if (!display.layerText) {
      display.layerText =
          makeTextContext(display.composed.data(), kWidth, kHeight, kPitch, display.is565);
    }
    Canvas canvas(display.composed.data(), display.is565, *display.layerText);
    internal::drawLayers(canvas);
  }
  return display.composed.data();
}

bool present(const uint16_t* picture) {
  changedBlocks(display.shown.data(), picture, kWidth, kHeight, display.changed);
  // Outside the changed blocks the pictures are equal already.
  for (const Block& block : display.changed) {
    for (int row = block.rows.first; row < block.rows.end; ++row) {
      const auto at = static_cast<std::ptrdiff_t>(row) * kWidth;
      std::copy(picture + at + block.columns.first, picture + at + block.columns.end,
                display.shown.begin() + at + block.columns.first);
    }
  }
  return platform::backend().present(display.shown.data(), display.changed);
}

}  // namespace

bool createDisplay() {
  bool is565 = true;
  if (!platform::backend().openDisplay(is565)) return false;
  display.is565 = is565;
  display.back.assign(kPixels, 0);
  display.shown.assign(kPixels, 0);
  stampBackBuffer();
  display.presentedStamp = 0;
  display.ready = true;
  return true;
}

bool readGreenMask(uint32_t& greenMask) {
  if (!display.ready || faults().pixelFormat) return false;
  greenMask = display.is565 ? kGreenMask565 : kGreenMask555;
  return true;
}

bool fill(uint16_t colour) {
  if (!display.ready) return false;
  stampBackBuffer();
  // Every screen clears to black each frame: a byte fill, many times quicker than one of words.
  if ((colour >> 8) == (colour & 0xFF)) {
    std::memset(display.back.data(), colour & 0xFF, display.back.size() * sizeof(uint16_t));
  } else {
    std::fill(display.back.begin(), display.back.end(), colour);
  }
  return true;
}

bool describeBackBuffer() {
  return display.ready && !faults().describe;
}

bool lock(LockedSurface& out) {
  if (!display.ready || faults().lock) return false;
  stampBackBuffer();
  out = LockedSurface{display.back.data(), kWidth, kHeight, kPitch};
  return true;
}

bool unlock() {
  return display.ready && !faults().unlock;
}

TextContext* getTextContext() {
  if (!display.ready) return nullptr;
  stampBackBuffer();
  if (!display.text) {
    display.text = makeTextContext(display.back.data(), kWidth, kHeight, kPitch, display.is565);
  }
  return display.text.get();
}

// The picture is sent only when the back buffer or the badge changed since it was last sent;
// else the screen keeps it, and the flip still takes its time.
bool flip() {
  if (!display.ready) return false;
  if (!display.presenting) return true;
  internal::recordFlip();
  const bool badgeChanges = display.badgeShown != (display.badgeEnabled && display.paused);
  // Layers may change by themselves (the graph, the note's end): composed anew while shown.
  const bool layers = display.layersShown || internal::layersShown();
  if (display.backStamp == display.presentedStamp && !badgeChanges && !layers &&
      display.overlay == nullptr) {
    return platform::backend().present(display.shown.data(), {});
  }
  if (!present(pictureToPresent())) return false;
  display.presentedStamp = display.backStamp;
  return true;
}

void releaseDisplay() {
  if (!display.ready) return;
  display.ready = false;
  display.text.reset();
  display.badgeText.reset();
  display.layerText.reset();
  display.back = {};
  display.shown = {};
  display.composed = {};
  platform::backend().closeDisplay();
}

uint64_t backBufferStamp() {
  return display.backStamp;
}

const uint16_t* shownPicture() {
  return display.shown.empty() ? nullptr : display.shown.data();
}

void setPauseBadge(bool enabled) {
  display.badgeEnabled = enabled;
}

void showPaused(bool paused) {
  display.paused = paused;
}

const uint16_t* backBufferPixels() {
  return display.back.empty() ? nullptr : display.back.data();
}

bool backBufferIs565() {
  return display.is565;
}

void internal::presentComposed() {
  if (!display.ready) return;
  present(pictureToPresent());
}

void setPictureOverlay(PictureOverlay overlay, void* user) {
  display.overlay = overlay;
  display.overlayUser = user;
}

void setPresenting(bool presenting) {
  display.presenting = presenting;
}

void presentAgain() {
  if (!display.ready) return;
  present(pictureToPresent());
  display.presentedStamp = display.backStamp;
}

void internal::redrawScreen() {
  if (!display.ready) return;
  const Block whole{RowBand{0, kHeight}, RowBand{0, kWidth}};
  platform::backend().present(display.shown.data(), std::span<const Block>(&whole, 1));
}

void internal::resetDisplay() {
  display = Display{};
  resetLayers();
}

}  // namespace vane::host
