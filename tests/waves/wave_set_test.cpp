// Wave sets measured: the level a tone plays, band limits per level, partials
// analysed back, cycles band-limited, new storage on every rebuild, shared
// built-ins and resizing.
#include "engine/oscillators/wave_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>
#include <utility>
#include <vector>

#include "wave_spectrum.h"

namespace {

constexpr int kN = WaveSet::kBuiltInLength;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double NoteHz(int level) {
  return 440.0 * std::pow(2.0, (level + 1 - 69) / 12.0);
}

// Distance between two angles, in [0, π].
double AngleApart(double a, double b) {
  return std::fabs(std::remainder(a - b, kTwoPi));
}

TEST(WaveSetLevels, TonesPickTheirLevelAndEachLevelStaysBelowNyquist) {
  WaveSet set;
  EXPECT_FLOAT_EQ(set.incrementScale(), 88200.0f / kN);
  for (auto [hz, level] : {std::pair{440.0f, 81}, std::pair{20.0f, 27}}) {
    const float step = hz * kN / 44100.0f;
    EXPECT_EQ(LevelForFrequencyIndex(static_cast<int>(set.incrementScale() * step)), level) << hz;
    EXPECT_EQ(LevelForStep(step, kN, 44100.0f, WaveSet::kLevels), level) << hz;
  }

  set.BuildFromPartials(0, std::vector<float>(256, 0.5f));  // harmonics 1 to 255
  set.BuildBuiltIn(1, WaveSet::kRamp);
  const WaveTables& t = *set.tables();
  ASSERT_EQ(t.length(), kN);
  ASSERT_EQ(t.levels(), WaveSet::kLevels);
  for (int level : {0, 30, 60, 81, 100, 115, 123}) {
    const std::vector<double> m = LaneSpectrum(t, level, 0);
    const int kept = std::min(255, static_cast<int>(std::floor(22050.0 / NoteHz(level))) - 1);
    double aboveNyquist = 0.0, low = 1.0, high = 0.0;
    for (int h = 1; h < kN / 2; ++h) {
      if (h * NoteHz(level) >= 22050.0) aboveNyquist = std::max(aboveNyquist, m[h]);
      if (h <= kept) low = std::min(low, m[h]), high = std::max(high, m[h]);
    }
    EXPECT_LT(aboveNyquist, 1e-4) << level;
    EXPECT_NEAR(low, 0.5, 1e-3) << level;
    EXPECT_NEAR(high, 0.5, 1e-3) << level;
  }
  // Above 11 kHz not even the fundamental of a user wave fits below Nyquist.
  for (int level = 124; level < 128; ++level) EXPECT_EQ(LanePeak(t, level, 0), 0.0f) << level;
  EXPECT_GT(LanePeak(t, 123, 0), 0.49f);

  // The built-in ramp reaches twice as high: three harmonics at the top.
  const std::vector<double> top = LaneSpectrum(t, 127, 1);
  EXPECT_NEAR(top[1], 1.0, 1e-4);
  EXPECT_NEAR(top[2], 0.5, 1e-4);
  EXPECT_NEAR(top[3], 1.0 / 3.0, 1e-4);
  EXPECT_LT(top[4], 1e-5);
  EXPECT_NEAR(LaneSpectrum(t, 0, 1)[2047], 1.0 / 2047.0, 1e-5);
}

TEST(WaveSetAnalysis, PartialsComeBackWithTheirAmplitudesAndPhases) {
  WaveSet set;
  std::vector<float> amplitudes(255, 0.0f), phases(255, 0.0f);
  amplitudes[0] = 0.3f, phases[0] = 6.2f;
  amplitudes[4] = 0.7f, phases[4] = 1.1f;
  amplitudes[99] = 0.05f;
  set.BuildFromPartials(2, amplitudes, phases);
  // Harmonic h is a · sin(2πhk/N + φ).
  const int k = 123;
  const double expected = 0.3 * std::sin(kTwoPi * k / kN + 6.2) +
                          0.7 * std::sin(kTwoPi * 5 * k / kN + 1.1) +
                          0.05 * std::sin(kTwoPi * 100 * k / kN);
  EXPECT_NEAR(set.tables()->level(0)[4 * k + 2], expected, 1e-5);

  std::vector<float> a(255), p(255);
  set.AnalyseLane(2, a, p);
  EXPECT_NEAR(a[0], 0.3f, 1e-5);
  EXPECT_NEAR(a[4], 0.7f, 1e-5);
  EXPECT_NEAR(a[99], 0.05f, 1e-5);
  EXPECT_LT(AngleApart(p[0], 6.2), 1e-4);
  EXPECT_LT(AngleApart(p[4], 1.1), 1e-4);
  EXPECT_LT(AngleApart(p[99], 0.0), 1e-3);
  float others = 0.0f;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (i != 0 && i != 4 && i != 99) others = std::max(others, a[i]);
    EXPECT_GE(p[i], 0.0f);
    EXPECT_LT(p[i], static_cast<float>(kTwoPi));
  }
  EXPECT_LT(others, 1e-5f);

  // A lone partial of amplitude a is a sinusoid of peak a.
  set.BuildFromPartials(3, std::vector<float>{0.0f, 0.0f, 0.9f, 0.0f});
  EXPECT_NEAR(LanePeak(*set.tables(), 0, 3), 0.9f, 1e-4);
  set.AnalyseLane(3, a, p);
  EXPECT_NEAR(a[2], 0.9f, 1e-5);
  EXPECT_LT(AngleApart(p[2], 0.0), 1e-4);

  // Harmonic h comes from entry h - 1 and must lie below the entry count: of
  // 256 entries 255 sound, of 255 only 254.
  std::vector<float> flat(256, 0.1f);
  set.BuildFromPartials(0, flat);
  set.AnalyseLane(0, a, p);
  EXPECT_NEAR(a[254], 0.1f, 1e-5);
  set.BuildFromPartials(0, std::span(flat).first(255));
  set.AnalyseLane(0, a, p);
  EXPECT_NEAR(a[253], 0.1f, 1e-5);
  EXPECT_LT(a[254], 1e-5f);
  set.AnalyseLane(2, a, p);  // the other lanes came along
  EXPECT_NEAR(a[4], 0.7f, 1e-5);
}

TEST(WaveSetSamples, ACycleIsBandLimitedPerLevelAndCapped) {
  // A naive ramp with an offset: every harmonic up to Nyquist, and a mean.
  std::vector<float> cycle(kN);
  for (int k = 0; k < kN; ++k)
    cycle[static_cast<std::size_t>(k)] = 0.25f + 0.5f * (1.0f - 2.0f * k / kN);
  const std::vector<double> source = CycleSpectrum(cycle);
  WaveSet set;
  ASSERT_TRUE(set.BuildFromSamples(1, cycle));
  EXPECT_EQ(set.kind(1), WaveSet::kUser);
  auto compare = [&](int level, int limit) {
    const std::vector<double> m = LaneSpectrum(*set.tables(), level, 1);
    double kept = 0.0, cut = 0.0;
    for (int h = 0; h < kN / 2; ++h) {
      if (h < limit)
        kept = std::max(kept, std::fabs(m[h] - source[h]));
      else
        cut = std::max(cut, m[h]);
    }
    EXPECT_LT(kept, 1e-5) << level;
    EXPECT_LT(cut, 1e-5) << level;
  };
  for (int level : {0, 50, 90, 120}) {
    compare(level, static_cast<int>(std::floor(std::min(2047.0, 22050.0 / NoteHz(level)))));
  }
  ASSERT_TRUE(set.BuildFromSamples(1, cycle, WaveSet::kEditorCap));
  compare(0, 256);

  // A cycle that is already band-limited is kept sample for sample, so a
  // stored wave reads back exactly.
  const std::vector<float> smooth = LaneCycle(*set.tables(), 0, 1);
  ASSERT_TRUE(set.BuildFromSamples(3, smooth));
  EXPECT_EQ(LaneCycle(*set.tables(), 0, 3), smooth);

  // A cycle that is not a power of two long changes nothing.
  const WaveTables* before = set.tables();
  EXPECT_FALSE(set.BuildFromSamples(0, std::vector<float>(1000, 0.5f)));
  EXPECT_FALSE(set.BuildFromSamples(0, std::vector<float>()));
  EXPECT_EQ(set.tables(), before);
  EXPECT_EQ(set.kind(0), WaveSet::kSilence);
}

TEST(WaveSetStorage, RebuildsPublishNewTablesBuiltInsAreSharedAndResizeKeepsTheWaves) {
  const std::array<WaveSet::Kind, 4> reset{WaveSet::kRamp, WaveSet::kSilence, WaveSet::kSquare,
                                           WaveSet::kSilence};
  WaveSet a, b, keep;
  a.BuildBuiltIns(reset);
  b.BuildBuiltIns(reset);
  keep.BuildBuiltIns(reset);
  const WaveTables* shared = keep.tables();
  EXPECT_EQ(a.tables(), shared);  // one copy of the reset waves for every layer
  EXPECT_EQ(b.tables(), shared);
  b.BuildBuiltIn(3, WaveSet::kSine);
  EXPECT_NE(b.tables(), shared);
  EXPECT_NEAR(b.tables()->level(127)[4 * (kN / 4) + 3], 1.0f, 1e-6f);  // a quarter cycle in
  EXPECT_EQ(a.kind(3), WaveSet::kSilence);

  a.BuildFromPartials(1, std::vector<float>{0.5f, 0.0f});
  EXPECT_NE(a.tables(), shared);  // new storage: a playing voice never sees a half-built table
  EXPECT_EQ(LaneCycle(*a.tables(), 60, 0), LaneCycle(*shared, 60, 0));
  EXPECT_EQ(LaneCycle(*a.tables(), 60, 2), LaneCycle(*shared, 60, 2));
  const std::vector<double> square = LaneSpectrum(*a.tables(), 60, 2);
  EXPECT_NEAR(square[3], 1.0 / 3.0, 1e-4);
  EXPECT_LT(square[2], 1e-5);

  const WaveTables* before = a.tables();
  a.BuildBuiltIn(0, WaveSet::kUser);  // not a built-in shape: ignored
  EXPECT_TRUE(a.Resize(kN, WaveSet::kLevels));
  EXPECT_FALSE(a.Resize(1000, 128));
  EXPECT_FALSE(a.Resize(2048, 0));
  EXPECT_FALSE(a.Resize(131072, 128));
  EXPECT_EQ(a.tables(), before);

  ASSERT_TRUE(a.Resize(2048, 64));
  EXPECT_EQ(a.length(), 2048);
  EXPECT_EQ(a.levelCount(), 64);
  EXPECT_EQ(a.binCount(), 1024);
  EXPECT_FLOAT_EQ(a.incrementScale(), 88200.0f / 2048.0f);
  ASSERT_EQ(a.tables()->length(), 2048);
  ASSERT_EQ(a.tables()->levels(), 64);
  EXPECT_NEAR(LaneSpectrum(*a.tables(), 0, 0)[1023], 1.0 / 1023.0, 1e-5);  // the ramp, made again
  std::vector<float> amplitude(3), phase(3);
  a.AnalyseLane(1, amplitude, phase);  // the user wave, carried over
  EXPECT_NEAR(amplitude[0], 0.5f, 1e-5);
  EXPECT_LT(amplitude[1], 1e-5f);
  EXPECT_EQ(a.kind(1), WaveSet::kUser);
}

}  // namespace
