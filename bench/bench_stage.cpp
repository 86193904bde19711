// SPDX-License-Identifier: GPL-3.0-or-later
// Whole stage frames through vane-sim's runner: world update, drawing, HUD, text and sound.
#include <benchmark/benchmark.h>

#include "tools/sim/sim_run.h"

namespace {

// A busy stretch: steering and firing bursts all the time, a special attack now and then.
vane::sim::KeyScript busyKeys(long long frames) {
  vane::sim::KeyScript script;
  for (long long f = 1; f <= frames; ++f) {
    std::vector<vane::KeyToken> keys{{(f / 40) % 2 == 0 ? 37 : 39}};
    if ((f / 3) % 2 == 0) keys.push_back({16});
    if (f % 400 == 0) keys.push_back({90});
    script[f] = keys;
  }
  return script;
}

void stageFrames(benchmark::State& state) {
  const long long frames = state.range(1);
  vane::sim::Options options;
  options.seed = 1;
  options.dataDir = VANE_DATA_DIR;
  options.stage = static_cast<int>(state.range(0));
  options.ship = 1;
  options.frames = frames;
  const auto keys = busyKeys(frames);
  for (auto _ : state) {
    benchmark::DoNotOptimize(vane::sim::run(options, keys));
  }
  state.counters["frame"] = benchmark::Counter(
      static_cast<double>(frames),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(stageFrames)->Args({1, 2000})->Args({2, 2000})->Unit(benchmark::kMillisecond);

}  // namespace
