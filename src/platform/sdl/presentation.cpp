// The picture's place in the window and the 60 Hz flip pacing, free of any device.
#include "platform/sdl/presentation.h"

#include <algorithm>

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

FlipPacer::FlipPacer(bool displayWaits) : displayTrusted_(displayWaits) {}

uint64_t FlipPacer::waitBeforePresent(uint64_t now) const {
  if (!started_ || now >= due_) return 0;
  return due_ - now;
}

void FlipPacer::presented(uint64_t now) {
  if (displayTrusted_ && started_) judge(now - lastPresent_);
  const uint64_t floor = floorNanos();
  // On schedule the next present is one period after this one was due, so sleeps that
  // overshoot a little do not add up; after a slow frame the schedule starts again from now.
  due_ = started_ && now < due_ + floor ? due_ + floor : now + floor;
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
