// SPDX-License-Identifier: GPL-3.0-or-later
// Where the 640x480 picture lands in the window, and how long a flip waits for the next frame.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/options.h"

namespace vane::platform {

// The game's picture, the size of its back buffer.
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

struct PictureRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The picture scaled by the largest whole factor that fits the output, centred. An output
// smaller than the picture gets it shrunk to fit, keeping its shape.
PictureRect fitPicture(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight);

// Where the picture goes under a scaling mode: whole steps only (fitPicture), or the largest
// picture of the same shape that fits, centred.
PictureRect placePicture(ScaleMode mode, int outputWidth, int outputHeight, int pictureWidth,
                         int pictureHeight);

// The whole factor a picture is first enlarged by, pixel for pixel, before a linear step brings it
// to `target`: the smallest one at least as large as the target. The linear step then only ever
// shrinks, by less than half, so every pixel stays a crisp block with at most one blended line
// along its edges; a target of whole steps is reached by the enlargement alone.
int enlargementFor(const PictureRect& target, int pictureWidth, int pictureHeight);

struct WindowSize {
  int width = 0;
  int height = 0;
};

// The size a window first opens at: the largest whole multiple of the picture that fits the
// desktop's usable area less room for the window's decorations (at least the picture's own size
// shrunk to fit, on a desktop smaller than that).
WindowSize firstWindowSize(int usableWidth, int usableHeight, int pictureWidth, int pictureHeight);

// What a window manager puts around a window's inside: title bar and borders, in pixels.
struct Decorations {
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
};
// The room kept for decorations that are not known yet (a window not shown): a generous title bar.
constexpr Decorations kAssumedDecorations{48, 16, 16, 16};

// The inside of a window `wanted` large, clamped so that it and its decorations fit wholly in a
// display's usable area (the desktop less its panels), and centred there as far as the
// decorations let it be. Sizes never go below 1.
PictureRect placeWindow(WindowSize wanted, const PictureRect& usable,
                        const Decorations& decorations);

// The rows [first, end) of a picture; empty when first == end.
struct RowBand {
  int first = 0;
  int end = 0;
  bool empty() const { return first >= end; }
};

// A rectangle of the picture.
struct Block {
  RowBand rows;
  RowBand columns;
};
// Paces flips as a 60 Hz display would, unless the display is seen waiting for its own vertical
// blank. A display that says it waits is trusted, with a floor of half a period so it can never
// run wild, for as long as its presents keep coming at least three quarters of a period apart:
// one that too often comes back sooner (no real wait, or a refresh far above 60 Hz) is paced.
class FlipPacer {
 public:
  static constexpr uint64_t kPeriodNanos = 16'666'667;
  // Of this many presents in a row, more than kFastAllowed coming back early end the trust.
  static constexpr int kJudgedPresents = 60;
  static constexpr int kFastAllowed = 6;

  explicit FlipPacer(bool displayWaits);

  // How long to wait, at `now`, before presenting the next frame.
  uint64_t waitBeforePresent(uint64_t now) const;
  // Records a present that finished at `now`.
  void presented(uint64_t now);
  // How long to wait, at `now`, before a flip whose picture is not sent again because it has not
  // changed: as long as a display that waits would have taken.
  uint64_t waitBeforeHold(uint64_t now) const;
  // Records such a flip at `now`. The display was not asked, so it is not judged.
  void held(uint64_t now);
  // True once flips are paced at 60 Hz rather than by the display.
  bool pacing() const { return !displayTrusted_; }

 private:
  uint64_t floorNanos() const { return displayTrusted_ ? kPeriodNanos / 2 : kPeriodNanos; }
  void judge(uint64_t interval);
  void advance(uint64_t now, uint64_t step);

  bool displayTrusted_;
  bool started_ = false;
  uint64_t due_ = 0;  // when the next present may happen
  uint64_t lastPresent_ = 0;
  int judged_ = 0;
  int fast_ = 0;
};

}  // namespace vane::platform
