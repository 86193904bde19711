// SPDX-License-Identifier: GPL-3.0-or-later
// The picture's place in the window and the 60 Hz flip pacing, free of any device.
#include "platform/picture/presentation.h"

#include <algorithm>
#include <cstring>

namespace vane::platform {

PictureRect fitPicture(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || outputWidth <= 0 || outputHeight <= 0) {
    return PictureRect{};
  }
  const int scale = std::min(outputWidth / pictureWidth, outputHeight / pictureHeight);
  int width = pictureWidth * scale;
  int height = pictureHeight * scale;
  if (scale == 0) {
    // Shrunk: whichever side is tighter sets the size, the other follows the picture's shape.
    const bool widthBinds = static_cast<int64_t>(outputWidth) * pictureHeight <=
                            static_cast<int64_t>(outputHeight) * pictureWidth;
    width =
        widthBinds
            ? outputWidth
            : static_cast<int>(static_cast<int64_t>(outputHeight) * pictureWidth / pictureHeight);
    height =
        widthBinds
            ? static_cast<int>(static_cast<int64_t>(outputWidth) * pictureHeight / pictureWidth)
            : outputHeight;
  }
  return PictureRect{(outputWidth - width) / 2, (outputHeight - height) / 2, width, height};
}

PictureRect placePicture(ScaleMode mode, int outputWidth, int outputHeight, int pictureWidth,
                         int pictureHeight) {
  if (mode == ScaleMode::Integer || pictureWidth <= 0 || pictureHeight <= 0 || outputWidth <= 0 ||
      outputHeight <= 0) {
    return fitPicture(outputWidth, outputHeight, pictureWidth, pictureHeight);
  }
  const auto across = static_cast<int64_t>(outputWidth) * pictureHeight;
  const auto down = static_cast<int64_t>(outputHeight) * pictureWidth;
  const int width = across <= down ? outputWidth : static_cast<int>(down / pictureHeight);
  const int height = across <= down ? static_cast<int>(across / pictureWidth) : outputHeight;
  return PictureRect{(outputWidth - width) / 2, (outputHeight - height) / 2, width, height};
}

int enlargementFor(const PictureRect& target, int pictureWidth, int pictureHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return 1;
  const int across = (target.width + pictureWidth - 1) / pictureWidth;
  const int down = (target.height + pictureHeight - 1) / pictureHeight;
  return std::max({1, across, down});
}

WindowSize firstWindowSize(int usableWidth, int usableHeight, int pictureWidth, int pictureHeight) {
  // Room for a title bar and borders, which are not known before the window is shown.
  constexpr Decorations d = kAssumedDecorations;
  const int width = usableWidth - d.left - d.right;
  const int height = usableHeight - d.top - d.bottom;
  if (pictureWidth <= 0 || pictureHeight <= 0) return WindowSize{};
  const int scale = std::min(width / pictureWidth, height / pictureHeight);
  if (scale >= 1) return WindowSize{pictureWidth * scale, pictureHeight * scale};
  const PictureRect shrunk = placePicture(ScaleMode::Fit, std::max(width, 1), std::max(height, 1),
                                          pictureWidth, pictureHeight);
  return WindowSize{std::max(shrunk.width, 1), std::max(shrunk.height, 1)};
}

PictureRect placeWindow(WindowSize wanted, const PictureRect& usable,
                        const Decorations& decorations) {
  const int width =
      std::max(std::min(wanted.width, usable.width - decorations.left - decorations.right), 1);
  const int height =
      std::max(std::min(wanted.height, usable.height - decorations.top - decorations.bottom), 1);
  // Centred, then moved as little as keeps the decorations on the usable area too.
  const auto keepIn = [](int centred, int low, int high) {
    return std::max(low, std::min(centred, high));
  };
  const int x = keepIn(usable.x + (usable.width - width) / 2, usable.x + decorations.left,
                       usable.x + usable.width - decorations.right - width);
  const int y = keepIn(usable.y + (usable.height - height) / 2, usable.y + decorations.top,
                       usable.y + usable.height - decorations.bottom - height);
  return PictureRect{x, y, width, height};
}

FlipPacer::FlipPacer(bool displayWaits) : displayTrusted_(displayWaits) {}

uint64_t FlipPacer::waitBeforePresent(uint64_t now) const {
  if (!started_ || now >= due_) return 0;
  return due_ - now;
}

void FlipPacer::presented(uint64_t now) {
  if (displayTrusted_ && started_) judge(now - lastPresent_);
  advance(now, floorNanos());
}

uint64_t FlipPacer::waitBeforeHold(uint64_t now) const {
  if (!started_) return 0;
  // A trusted display would have held the present until its next blank, a period on.
  const uint64_t due = displayTrusted_ ? std::max(due_, lastPresent_ + kPeriodNanos) : due_;
  return now >= due ? 0 : due - now;
}

void FlipPacer::held(uint64_t now) {
  advance(now, floorNanos());
}

void FlipPacer::advance(uint64_t now, uint64_t step) {
  // On schedule the next present is one period after this one was due, so sleeps that
  // overshoot a little do not add up; after a slow frame the schedule starts again from now.
  due_ = started_ && now < due_ + step ? due_ + step : now + step;
  started_ = true;
  lastPresent_ = now;
}

void FlipPacer::judge(uint64_t interval) {
  if (interval < kPeriodNanos * 3 / 4) ++fast_;
  if (fast_ > kFastAllowed) {
    displayTrusted_ = false;
    return;
  }
  if (++judged_ == kJudgedPresents) {
    judged_ = 0;
    fast_ = 0;
  }
}

}  // namespace vane::platform
