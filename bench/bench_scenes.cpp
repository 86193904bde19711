// SPDX-License-Identifier: GPL-3.0-or-later
// The busiest scenes of recorded runs: each boss's arrival with special attacks in flight, frame by
// frame.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tools/sim/sim_run.h"

namespace {

struct Scene {
  const char* keys;  // under bench/scenes/
  uint32_t seed;
  int stage;
  int ship;
  long long from;  // the timed frames are from+1 .. to
  long long to;
};

// Frames where the shot list holds 850-950 actors: the special attack's walls over the boss.
constexpr Scene kScenes[] = {
    {"stage1-boss-arrows.keys", 5, 1, 1, 4700, 4760},
    {"stage2-boss-sweep.keys", 6, 2, 2, 5700, 5760},
};

vane::sim::KeyScript readScene(const Scene& scene) {
  std::ifstream in(std::string(VANE_SCENES_DIR) + "/" + scene.keys, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string error;
  auto script = vane::sim::parseKeyScript(text.str(), error);
  if (!error.empty() || script.empty()) std::abort();
  return script;
}

void busyScene(benchmark::State& state) {
  const Scene& scene = kScenes[state.range(0)];
  const auto keys = readScene(scene);
  vane::sim::Options options;
  options.seed = scene.seed;
  options.dataDir = VANE_DATA_DIR;
  options.stage = scene.stage;
  options.ship = scene.ship;
  options.frames = scene.to;
  options.afterFrame = [&](long long frame) {
    if (frame == scene.from) state.ResumeTiming();
  };
  for (auto _ : state) {
    state.PauseTiming();
    benchmark::DoNotOptimize(vane::sim::run(options, keys));
  }
  state.SetLabel(scene.keys);
  state.counters["frame"] = benchmark::Counter(
      static_cast<double>(scene.to - scene.from),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(busyScene)->DenseRange(0, 1)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
