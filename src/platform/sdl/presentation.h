// Where the 640x480 picture lands in the window, and how long a flip waits for the next frame.
#pragma once

#include <cstdint>

namespace vane::platform {

struct PictureRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The picture scaled by the largest whole factor that fits the output, centred. An output
// smaller than the picture gets it shrunk to fit, keeping its shape.
PictureRect fitPicture(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight);

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
  // True once flips are paced at 60 Hz rather than by the display.
  bool pacing() const { return !displayTrusted_; }

 private:
  uint64_t floorNanos() const { return displayTrusted_ ? kPeriodNanos / 2 : kPeriodNanos; }
  void judge(uint64_t interval);

  bool displayTrusted_;
  bool started_ = false;
  uint64_t due_ = 0;  // when the next present may happen
  uint64_t lastPresent_ = 0;
  int judged_ = 0;
  int fast_ = 0;
};

}  // namespace vane::platform
