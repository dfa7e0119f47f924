// Milliseconds to build one lane of a 4096 x 128 wave set: from the wave
// editor's 255 partials, from one cycle of samples, and the four built-in
// lanes of a reset (shapes made once per process, tables shared).
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "engine/oscillators/wave_set.h"

namespace {

void BM_BuildFromPartials(benchmark::State& state) {
  WaveSet set;
  set.BuildBuiltIns({WaveSet::kRamp, WaveSet::kSilence, WaveSet::kSquare, WaveSet::kSilence});
  std::vector<float> amplitudes(WaveSet::kEditorCap), phases(WaveSet::kEditorCap);
  for (std::size_t i = 0; i < amplitudes.size(); ++i) {
    amplitudes[i] = 1.0f / static_cast<float>(i + 1);
    phases[i] = static_cast<float>(i) * 0.37f;
  }
  for (auto _ : state) {
    set.BuildFromPartials(1, amplitudes, phases);
    benchmark::DoNotOptimize(set.tables());
  }
  state.SetLabel("4096 x 128, 255 partials");
}
BENCHMARK(BM_BuildFromPartials)->Unit(benchmark::kMillisecond);

void BM_BuildFromSamples(benchmark::State& state) {
  WaveSet set;
  std::vector<float> cycle(WaveSet::kBuiltInLength);
  for (std::size_t k = 0; k < cycle.size(); ++k)
    cycle[k] = k < cycle.size() / 3 ? 0.8f : -0.4f;  // every harmonic
  for (auto _ : state) {
    set.BuildFromSamples(1, cycle);
    benchmark::DoNotOptimize(set.tables());
  }
}
BENCHMARK(BM_BuildFromSamples)->Unit(benchmark::kMillisecond);

void BM_ResetLanes(benchmark::State& state) {
  WaveSet set;
  set.BuildFromPartials(3, std::vector<float>{1.0f, 0.0f});  // a user lane: nothing to share
  for (auto _ : state) {
    set.BuildBuiltIns({WaveSet::kRamp, WaveSet::kSilence, WaveSet::kSquare, WaveSet::kNone});
    benchmark::DoNotOptimize(set.tables());
  }
}
BENCHMARK(BM_ResetLanes)->Unit(benchmark::kMillisecond);

}  // namespace
