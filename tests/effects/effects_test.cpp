// The three effects measured: echo times, comb lengths, curve gain and
// stability.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "engine/effects/delay_effect.h"
#include "engine/effects/distortion_effect.h"
#include "engine/effects/reverb_effect.h"
#include "support/audio_analysis.h"

namespace {

// Frames at which the output holds more than half the impulse's echo level.
std::vector<int> EchoFrames(const std::vector<float>& out, float threshold) {
  std::vector<int> frames;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (std::fabs(out[i]) > threshold) frames.push_back(static_cast<int>(i));
  }
  return frames;
}

struct DelayRun {
  std::vector<float> left, right;
};

// An impulse into the left input; the echoes come out of the right side.
DelayRun RunDelay(DelayEffect& d, int frames) {
  std::vector<float> inL(static_cast<std::size_t>(frames), 0.0f), inR(inL.size(), 0.0f);
  DelayRun run{std::vector<float>(inL.size(), 0.0f), std::vector<float>(inL.size(), 0.0f)};
  inL[0] = 1.0f;
  for (int done = 0; done < frames; done += 8192) {
    const int n = std::min(8192, frames - done);
    d.Process(inL.data() + done, inR.data() + done, run.left.data() + done, run.right.data() + done, n);
  }
  return run;
}

std::unique_ptr<DelayEffect> MakeDelay(float rate, float time, bool sync) {
  auto d = std::make_unique<DelayEffect>();
  d->SetSampleRate(rate);
  d->enabled().SetValue(1.0f);
  d->syncToHost().SetValue(sync ? 1.0f : 0.0f);
  d->time().SetValue(time);
  d->feedback().SetValue(0.5f);
  d->mix().SetValue(1.0f);
  return d;
}

TEST(DelayEffect, EchoesRecurAtTheirLengths) {
  auto slow = MakeDelay(44100.0f, 0.0f, false);
  EXPECT_EQ(slow->length(), 88200);
  const DelayRun run = RunDelay(*slow, 88200 * 2 + 10);
  EXPECT_EQ(EchoFrames(run.right, 0.2f), (std::vector<int>{88199, 88199 + 88200}));
  EXPECT_NEAR(run.right[88199 + 88200], 0.5f, 1e-6);  // one pass of feedback
  EXPECT_TRUE(EchoFrames(run.left, 0.2f).empty());  // cross-fed: left in, right out

  auto fast = MakeDelay(44100.0f, 4.0f, false);
  EXPECT_EQ(fast->length(), 3528);
  EXPECT_EQ(EchoFrames(RunDelay(*fast, 4000).right, 0.2f), (std::vector<int>{3527}));

  auto synced = MakeDelay(44100.0f, 1.0f, true);  // 120 BPM: one beat
  EXPECT_EQ(synced->length(), 22050);
  EXPECT_TRUE(synced->time().IsInteger());
  synced->SetTempo(60.0f);
  EXPECT_EQ(synced->length(), 44100);
}

TEST(DelayEffect, StereoModeHalvesTheOtherSide) {
  auto d = MakeDelay(44100.0f, 4.0f, false);
  d->stereo().SetValue(1.0f);
  std::vector<float> inL(4000, 0.0f), inR(4000, 0.0f), outL(4000, 0.0f), outR(4000, 0.0f);
  inR[0] = 1.0f;  // right in comes out left, after half the length
  d->Process(inL.data(), inR.data(), outL.data(), outR.data(), 4000);
  EXPECT_EQ(EchoFrames(outL, 0.2f), (std::vector<int>{1764}));
}

TEST(DelayEffect, KeepsItsTimeAtANewSampleRateAndAddsToTheOutput) {
  auto d = MakeDelay(44100.0f, 0.0f, false);
  d->SetSampleRate(48000.0f);
  EXPECT_EQ(d->length(), 96000);  // still two seconds
  std::vector<float> in(64, 0.0f), out(64, 0.25f);
  d->Process(in.data(), in.data(), out.data(), out.data(), 64);
  EXPECT_NEAR(out[10], 0.25f, 1e-6);
}

TEST(ReverbEffect, LengthsLevelsAndDecay) {
  ReverbEffect r;
  r.enabled().SetValue(1.0f);
  r.size().SetValue(1.0f);
  r.time().SetValue(1.0f);
  EXPECT_EQ(r.lineLength(0), 4120);
  EXPECT_EQ(r.lineLength(3), 4934);
  EXPECT_FLOAT_EQ(r.feedbackFactor(), 0.98f);

  // Mix 0: the output is the input.
  r.mix().SetValue(0.0f);
  std::vector<float> in(2048), outL(2048), outR(2048);
  for (std::size_t i = 0; i < in.size(); ++i) in[i] = std::sin(0.01f * static_cast<float>(i));
  r.Process(in.data(), in.data(), outL.data(), outR.data(), 2048);
  EXPECT_EQ(outL, in);

  // Wet: a burst rings on and then dies away to silence without subnormals.
  r.mix().SetValue(1.0f);
  r.time().SetValue(0.5f);
  r.Process(in.data(), in.data(), outL.data(), outR.data(), 2048);
  std::vector<float> zeros(8192, 0.0f), l(8192), rr(8192);
  r.Process(zeros.data(), zeros.data(), l.data(), rr.data(), 8192);
  EXPECT_GT(analysis::Rms(l), 1e-3);
  EXPECT_GT(analysis::Rms(rr), 1e-3);
  for (int block = 0; block < 400; ++block) {
    r.Process(zeros.data(), zeros.data(), l.data(), rr.data(), 8192);
    ASSERT_EQ(analysis::CountSubnormals(l) + analysis::CountSubnormals(rr), 0u) << block;
  }
  EXPECT_LT(analysis::Peak(l), 1e-6f);
}

TEST(DistortionEffect, CleanCurvePassesTheSignalWithItsGain) {
  ZDistortionEffect d;
  d.SetSampleRate(44100.0f);
  d.enabled().SetValue(1.0f);
  d.crunch().SetValue(0.0f);
  d.drive().SetValue(1.0f);
  d.output().SetValue(0.5f);
  EXPECT_FLOAT_EQ(d.Shape(0.1f), 0.1f * 3.9375f * 0.5f);
  std::vector<float> in(8192), l(8192), r(8192);
  for (std::size_t i = 0; i < in.size(); ++i) {
    in[i] = 0.1f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 440.0 * i / 44100.0));
  }
  d.Process(in.data(), in.data(), l.data(), r.data(), 8192);
  d.Process(in.data(), in.data(), l.data(), r.data(), 8192);
  const double gain = analysis::Rms(std::span<const float>(l).subspan(1024)) /
                      analysis::Rms(std::span<const float>(in).subspan(1024));
  // The two-pole resampling filters let a little of the stuffed images
  // back in, so the level lands near, not on, the curve's gain.
  EXPECT_NEAR(gain, 3.9375 * 0.5, 0.4);
  d.output().SetValue(1.0f);  // and it scales with the output level
  d.Process(in.data(), in.data(), l.data(), r.data(), 8192);
  const double louder = analysis::Rms(std::span<const float>(l).subspan(1024)) /
                        analysis::Rms(std::span<const float>(in).subspan(1024));
  EXPECT_NEAR(louder / gain, 2.0, 0.01);
}

TEST(DistortionEffect, CrunchBendsThePositiveSideHarderAndStaysFinite) {
  ZDistortionEffect d;
  d.crunch().SetValue(0.8f);
  EXPECT_LT(d.Shape(3.0f), -d.Shape(-3.0f));  // the positive side saturates lower
  EXPECT_LT(d.Shape(2.0f) / d.Shape(1.0f), 1.5f);  // compressing
  for (float crunch : {0.0f, 0.3f, 1.0f}) {
    d.crunch().SetValue(crunch);
    d.drive().SetValue(3.0f);
    for (float x : {-100.0f, -11.0f, -3.7f, 0.0f, 3.7f, 100.0f}) {
      const float y = d.Shape(x);
      EXPECT_TRUE(std::isfinite(y)) << crunch << " " << x;
      EXPECT_EQ(y < 0.0f, x < 0.0f) << crunch << " " << x;
    }
  }
}

}  // namespace
