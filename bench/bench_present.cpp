// SPDX-License-Identifier: GPL-3.0-or-later
// Presenting a changed picture in software: the scaler at the reference sizes, and the change
// check.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "host/changes.h"
#include "platform//picture/presentation.h"
#include "platform/picture/software_scaler.h"

namespace {

using vane::platform::RowBand;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

std::vector<uint16_t> noisePicture() {
  std::vector<uint16_t> picture(static_cast<size_t>(kWidth) * kHeight);
  uint32_t seed = 12345;
  for (uint16_t& p : picture) {
    seed = seed * 1664525 + 1013904223;
    p = static_cast<uint16_t>(seed >> 16);
  }
  return picture;
}

// Range 0, 1: the output's size; range 2: 0 integer scaling, 1 fit.
void scaleWholePicture(benchmark::State& state) {
  const int outWidth = static_cast<int>(state.range(0));
  const int outHeight = static_cast<int>(state.range(1));
  const auto mode =
      state.range(2) == 0 ? vane::platform::ScaleMode::Integer : vane::platform::ScaleMode::Fit;
  const vane::platform::PictureRect target =
      vane::platform::placePicture(mode, outWidth, outHeight, kWidth, kHeight);
  vane::platform::SoftwareScaler scaler(vane::platform::PixelLayout{}, kWidth, kHeight);
  scaler.setTarget(target.width, target.height);
  const std::vector<uint16_t> picture = noisePicture();
  std::vector<uint32_t> out(static_cast<size_t>(outWidth) * outHeight);
  for (auto _ : state) {
    scaler.draw(picture.data(), RowBand{0, kHeight}, out.data(), outWidth);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}

// A still picture: every strip compared and found equal.
void findNoChange(benchmark::State& state) {
  const std::vector<uint16_t> before = noisePicture();
  const std::vector<uint16_t> after = before;
  std::vector<vane::platform::Block> blocks;
  for (auto _ : state) {
    vane::host::changedBlocks(before.data(), after.data(), kWidth, kHeight, blocks);
    benchmark::DoNotOptimize(blocks.data());
  }
}

}  // namespace

BENCHMARK(scaleWholePicture)
    ->ArgNames({"w", "h", "fit"})
    ->ArgsProduct({{1024}, {768}, {0, 1}})
    ->ArgsProduct({{1280}, {960}, {0, 1}})
    ->ArgsProduct({{1920}, {1080}, {0, 1}});
BENCHMARK(findNoChange);
