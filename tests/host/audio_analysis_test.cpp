// The test measurements themselves, on signals whose answers are known by
// construction: the synthesiser tests lean on their accuracy.
#include "support/audio_analysis.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

namespace {

std::vector<float> Make(double seconds, double rate, const std::function<double(double)>& f) {
  std::vector<float> out(static_cast<std::size_t>(seconds * rate));
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<float>(f(double(i) / rate));
  return out;
}

double Sine(double hz, double t) {
  return std::sin(2.0 * std::numbers::pi * hz * t);
}

struct PitchCase {
  const char* name;
  double rate;
  double hz;  // the true fundamental
  std::function<double(double hz, double t)> wave;
};

void PrintTo(const PitchCase& c, std::ostream* os) {
  *os << c.name;
}

class FundamentalEstimate : public ::testing::TestWithParam<PitchCase> {};

TEST_P(FundamentalEstimate, IsWithinAFewHundredthsOfAHertzFromOneSecond) {
  const PitchCase& c = GetParam();
  const auto signal = Make(1.0, c.rate, [&](double t) { return c.wave(c.hz, t); });
  EXPECT_NEAR(analysis::EstimateFundamental(signal, c.rate), c.hz, 0.05);
}

INSTANTIATE_TEST_SUITE_P(
    Signals, FundamentalEstimate,
    ::testing::Values(
        PitchCase{"Sine440", 44100, 440.0, [](double f, double t) { return 0.5 * Sine(f, t); }},
        PitchCase{"SineOffGrid", 48000, 437.31, [](double f, double t) { return Sine(f, t); }},
        PitchCase{"LowSine", 44100, 55.0, [](double f, double t) { return Sine(f, t); }},
        PitchCase{"HighSine", 44100, 3520.0, [](double f, double t) { return Sine(f, t); }},
        PitchCase{"Sawtooth", 44100, 440.0,
                  [](double f, double t) { return 2.0 * (f * t - std::floor(f * t + 0.5)); }},
        // The second harmonic dominates; the answer must still be the fundamental.
        PitchCase{"StrongSecondHarmonic", 44100, 220.0,
                  [](double f, double t) { return 0.2 * Sine(f, t) + 0.8 * Sine(2 * f, t + 0.1); }},
        PitchCase{"DecayingTone", 44100, 440.0,
                  [](double f, double t) { return std::exp(-2.0 * t) * Sine(f, t); }},
        PitchCase{"SineWithDc", 44100, 330.0,
                  [](double f, double t) { return 0.3 + 0.5 * Sine(f, t); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FundamentalEstimateFails, OnSignalsWithoutAPitch) {
  std::mt19937 random(1234);
  std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
  std::vector<float> white(44100);
  for (float& x : white) x = noise(random);
  EXPECT_EQ(analysis::EstimateFundamental(white, 44100), 0.0);
  EXPECT_EQ(analysis::EstimateFundamental(std::vector<float>(44100, 0.0f), 44100), 0.0);
  // Too short to hold the lowest period searched for.
  const auto brief = Make(0.01, 44100, [](double t) { return Sine(440, t); });
  EXPECT_EQ(analysis::EstimateFundamental(brief, 44100), 0.0);
}

TEST(LevelMeasures, PeakAndRmsOfKnownSignals) {
  const auto sine = Make(1.0, 48000, [](double t) { return 0.5 * Sine(100, t); });
  EXPECT_NEAR(analysis::Peak(sine), 0.5f, 1e-4f);
  EXPECT_NEAR(analysis::Rms(sine), 0.5 / std::sqrt(2.0), 1e-4);
  const std::vector<float> square = {0.25f, -0.25f, 0.25f, -0.25f};
  EXPECT_DOUBLE_EQ(analysis::Rms(square), 0.25);
  EXPECT_FLOAT_EQ(analysis::Peak(std::vector<float>{0.1f, -0.7f, 0.3f}), 0.7f);
  EXPECT_EQ(analysis::Rms({}), 0.0);
  EXPECT_EQ(analysis::Peak({}), 0.0f);
}

TEST(NumericHealth, FindsNonFiniteValuesAndSubnormals) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(analysis::HasNonFinite(std::vector<float>{0.0f, 1.0f, -FLT_MAX, FLT_MIN}));
  EXPECT_TRUE(analysis::HasNonFinite(std::vector<float>{0.0f, nan, 1.0f}));
  EXPECT_TRUE(analysis::HasNonFinite(std::vector<float>{-inf}));
  EXPECT_FLOAT_EQ(analysis::Peak(std::vector<float>{nan, 0.5f, nan}), 0.5f);

  const float tiny = FLT_MIN / 4.0f;  // subnormal
  const std::vector<float> mixed = {
      0.0f,    -0.0f,    tiny,   -tiny,
      FLT_MIN, -FLT_MIN, 1e-30f, std::numeric_limits<float>::denorm_min()};
  EXPECT_EQ(analysis::CountSubnormals(mixed), 3u);
}

}  // namespace
