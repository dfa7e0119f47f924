// Nanoseconds per output frame of one vector oscillator (512-frame blocks
// with a few segments, as a voice fills them) and of one noise oscillator.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "engine/oscillators/noise_osc.h"
#include "engine/oscillators/vector_osc.h"
#include "engine/oscillators/wave_set.h"

namespace {

constexpr int kBlock = 512;

std::unique_ptr<WaveTables> Tables() {
  auto t = std::make_unique<WaveTables>(WaveSet::kBuiltInLength, WaveSet::kLevels);
  for (int level = 0; level < t->levels(); ++level) {
    float* x = t->mutableLevel(level);
    for (int i = 0; i < t->length(); ++i) {
      const double phase = 2.0 * std::numbers::pi * i / t->length();
      for (int c = 0; c < 4; ++c) x[4 * i + c] = static_cast<float>(std::sin((c + 1) * phase));
    }
  }
  return t;
}

// A block with an amplitude corner, a weight crossfade, a slight glide and a pan sweep.
void FillBlock(VectorOsc& osc, float hz) {
  osc.amplitude().Clear();
  osc.amplitude().Append(0.0f, 0.2f);
  osc.amplitude().Append(100.0f, 0.9f);
  osc.amplitude().Append(300.0f, 0.7f);
  osc.amplitude().Append(static_cast<float>(kBlock), 0.6f);
  osc.weights().Clear();
  Breakpoint& w0 = osc.weights().Append(0.0f);
  w0.values = {0.7f, 0.1f, 0.1f, 0.1f};
  Breakpoint& w1 = osc.weights().Append(256.0f);
  w1.values = {0.25f, 0.25f, 0.25f, 0.25f};
  Breakpoint& w2 = osc.weights().Append(static_cast<float>(kBlock));
  w2.values = {0.1f, 0.1f, 0.1f, 0.7f};
  osc.frequency().Clear();
  osc.frequency().Append(0.0f, hz);
  osc.frequency().Append(static_cast<float>(kBlock), hz * 1.01f);
  osc.pan().Clear();
  osc.pan().Append(0.0f, -0.5f);
  osc.pan().Append(static_cast<float>(kBlock), 0.5f);
}

void Vector(benchmark::State& state, float hz) {
  WaveSet set;
  set.Publish(Tables());
  VectorOsc osc;
  osc.SetWaveSet(&set);
  FillBlock(osc, hz);
  std::vector<float> l(kBlock), r(kBlock);
  for (auto _ : state) {
    osc.Process(nullptr, nullptr, l.data(), r.data(), kBlock);
    benchmark::DoNotOptimize(l.data());
    benchmark::DoNotOptimize(r.data());
    benchmark::ClobberMemory();
    if (std::fabs(l[0]) > 1.0e6f) std::fill(l.begin(), l.end(), 0.0f);  // keep the sums bounded
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
  state.counters["ns/frame"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kBlock),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_VectorOsc440(benchmark::State& state) {
  Vector(state, 440.0f);
}
void BM_VectorOsc3520(benchmark::State& state) {
  Vector(state, 3520.0f);
}
BENCHMARK(BM_VectorOsc440);
BENCHMARK(BM_VectorOsc3520);

void BM_NoiseOsc(benchmark::State& state) {
  ZNoiseOsc osc;
  osc.amplitude().Append(0.0f, 0.5f);
  osc.amplitude().Append(static_cast<float>(kBlock), 0.6f);
  osc.pan().Append(0.0f, 0.2f);
  osc.pan().Append(static_cast<float>(kBlock), 0.2f);
  std::vector<float> l(kBlock), r(kBlock);
  for (auto _ : state) {
    osc.Process(nullptr, nullptr, l.data(), r.data(), kBlock);
    benchmark::DoNotOptimize(l.data());
    benchmark::DoNotOptimize(r.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
  state.counters["ns/frame"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kBlock),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NoiseOsc);

}  // namespace
