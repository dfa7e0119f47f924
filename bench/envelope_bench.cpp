// Nanoseconds per block of a voice's timeline work: windowing a 23-value
// line with a loop, and multiplying and summing per-block lists in place.
#include <benchmark/benchmark.h>

#include "engine/envelope/envelope.h"

namespace {

void BM_WindowExtract(benchmark::State& state) {
  EventEnvelope line(23);
  for (int i = 0; i < 64; ++i) line.Append(static_cast<float>(i * 700), static_cast<float>(i % 5));
  LoopRecord loop;
  loop.on = true;
  loop.start = 7000.0f;
  loop.end = 40000.0f;
  Envelope window(23);
  int hint = 0;
  for (auto _ : state) {
    window.Clear();
    const float s = loop.resumePosition;
    WindowExtract(line, window, s, s + 256.0f, hint, false, &loop);
    benchmark::DoNotOptimize(window[0].values.data());
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_CombineInPlace(benchmark::State& state) {
  ZModValues input(1), source(1);
  for (int i = 0; i <= 32; ++i) source.Append(static_cast<float>(i * 8), 0.5f);
  for (auto _ : state) {
    input.Clear();
    input.Append(0.0f, 1.0f);
    input.Append(256.0f, 1.0f);
    input.MultiplyBy(source);
    input.Add(source);
    benchmark::DoNotOptimize(input[0].values.data());
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_WindowExtract);
BENCHMARK(BM_CombineInPlace);

}  // namespace
