// Built-in shapes in a wave set: band limits per level, lanes kept apart,
// tables replaced rather than rewritten.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/oscillators/wave_set.h"

namespace {

// Magnitudes of harmonics 1..count of one lane of a table.
std::vector<double> Harmonics(const WaveTables& t, int level, int lane, int count) {
  const int n = t.length();
  std::vector<double> magnitudes;
  for (int h = 1; h <= count; ++h) {
    double re = 0.0, im = 0.0;
    for (int k = 0; k < n; ++k) {
      const double x = t.level(level)[4 * k + lane];
      re += x * std::cos(2.0 * M_PI * h * k / n);
      im += x * std::sin(2.0 * M_PI * h * k / n);
    }
    magnitudes.push_back(2.0 * std::hypot(re, im) / n);
  }
  return magnitudes;
}

TEST(WaveSetBuiltIns, RampKeepsItsPartialsUpToTheLevelsLimit) {
  WaveSet set;
  set.SetBuiltIn(0, WaveSet::kRamp);
  const WaveTables* t = set.tables();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->length(), 4096);
  EXPECT_EQ(t->levels(), 128);
  // Table 127 (about 13.3 kHz): three harmonics of 1/h, nothing above.
  const std::vector<double> top = Harmonics(*t, 127, 0, 6);
  EXPECT_NEAR(top[0], 1.0, 1e-3);
  EXPECT_NEAR(top[1], 0.5, 1e-3);
  EXPECT_NEAR(top[2], 1.0 / 3.0, 1e-3);
  EXPECT_LT(top[3], 1e-4);
  // A low table keeps many more.
  const std::vector<double> low = Harmonics(*t, 40, 0, 20);
  EXPECT_NEAR(low[19], 1.0 / 20.0, 1e-3);
}

TEST(WaveSetBuiltIns, SquareIsOddAndLanesStayApart) {
  WaveSet set;
  set.SetBuiltIn(0, WaveSet::kRamp);
  const WaveTables* before = set.tables();
  set.SetBuiltIn(2, WaveSet::kSquare);
  const WaveTables* t = set.tables();
  EXPECT_NE(t, before);  // new storage: a playing voice never sees a half-built table
  const std::vector<double> square = Harmonics(*t, 60, 2, 5);
  EXPECT_NEAR(square[0], 1.0, 1e-3);
  EXPECT_LT(square[1], 1e-4);
  EXPECT_NEAR(square[2], 1.0 / 3.0, 1e-3);
  EXPECT_NEAR(Harmonics(*t, 60, 0, 2)[1], 0.5, 1e-3);  // the ramp lane came along
  for (int k = 0; k < 4096; k += 97) EXPECT_EQ(t->level(10)[4 * k + 1], 0.0f);  // untouched lane
  EXPECT_EQ(set.kind(2), WaveSet::kSquare);
  set.SetBuiltIn(1, WaveSet::kSine);
  EXPECT_NEAR(set.tables()->level(127)[4 * 1024 + 1], 1.0f, 1e-6);  // a quarter cycle in
}

}  // namespace
