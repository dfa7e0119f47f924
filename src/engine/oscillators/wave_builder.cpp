#include "engine/oscillators/wave_builder.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

float Finite(float v) {
  return std::isfinite(v) ? v : 0.0f;
}

float* AllocateFloats(std::size_t count) {
  auto* p = static_cast<float*>(fftwf_malloc(sizeof(float) * count));
  if (p == nullptr) throw std::bad_alloc();
  std::fill_n(p, count, 0.0f);
  return p;
}

}  // namespace

// Constant-initialised and trivially destructible: a builder destroyed while
// the process exits still locks a live mutex, and unloading leaves nothing.
namespace {
static_assert(std::is_trivially_destructible_v<std::mutex>);
constinit std::mutex fftPlannerMutex;
}  // namespace

std::mutex& FftPlannerMutex() { return fftPlannerMutex; }

double LevelNoteFrequency(int level) {
  return 13.75 * std::exp2((level + 1 - 9) / 12.0);
}

int UserBinCount(int level, int length, double limit) {
  const double c = std::min({length / 2.0 - 1.0, 22050.0 / LevelNoteFrequency(level), limit});
  return c > 0.0 ? static_cast<int>(std::floor(c)) : 0;
}

int BuiltInHarmonics(int level, int length) {
  const double g = std::min(length / 2.0, 44100.0 / LevelNoteFrequency(level)) - 1.0;
  return g > 0.0 ? static_cast<int>(std::ceil(g)) : 0;
}

WaveBuilder::WaveBuilder(int length) : length_(length) {
  const auto bins = static_cast<std::size_t>(length / 2 + 1);
  spectrum_ = AllocateFloats(2 * bins);
  work_ = AllocateFloats(2 * bins);
  cycle_ = AllocateFloats(static_cast<std::size_t>(length));
  std::lock_guard lock(FftPlannerMutex());
  auto* bins_ = reinterpret_cast<fftwf_complex*>(work_);
  forward_ = fftwf_plan_dft_r2c_1d(length, cycle_, bins_, FFTW_ESTIMATE);
  inverse_ = fftwf_plan_dft_c2r_1d(length, bins_, cycle_, FFTW_ESTIMATE);
}

WaveBuilder::~WaveBuilder() {
  {
    std::lock_guard lock(FftPlannerMutex());
    if (forward_ != nullptr) fftwf_destroy_plan(forward_);
    if (inverse_ != nullptr) fftwf_destroy_plan(inverse_);
  }
  fftwf_free(spectrum_);
  fftwf_free(work_);
  fftwf_free(cycle_);
}

void WaveBuilder::ClearSpectrum() {
  std::fill_n(spectrum_, 2 * (binCount() + 1), 0.0f);
  source_.clear();
}

void WaveBuilder::SetPartial(int harmonic, float amplitude, float phase) {
  if (harmonic < 1 || harmonic >= binCount()) return;
  const double a = Finite(amplitude), p = Finite(phase);
  // Half the amplitude in each of the two conjugate bins the real inverse sums.
  spectrum_[2 * harmonic] = static_cast<float>(0.5 * a * std::sin(p));
  spectrum_[2 * harmonic + 1] = static_cast<float>(-0.5 * a * std::cos(p));
  source_.clear();
}

void WaveBuilder::Analyse(const float* cycle, int stride) {
  source_.resize(static_cast<std::size_t>(length_));
  for (int k = 0; k < length_; ++k) {
    source_[static_cast<std::size_t>(k)] = cycle_[k] =
        Finite(cycle[static_cast<std::size_t>(k) * stride]);
  }
  fftwf_execute(forward_);
  const float scale = 1.0f / static_cast<float>(length_);
  for (int i = 0; i < 2 * binCount(); ++i) spectrum_[i] = work_[i] * scale;
  // The Nyquist bin never survives a band limit; its energy still counts.
  const double nyquist = work_[2 * binCount()] * scale;
  nyquistEnergy_ = nyquist * nyquist;
  spectrum_[2 * binCount()] = spectrum_[2 * binCount() + 1] = 0.0f;
}

void WaveBuilder::TakeSpectrum(const WaveBuilder& other) {
  ClearSpectrum();
  const int shared = std::min(binCount(), other.binCount());
  std::copy_n(other.spectrum_, 2 * shared, spectrum_);
}

float WaveBuilder::Magnitude(int bin) const {
  if (bin < 0 || bin >= binCount()) return 0.0f;
  return 2.0f * std::hypot(spectrum_[2 * bin], spectrum_[2 * bin + 1]);
}

float WaveBuilder::Phase(int bin) const {
  if (bin < 0 || bin >= binCount()) return 0.0f;
  // The sine coefficient against the cosine one: atan2(sin φ, cos φ) = φ.
  double p = std::atan2(static_cast<double>(spectrum_[2 * bin]),
                        -static_cast<double>(spectrum_[2 * bin + 1]));
  if (p < 0.0) p += kTwoPi;
  const auto f = static_cast<float>(p);
  return f < static_cast<float>(kTwoPi) ? f : 0.0f;
}

void WaveBuilder::Inverse(int count) {
  std::fill_n(work_, 2 * (binCount() + 1), 0.0f);
  std::copy_n(spectrum_, 2 * count, work_);
  work_[1] = 0.0f;  // a real wave's constant part has no imaginary part
  fftwf_execute(inverse_);
}

void WaveBuilder::Synthesise(std::span<const int> counts, const Sink& sink, bool keepSource) {
  const int bins = binCount();
  // Levels that keep the same non-zero bins are the same wave: effective[c]
  // is one past the highest non-zero bin below c.
  std::vector<int> effective(static_cast<std::size_t>(bins) + 1, 0);
  // Energy of bins below c, for telling a real cut from rounding noise.
  std::vector<double> energy(static_cast<std::size_t>(bins) + 1, 0.0);
  for (int k = 0; k < bins; ++k) {
    const double re = spectrum_[2 * k], im = spectrum_[2 * k + 1];
    const auto i = static_cast<std::size_t>(k);
    effective[i + 1] = re != 0.0 || im != 0.0 ? k + 1 : effective[i];
    energy[i + 1] = energy[i] + (k == 0 ? 1.0 : 2.0) * (re * re + im * im);
  }
  const bool haveSource = keepSource && source_.size() == static_cast<std::size_t>(length_);
  const double total = energy.back() + (haveSource ? nyquistEnergy_ : 0.0);

  constexpr int kSource = -1;
  int made = -2;  // what cycle_ holds
  for (std::size_t m = 0; m < counts.size(); ++m) {
    const int count = std::clamp(counts[m], 0, bins);
    const auto c = static_cast<std::size_t>(count);
    // Float transforms leave noise some 140 dB down; anything above this is content.
    const bool unchanged = haveSource && total - energy[c] <= 1e-10 * total;
    const int wanted = unchanged ? kSource : effective[c];
    if (wanted == kSource) {
      sink(static_cast<int>(m), source_.data());
      continue;
    }
    if (wanted != made) {
      if (wanted == 0) {
        std::fill_n(cycle_, length_, 0.0f);
      } else {
        Inverse(wanted);
      }
      made = wanted;
    }
    sink(static_cast<int>(m), cycle_);
  }
}

std::vector<float> RecordingPartials(std::span<const float> frames) {
  constexpr int n = kRecordingFrames;
  constexpr int bins = n / 2;
  struct Buffers {
    float* samples = nullptr;
    fftwf_complex* spectrum = nullptr;
    fftwf_plan plan = nullptr;
    ~Buffers() {
      if (plan != nullptr) {
        std::lock_guard lock(FftPlannerMutex());
        fftwf_destroy_plan(plan);
      }
      fftwf_free(samples);
      fftwf_free(spectrum);
    }
  } b;
  b.samples = AllocateFloats(n);
  b.spectrum = reinterpret_cast<fftwf_complex*>(AllocateFloats(2 * (bins + 1)));
  {
    std::lock_guard lock(FftPlannerMutex());
    b.plan = fftwf_plan_dft_r2c_1d(n, b.samples, b.spectrum, FFTW_ESTIMATE);
  }
  const std::size_t used = std::min(frames.size(), static_cast<std::size_t>(n));
  for (std::size_t i = 0; i < used; ++i) {
    const double window = 0.54 - 0.46 * std::cos(kTwoPi * static_cast<double>(i) / (n - 1));
    b.samples[i] = static_cast<float>(Finite(frames[i]) * window);
  }
  fftwf_execute(b.plan);

  std::vector<float> magnitude(bins);
  float largest = 0.0f;
  for (int i = 0; i < bins; ++i) {
    magnitude[static_cast<std::size_t>(i)] =
        std::hypot(b.spectrum[i][0], b.spectrum[i][1]) * 2.0f / n;
    largest = std::max(largest, magnitude[static_cast<std::size_t>(i)]);
  }

  // The first local maximum above the threshold, or -1.
  auto firstPeak = [&](float threshold) {
    auto at = [&](int i) {
      const float m = magnitude[static_cast<std::size_t>(i)];
      return m > threshold ? m : 0.0f;
    };
    float rise = -1.0f;  // before bin 1 the spectrum counts as falling
    for (int i = 1; i < bins; ++i) {
      const float d = at(i) - at(i - 1);
      if (d < 0.0f && rise >= 0.0f) return i - 1;
      rise = d;
    }
    return -1;
  };
  int peak = firstPeak(0.1f * largest);
  // A spectrum that only falls from its maximum: look again at any level at
  // all. Twice is enough; silence has no peak at either.
  if (peak < 0) peak = firstPeak(0.1f * std::numeric_limits<float>::min());
  const int fundamental = peak < 0 ? 0 : std::max(peak, 1) - 1;

  std::vector<float> partials(bins, 0.0f);
  if (fundamental > 0) {
    const double f0 = fundamental;
    for (int i = 0; i < bins; ++i) {
      const float m = magnitude[static_cast<std::size_t>(i)];
      if (!(m > 0.0001f)) continue;
      const double g = std::floor((i - f0) / f0 + 0.5);  // halves up
      if (g >= 0.0 && g < bins) partials[static_cast<std::size_t>(g)] += m;
    }
  }
  return partials;
}

namespace {

// FFTW keeps its planning tables for the life of the process. Inside the
// plug-in that ends when the host unloads the library: release them then,
// when no wave set (and so no plan) is left.
struct FftwRelease {
  ~FftwRelease() { fftwf_cleanup(); }
} fftwRelease;

}  // namespace
