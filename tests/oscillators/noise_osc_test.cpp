// The noise oscillator measured: level, pan and whiteness, the shared table's
// lifetime, and a read position that carries on from block to block.
#include "engine/oscillators/noise_osc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "support/audio_analysis.h"

namespace {

void Fill(ZNoiseOsc& osc, int frames, float amplitude, float pan) {
  osc.amplitude().Clear();
  osc.pan().Clear();
  osc.amplitude().Append(0.0f, amplitude);
  osc.amplitude().Append(static_cast<float>(frames), amplitude);
  osc.pan().Append(0.0f, pan);
  osc.pan().Append(static_cast<float>(frames), pan);
}

struct Stereo {
  std::vector<float> left, right;
  explicit Stereo(int frames) : left(static_cast<std::size_t>(frames)), right(left) {}
};

void Play(ZNoiseOsc& osc, float amplitude, float pan, Stereo& out, int block) {
  const int frames = static_cast<int>(out.left.size());
  for (int done = 0; done < frames; done += block) {
    const int n = std::min(block, frames - done);
    Fill(osc, n, amplitude, pan);
    osc.Process(nullptr, nullptr, out.left.data() + done, out.right.data() + done, n);
  }
}

double LagOneCorrelation(const std::vector<float>& x) {
  double xy = 0.0, xx = 0.0;
  for (std::size_t i = 1; i < x.size(); ++i) {
    xy += double{x[i]} * x[i - 1];
    xx += double{x[i]} * x[i];
  }
  return xy / xx;
}

TEST(NoiseOsc, LevelPanAndWhiteness) {
  ZNoiseOsc osc;
  Stereo centre(44100);
  Play(osc, 0.5f, 0.0f, centre, 512);
  EXPECT_FALSE(analysis::HasNonFinite(centre.left));
  EXPECT_EQ(centre.left, centre.right);
  // Uniform noise over [-1, 1] has an RMS of 1/sqrt(3); each side gets half.
  EXPECT_NEAR(analysis::Rms(centre.left), 0.25 / std::sqrt(3.0), 0.003);
  EXPECT_LE(analysis::Peak(centre.left), 0.25f);
  EXPECT_GT(analysis::Peak(centre.left), 0.24f);
  EXPECT_LT(std::fabs(LagOneCorrelation(centre.left)), 0.02);

  Stereo left(8192), right(8192);
  Play(osc, 1.0f, -1.0f, left, 512);
  Play(osc, 1.0f, 1.0f, right, 512);
  EXPECT_EQ(analysis::Peak(left.right), 0.0f);
  EXPECT_EQ(analysis::Peak(right.left), 0.0f);
  EXPECT_NEAR(analysis::Rms(left.left), 1.0 / std::sqrt(3.0), 0.02);
  EXPECT_NEAR(analysis::Rms(right.right), 1.0 / std::sqrt(3.0), 0.02);

  // The level is held within a run and steps at a breakpoint; a segment
  // starting below zero is silent; fewer than two points play nothing.
  const int start = osc.readIndex();
  Stereo steps(600);
  osc.amplitude().Clear();
  osc.amplitude().Append(0.0f, 0.2f);
  osc.amplitude().Append(200.0f, 0.6f);
  osc.amplitude().Append(400.0f, -0.3f);
  osc.amplitude().Append(600.0f, 1.0f);
  osc.pan().Clear();
  osc.pan().Append(0.0f, 1.0f);
  osc.pan().Append(600.0f, 1.0f);
  osc.Process(nullptr, nullptr, steps.left.data(), steps.right.data(), 600);
  for (int i = 0; i < 600; ++i) {
    const float x = osc.table()[start + i];
    const float expected = i < 200 ? 0.2f : i < 400 ? 0.6f : 0.0f;
    ASSERT_NEAR(steps.right[static_cast<std::size_t>(i)], expected * x, 1e-6f) << i;
  }
  Stereo nothing(64);
  osc.amplitude().Clear();
  osc.amplitude().Append(0.0f, 1.0f);
  osc.Process(nullptr, nullptr, nothing.left.data(), nothing.right.data(), 64);
  EXPECT_EQ(analysis::Peak(nothing.left), 0.0f);
}

TEST(NoiseOsc, SharedTableLivesFromFirstToLastInstance) {
  EXPECT_EQ(ZNoiseOsc::InstanceCount(), 0);
  EXPECT_EQ(ZNoiseOsc::SharedTable(), nullptr);
  {
    ZNoiseOsc a;
    auto b = std::make_unique<ZNoiseOsc>();
    EXPECT_EQ(ZNoiseOsc::InstanceCount(), 2);
    EXPECT_EQ(a.table(), b->table());
    EXPECT_EQ(a.table(), ZNoiseOsc::SharedTable());

    // Same voice, same start: the same noise, differing only in level and pan.
    Stereo sa(1000), sb(1000);
    Play(a, 1.0f, 0.0f, sa, 256);
    Play(*b, 0.25f, -1.0f, sb, 256);
    for (std::size_t i = 0; i < sa.left.size(); ++i) ASSERT_FLOAT_EQ(sb.left[i], 0.5f * sa.left[i]);

    b.reset();
    EXPECT_EQ(ZNoiseOsc::InstanceCount(), 1);
    EXPECT_EQ(ZNoiseOsc::SharedTable(), a.table());
  }
  EXPECT_EQ(ZNoiseOsc::InstanceCount(), 0);
  EXPECT_EQ(ZNoiseOsc::SharedTable(), nullptr);
  {
    ZNoiseOsc again;
    EXPECT_NE(again.table(), nullptr);
    EXPECT_EQ(ZNoiseOsc::InstanceCount(), 1);
  }

  // Voices come and go on two threads at once.
  auto churn = [] {
    for (int i = 0; i < 40; ++i) {
      ZNoiseOsc first;
      auto second = std::make_unique<ZNoiseOsc>();
      Stereo out(64);
      Play(*second, 1.0f, 0.0f, out, 64);
      EXPECT_FALSE(analysis::HasNonFinite(out.left));
    }
  };
  std::thread one(churn), two(churn);
  one.join();
  two.join();
  EXPECT_EQ(ZNoiseOsc::InstanceCount(), 0);
  EXPECT_EQ(ZNoiseOsc::SharedTable(), nullptr);
}

TEST(NoiseOsc, ReadPositionCarriesAcrossBlocksAndWraps) {
  ZNoiseOsc blocks, single;
  Stereo a(1000), b(1000);
  Play(blocks, 1.0f, 0.0f, a, 96);
  Play(single, 1.0f, 0.0f, b, 1000);
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(blocks.readIndex(), 1000);
  EXPECT_EQ(single.readIndex(), 1000);

  // After a whole table the noise repeats, also when the wrap falls mid-block.
  ZNoiseOsc osc;
  const int frames = ZNoiseOsc::kTableSize + 1500;
  Stereo out(frames);
  Play(osc, 1.0f, 0.0f, out, 500);
  for (std::size_t i = 0; i < 1500; ++i) {
    ASSERT_EQ(out.left[i + ZNoiseOsc::kTableSize], out.left[i]) << i;
  }
  EXPECT_EQ(osc.readIndex(), 1500);
}

}  // namespace
