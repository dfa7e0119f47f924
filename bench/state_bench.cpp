// The host's state chunk and the cost of making an instance (hosts scan by
// making and closing one: it should take well under 100 ms).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/instrument/zelvane.h"

namespace {

vst2::VstIntPtr Host(vst2::AEffect*, vst2::VstInt32 opcode, vst2::VstInt32, vst2::VstIntPtr, void*,
                     float) {
  return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

// Every lane of every voice a user wave: the largest chunk a patch makes.
void FillWithUserWaves(Zelvane& z) {
  std::vector<float> cycle(4096);
  for (int k = 0; k < Zelvane::kVoices; ++k) {
    for (int lane = 0; lane < 4; ++lane) {
      for (std::size_t i = 0; i < cycle.size(); ++i) {
        cycle[i] = std::sin(static_cast<float>((lane + 1) * i) * 0.00153f);
      }
      z.voiceSettings(k).waveSet().BuildFromSamples(lane, cycle);
    }
  }
}

void BM_GetState(benchmark::State& state) {
  Zelvane z(Host, InstanceOptions{""});
  if (state.range(0) != 0) FillWithUserWaves(z);
  for (auto _ : state) benchmark::DoNotOptimize(z.GetState().size());
  state.counters["bytes"] = static_cast<double>(z.GetState().size());
}
BENCHMARK(BM_GetState)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_SetState(benchmark::State& state) {
  Zelvane z(Host, InstanceOptions{""});
  if (state.range(0) != 0) FillWithUserWaves(z);
  const std::string chunk = z.GetState();
  for (auto _ : state) z.SetState(chunk.data(), chunk.size());
}
BENCHMARK(BM_SetState)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MakeInstance(benchmark::State& state) {
  for (auto _ : state) {
    Zelvane z(Host, InstanceOptions{""});
    benchmark::DoNotOptimize(&z);
  }
}
BENCHMARK(BM_MakeInstance)->Unit(benchmark::kMillisecond);

}  // namespace
