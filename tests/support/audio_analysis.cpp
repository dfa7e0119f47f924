#include "support/audio_analysis.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace analysis {
namespace {

// Vertex offset (-1..1) of the parabola through three equally spaced points.
double ParabolicOffset(double left, double centre, double right) {
  const double curvature = left - 2.0 * centre + right;
  if (curvature == 0.0) return 0.0;
  return std::clamp(0.5 * (left - right) / curvature, -1.0, 1.0);
}

// Normalised correlation of the signal with itself shifted by lag.
double Correlation(std::span<const float> x, std::size_t lag) {
  double xy = 0.0, xx = 0.0, yy = 0.0;
  for (std::size_t i = 0; i + lag < x.size(); ++i) {
    const double a = x[i], b = x[i + lag];
    xy += a * b;
    xx += a * a;
    yy += b * b;
  }
  return xx > 0.0 && yy > 0.0 ? xy / std::sqrt(xx * yy) : 0.0;
}

// Period in samples, to within a fraction of a sample, from the dips of the
// cumulative-mean-normalised difference function (as in YIN). 0 when nothing
// is periodic.
double CoarsePeriod(std::span<const float> x, std::size_t minLag, std::size_t maxLag) {
  const std::size_t window = std::min<std::size_t>(x.size() - maxLag - 2, 16384);
  std::vector<double> normalised(maxLag + 2, 1.0);
  double runningSum = 0.0;
  for (std::size_t lag = 1; lag <= maxLag + 1; ++lag) {
    double d = 0.0;
    for (std::size_t i = 0; i < window; ++i) {
      const double diff = double{x[i]} - x[i + lag];
      d += diff * diff;
    }
    runningSum += d;
    normalised[lag] = runningSum > 0.0 ? d * lag / runningSum : 1.0;
  }

  // The deepest dip may be at a multiple of the period, and a strong even
  // harmonic makes a shallower dip at half of it; the first dip nearly as
  // deep as the deepest is the fundamental.
  const double deepest =
      *std::min_element(normalised.begin() + minLag, normalised.begin() + maxLag + 1);
  if (deepest > 0.5) return 0.0;
  std::size_t best = minLag;
  while (normalised[best] > deepest + 0.05) ++best;
  while (best < maxLag && normalised[best + 1] < normalised[best]) ++best;
  return best + ParabolicOffset(normalised[best - 1], normalised[best], normalised[best + 1]);
}

}  // namespace

float Peak(std::span<const float> samples) {
  float peak = 0.0f;
  for (float x : samples) peak = std::max(peak, std::fabs(x));  // max keeps peak when x is NaN
  return peak;
}

double Rms(std::span<const float> samples) {
  if (samples.empty()) return 0.0;
  double sum = 0.0;
  for (float x : samples) sum += double{x} * x;
  return std::sqrt(sum / samples.size());
}

bool HasNonFinite(std::span<const float> samples) {
  return std::any_of(samples.begin(), samples.end(), [](float x) { return !std::isfinite(x); });
}

std::size_t CountSubnormals(std::span<const float> samples) {
  return static_cast<std::size_t>(std::count_if(
      samples.begin(), samples.end(), [](float x) { return std::fpclassify(x) == FP_SUBNORMAL; }));
}

double EstimateFundamental(std::span<const float> samples, double sampleRate, double minHz,
                           double maxHz) {
  if (!(sampleRate > 0.0 && minHz > 0.0 && maxHz > minHz)) return 0.0;
  const auto minLag = std::max<std::size_t>(2, static_cast<std::size_t>(sampleRate / maxHz));
  const auto maxLag = static_cast<std::size_t>(std::ceil(sampleRate / minHz));
  if (samples.size() < 3 * maxLag + 2) return 0.0;

  double period = CoarsePeriod(samples, minLag, maxLag);
  if (period <= 0.0) return 0.0;

  // Refine on the correlation peak near k periods for k = 2, 4, 8, ...: the
  // same sub-sample error there is divided by k. Each step's estimate is
  // good enough that the peak searched for is the k-th one and not its
  // neighbour.
  for (std::size_t k = 2;; k *= 2) {
    const double centre = period * static_cast<double>(k);
    if (centre + period > static_cast<double>(samples.size()) / 2) break;
    const auto low = static_cast<std::size_t>(std::floor(centre - period / 4));
    const auto high = static_cast<std::size_t>(std::ceil(centre + period / 4));
    std::size_t best = low;
    double bestValue = -2.0;
    for (std::size_t lag = low; lag <= high; ++lag) {
      const double value = Correlation(samples, lag);
      if (value > bestValue) {
        bestValue = value;
        best = lag;
      }
    }
    if (best == low || best == high) break;  // no clear peak: keep what we have
    const double offset =
        ParabolicOffset(Correlation(samples, best - 1), bestValue, Correlation(samples, best + 1));
    period = (static_cast<double>(best) + offset) / static_cast<double>(k);
  }
  return sampleRate / period;
}

}  // namespace analysis
