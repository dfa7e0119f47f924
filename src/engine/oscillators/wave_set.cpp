#include "engine/oscillators/wave_set.h"

#include <fftw3.h>

#include <cmath>
#include <mutex>
#include <numbers>

namespace {

// FFTW's planner is not thread-safe; executing a plan is.
std::mutex& PlannerMutex() {
  static std::mutex m;
  return m;
}

// The highest harmonic of a built-in shape in the table of MIDI note
// level + 1: the built-ins reach up to twice the Nyquist frequency of a
// 44.1 kHz table (the level lookup halves them again at playback).
int PartialLimit(int level, int length) {
  const double f = 13.75 * std::exp2((level + 1 - 9) / 12.0);
  const double g = std::min(length / 2.0, 44100.0 / f) - 1.0;
  return std::min(static_cast<int>(std::ceil(g)), length / 2 - 1);
}

// One lane of a built-in shape, every level: made once per process with
// inverse FFTs and shared by every wave set after that.
const std::vector<float>& ShapeLevels(WaveSet::Kind kind, int n, int levels) {
  static std::mutex cacheMutex;
  static std::vector<float> cache[3];
  const int slot = kind == WaveSet::kSine ? 0 : kind == WaveSet::kRamp ? 1 : 2;
  std::lock_guard cacheLock(cacheMutex);
  std::vector<float>& shape = cache[slot];
  if (!shape.empty()) return shape;
  shape.assign(static_cast<std::size_t>(n) * static_cast<std::size_t>(levels), 0.0f);
  std::vector<float> spectrum(static_cast<std::size_t>(n) + 2, 0.0f), cycle(static_cast<std::size_t>(n));
  fftwf_plan plan;
  {
    std::lock_guard lock(PlannerMutex());
    plan = fftwf_plan_dft_c2r_1d(n, reinterpret_cast<fftwf_complex*>(spectrum.data()), cycle.data(),
                                 FFTW_ESTIMATE);
  }
  for (int m = 0; m < levels; ++m) {
    float* out = shape.data() + static_cast<std::size_t>(m) * static_cast<std::size_t>(n);
    if (kind == WaveSet::kSine) {
      for (int k = 0; k < n; ++k) out[k] = static_cast<float>(std::sin(2.0 * std::numbers::pi * k / n));
      continue;
    }
    std::fill(spectrum.begin(), spectrum.end(), 0.0f);
    const int limit = PartialLimit(m, n);
    for (int h = 1; h <= limit; ++h) {
      if (kind == WaveSet::kSquare && h % 2 == 0) continue;
      // Amplitude a at phase 0: the bin's imaginary part holds a / 2.
      spectrum[static_cast<std::size_t>(2 * h + 1)] = 0.5f / static_cast<float>(h);
    }
    fftwf_execute(plan);
    std::copy(cycle.begin(), cycle.end(), out);
  }
  std::lock_guard lock(PlannerMutex());
  fftwf_destroy_plan(plan);
  return shape;
}

// Writes a built-in shape into one lane of every level.
void BuildShape(WaveTables& tables, int lane, WaveSet::Kind kind) {
  const int n = tables.length();
  if (kind == WaveSet::kSilence || kind == WaveSet::kNone || kind == WaveSet::kUser) {
    for (int m = 0; m < tables.levels(); ++m) {
      float* level = tables.mutableLevel(m);
      for (int k = 0; k < n; ++k) level[4 * k + lane] = 0.0f;
    }
    return;
  }
  const std::vector<float>& shape = ShapeLevels(kind, n, tables.levels());
  for (int m = 0; m < tables.levels(); ++m) {
    float* level = tables.mutableLevel(m);
    const float* source = shape.data() + static_cast<std::size_t>(m) * static_cast<std::size_t>(n);
    for (int k = 0; k < n; ++k) level[4 * k + lane] = source[k];
  }
}

}  // namespace

void WaveSet::Publish(std::unique_ptr<WaveTables> t) {
  current_.store(t.get(), std::memory_order_release);
  std::unique_ptr<WaveTables> old = std::move(owned_);
  owned_ = std::move(t);
  if (old && fence_) fence_();  // a block that began with the old tables has ended
}

void WaveSet::SetUserSamples(int lane, const std::vector<float>& samples) {
  const int length = static_cast<int>(samples.size());
  // New storage: the other lanes are copied when they share the length.
  auto next = std::make_unique<WaveTables>(length, kLevels);
  const WaveTables* old = tables();
  for (int m = 0; m < kLevels; ++m) {
    float* level = next->mutableLevel(m);
    const float* previous = old != nullptr && old->length() == length && m < old->levels() ? old->level(m) : nullptr;
    for (int k = 0; k < length; ++k) {
      for (int c = 0; c < kLanes; ++c) {
        level[4 * k + c] = c == lane ? samples[static_cast<std::size_t>(k)]
                                     : previous != nullptr ? previous[4 * k + c] : 0.0f;
      }
    }
  }
  kinds_[static_cast<std::size_t>(lane)] = kUser;
  length_ = length;
  Publish(std::move(next));
}

void WaveSet::SetBuiltIn(int lane, Kind kind) {
  // New storage: the other lanes come along when they share the length.
  auto next = std::make_unique<WaveTables>(kBuiltInLength, kLevels);
  const WaveTables* old = tables();
  if (old != nullptr && old->length() == kBuiltInLength && old->levels() == kLevels) {
    for (int m = 0; m < kLevels; ++m) {
      std::copy_n(old->level(m), 4 * kBuiltInLength, next->mutableLevel(m));
    }
  }
  BuildShape(*next, lane, kind);
  kinds_[static_cast<std::size_t>(lane)] = kind;
  length_ = kBuiltInLength;
  Publish(std::move(next));
}

void WaveSet::SetBuiltIns(const std::array<Kind, kLanes>& kinds) {
  auto next = std::make_unique<WaveTables>(kBuiltInLength, kLevels);
  for (int lane = 0; lane < kLanes; ++lane) {
    BuildShape(*next, lane, kinds[static_cast<std::size_t>(lane)]);
    kinds_[static_cast<std::size_t>(lane)] = kinds[static_cast<std::size_t>(lane)];
  }
  length_ = kBuiltInLength;
  Publish(std::move(next));
}
