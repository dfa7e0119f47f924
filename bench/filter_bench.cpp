// Nanoseconds per stereo frame of the filter: steady, and with the cutoff
// changing every block as the voices drive it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/filter/stereo_filter.h"

namespace {

void Filter(benchmark::State& state, bool moving) {
  StereoFilter f;
  f.SetSampleRate(44100.0f);
  f.enabled().SetValue(1.0f);
  f.resonance().SetValue(10.0f);
  f.cutoff().SetValue(1000.0f);
  std::vector<float> l(512), r(512);
  for (std::size_t i = 0; i < l.size(); ++i) l[i] = r[i] = std::sin(0.05f * static_cast<float>(i));
  float cutoff = 1000.0f;
  for (auto _ : state) {
    if (moving) {
      cutoff = cutoff > 5000.0f ? 1000.0f : cutoff * 1.01f;
      f.cutoff().SetValue(cutoff);
    }
    f.Process(l.data(), r.data(), l.data(), r.data(), 512);
    benchmark::DoNotOptimize(l.data());
  }
  state.SetItemsProcessed(state.iterations() * 512);
}

void BM_FilterSteady(benchmark::State& state) { Filter(state, false); }
void BM_FilterGliding(benchmark::State& state) { Filter(state, true); }
BENCHMARK(BM_FilterSteady);
BENCHMARK(BM_FilterGliding);

}  // namespace
