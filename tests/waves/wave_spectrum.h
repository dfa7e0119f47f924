// Harmonic magnitudes of one lane of one table, measured with a plain FFT.
#pragma once

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "engine/oscillators/wave_builder.h"
#include "engine/oscillators/wave_tables.h"

// Entry h is the peak amplitude of harmonic h of a cycle (entry 0: the
// mean, doubled).
inline std::vector<double> CycleSpectrum(std::vector<float> x) {
  const int n = static_cast<int>(x.size());
  std::vector<fftwf_complex> bins(static_cast<std::size_t>(n / 2 + 1));
  fftwf_plan plan;
  {
    std::lock_guard lock(FftPlannerMutex());
    plan = fftwf_plan_dft_r2c_1d(n, x.data(), bins.data(), FFTW_ESTIMATE);
  }
  fftwf_execute(plan);
  {
    std::lock_guard lock(FftPlannerMutex());
    fftwf_destroy_plan(plan);
  }
  std::vector<double> m(static_cast<std::size_t>(n / 2));
  for (std::size_t h = 0; h < m.size(); ++h) m[h] = 2.0 * std::hypot(bins[h][0], bins[h][1]) / n;
  return m;
}

inline std::vector<float> LaneCycle(const WaveTables& t, int level, int lane) {
  std::vector<float> x(static_cast<std::size_t>(t.length()));
  for (std::size_t k = 0; k < x.size(); ++k)
    x[k] = t.level(level)[4 * k + static_cast<std::size_t>(lane)];
  return x;
}

inline std::vector<double> LaneSpectrum(const WaveTables& t, int level, int lane) {
  return CycleSpectrum(LaneCycle(t, level, lane));
}

inline float LanePeak(const WaveTables& t, int level, int lane) {
  float peak = 0.0f;
  for (int k = 0; k < t.length(); ++k)
    peak = std::max(peak, std::fabs(t.level(level)[4 * k + lane]));
  return peak;
}
