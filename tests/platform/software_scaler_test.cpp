// SPDX-License-Identifier: GPL-3.0-or-later
// The software scaler against a plain reference: enlarge pixel for pixel, then sample linearly.
#include "platform/picture/software_scaler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace vane::platform {
namespace {

constexpr int kPictureWidth = 7;
constexpr int kPictureHeight = 5;

std::vector<uint16_t> testPicture() {
  std::vector<uint16_t> picture(kPictureWidth * kPictureHeight);
  uint32_t seed = 12345;
  for (uint16_t& pixel : picture) {
    seed = seed * 1103515245 + 12345;
    pixel = static_cast<uint16_t>(seed >> 16);
  }
  picture[0] = 0xFFFF;  // full white must stay 255 in every channel
  picture[1] = 0x0000;
  return picture;
}

// One channel (0 red, 1 green, 2 blue) of a 5-6-5 pixel, widened to 0..255.
double channel(uint16_t pixel, int which) {
  switch (which) {
    case 0:
      return (pixel >> 11) * 255.0 / 31.0;
    case 1:
      return ((pixel >> 5) & 0x3F) * 255.0 / 63.0;
    default:
      return (pixel & 0x1F) * 255.0 / 31.0;
  }
}

// The reference: the picture enlarged by `step`, then sampled at the centre of each output pixel
// with linear filtering, clamped at the edges, as a graphics card samples a texture.
std::vector<double> reference(const std::vector<uint16_t>& picture, int width, int height, int step,
                              int which) {
  const int enlargedWidth = kPictureWidth * step;
  const int enlargedHeight = kPictureHeight * step;
  const auto enlarged = [&](int x, int y) {
    x = std::clamp(x, 0, enlargedWidth - 1);
    y = std::clamp(y, 0, enlargedHeight - 1);
    return channel(picture[static_cast<size_t>(y / step * kPictureWidth + x / step)], which);
  };
  std::vector<double> out(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = (x + 0.5) * enlargedWidth / width - 0.5;
      const double v = (y + 0.5) * enlargedHeight / height - 0.5;
      const int x0 = static_cast<int>(std::floor(u));
      const int y0 = static_cast<int>(std::floor(v));
      const double fx = u - x0;
      const double fy = v - y0;
      const double top = enlarged(x0, y0) * (1 - fx) + enlarged(x0 + 1, y0) * fx;
      const double bottom = enlarged(x0, y0 + 1) * (1 - fx) + enlarged(x0 + 1, y0 + 1) * fx;
      out[static_cast<size_t>(y) * width + x] = top * (1 - fy) + bottom * fy;
    }
  }
  return out;
}

TEST(SoftwareScaler, MatchesTheReferenceInEveryChannelAndLayout) {
  struct Case {
    int width, height;
  };
  // Whole steps (pixel for pixel), steps with a linear shrink after them, and a smaller output.
  const Case sizes[] = {{7, 5}, {14, 10}, {21, 15}, {11, 8}, {20, 13}, {9, 7}, {5, 4}, {30, 16}};
  const PixelLayout layouts[] = {{16, 8, 0, 0xFF000000}, {0, 8, 16, 0}, {24, 16, 8, 0xFF}};
  const std::vector<uint16_t> picture = testPicture();
  for (const PixelLayout& layout : layouts) {
    SoftwareScaler scaler(layout, kPictureWidth, kPictureHeight);
    for (const Case& size : sizes) {
      SCOPED_TRACE(testing::Message()
                   << size.width << "x" << size.height << " red at " << layout.redShift);
      scaler.setTarget(size.width, size.height);
      const int pitch = size.width + 3;
      std::vector<uint32_t> out(static_cast<size_t>(pitch) * size.height, 0xDEADBEEF);
      const RowBand lines =
          scaler.draw(picture.data(), RowBand{0, kPictureHeight}, out.data(), pitch);
      EXPECT_EQ(lines.first, 0);
      EXPECT_EQ(lines.end, size.height);
      const int step =
          enlargementFor(PictureRect{0, 0, size.width, size.height}, kPictureWidth, kPictureHeight);
      const bool wholeSteps = size.width == kPictureWidth * step;
      const int shifts[] = {layout.redShift, layout.greenShift, layout.blueShift};
      for (int which = 0; which < 3; ++which) {
        const auto expected = reference(picture, size.width, size.height, step, which);
        for (int y = 0; y < size.height; ++y) {
          for (int x = 0; x < size.width; ++x) {
            const uint32_t pixel = out[static_cast<size_t>(y) * pitch + x];
            const double want = expected[static_cast<size_t>(y) * size.width + x];
            const int got = static_cast<int>((pixel >> shifts[which]) & 0xFF);
            // Whole steps copy pixels exactly; weights and blends are cut to eight bits.
            ASSERT_NEAR(got, want, wholeSteps ? 0.5 : 3.0) << "at " << x << "," << y;
          }
        }
      }
      for (int y = 0; y < size.height; ++y) {
        EXPECT_EQ(out[static_cast<size_t>(y) * pitch] & layout.alwaysSet, layout.alwaysSet);
        EXPECT_EQ(out[static_cast<size_t>(y) * pitch + size.width], 0xDEADBEEF);  // beyond
      }
    }
  }
}

// Every 5-6-5 value, drawn pixel for pixel (eight at a time where the machine can), comes out with
// each channel at the nearest of 0..255 and the layout's fixed bits set.
TEST(SoftwareScaler, ConvertsEveryValueToTheNearestLevels) {
  constexpr int kSide = 256;
  std::vector<uint16_t> picture(kSide * kSide);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint16_t>(i);
  const PixelLayout layouts[] = {{16, 8, 0, 0xFF000000}, {0, 8, 16, 0}, {24, 16, 8, 0xFF}};
  for (const PixelLayout& layout : layouts) {
    SCOPED_TRACE(testing::Message() << "red at " << layout.redShift);
    SoftwareScaler scaler(layout, kSide, kSide);
    scaler.setTarget(kSide, kSide);
    std::vector<uint32_t> out(picture.size());
    scaler.draw(picture.data(), RowBand{0, kSide}, out.data(), kSide);
    for (uint32_t v = 0; v < out.size(); ++v) {
      const uint32_t want = ((v >> 11) * 255 + 15) / 31 << layout.redShift |
                            (((v >> 5) & 0x3F) * 255 + 31) / 63 << layout.greenShift |
                            ((v & 0x1F) * 255 + 15) / 31 << layout.blueShift | layout.alwaysSet;
      ASSERT_EQ(out[v], want) << "value " << v;
    }
  }
}

TEST(SoftwareScaler, ChangedBlocksRedrawJustTheirAreaAndMatchAWholeDraw) {
  const PixelLayout layout{16, 8, 0, 0};
  const std::vector<uint16_t> picture = testPicture();
  for (const int width : {7, 14, 28, 11, 17}) {
    for (const RowBand columns :
         {RowBand{2, 5}, RowBand{0, 1}, RowBand{6, 7}, RowBand{0, kPictureWidth}}) {
      SCOPED_TRACE(testing::Message() << width << " " << columns.first);
      SoftwareScaler scaler(layout, kPictureWidth, kPictureHeight);
      const int height = width * kPictureHeight / kPictureWidth;
      scaler.setTarget(width, height);
      std::vector<uint32_t> partial(static_cast<size_t>(width) * height);
      scaler.draw(picture.data(), RowBand{0, kPictureHeight}, partial.data(), width);
      const std::vector<uint32_t> before = partial;

      std::vector<uint16_t> changed = picture;
      for (int y = 2; y < 4; ++y) {
        for (int x = columns.first; x < columns.end; ++x) changed[y * kPictureWidth + x] ^= 0x5555;
      }
      const SoftwareScaler::Drawn drawn =
          scaler.draw(changed.data(), RowBand{2, 4}, columns, partial.data(), width);
      std::vector<uint32_t> whole(partial.size());
      scaler.draw(changed.data(), RowBand{0, kPictureHeight}, whole.data(), width);
      EXPECT_EQ(partial, whole);
      // Every output pixel that changed lies in the area said to be drawn.
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          const size_t at = static_cast<size_t>(y) * width + x;
          if (before[at] == whole[at]) continue;
          EXPECT_TRUE(y >= drawn.lines.first && y < drawn.lines.end && x >= drawn.columns.first &&
                      x < drawn.columns.end)
              << x << "," << y;
        }
      }
      EXPECT_LT(drawn.lines.end - drawn.lines.first, height);
    }
  }
}

}  // namespace
}  // namespace vane::platform
