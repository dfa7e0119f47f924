// The stereo filter measured: quality factors, responses, ramps, the
// modulation path, rate changes and silence.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "engine/filter/stereo_filter.h"
#include "support/audio_analysis.h"

namespace {

constexpr float kRate = 44100.0f;

std::vector<float> Sine(float frequency, int frames) {
  std::vector<float> s(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    s[static_cast<std::size_t>(i)] =
        static_cast<float>(std::sin(2.0 * std::numbers::pi * frequency * i / kRate));
  }
  return s;
}

// Gain in dB of a sine through the filter, measured after it has settled.
double GainDb(StereoFilter& f, float frequency) {
  const int frames = 16384;
  std::vector<float> in = Sine(frequency, frames), l(in.size()), r(in.size());
  f.ClearState();
  for (int done = 0; done < frames; done += 512) {
    f.Process(in.data() + done, in.data() + done, l.data() + done, r.data() + done, 512);
  }
  const std::span<const float> tail(l.data() + 8192, 8192);
  const std::span<const float> reference(in.data() + 8192, 8192);
  return 20.0 * std::log10(analysis::Rms(tail) / analysis::Rms(reference));
}

std::unique_ptr<StereoFilter> MakeFilter(int type, float cutoff, float resonance) {
  auto f = std::make_unique<StereoFilter>();
  f->SetSampleRate(kRate);
  f->enabled().SetValue(1.0f);
  f->type().SetValue(static_cast<float>(type));
  f->resonance().SetValue(resonance);
  f->cutoff().SetValue(cutoff);
  float l[64] = {}, r[64] = {};
  f->Process(l, r, l, r, 64);  // settle the cutoff ramp
  return f;
}

// Resonance giving q = 1/sqrt(2): a flat two-pole response.
const float kButterworth = static_cast<float>(std::sqrt(150.0 / std::numbers::sqrt2) / 1.5);

TEST(StereoFilter, QualityFollowsResonanceWithLowCutoffDamping) {
  StereoFilter f;
  EXPECT_FLOAT_EQ(f.Quality(1000.0f, 10.0f), 1.5f);
  EXPECT_NEAR(f.Quality(1000.0f, 0.01f), 0.0000015f, 1e-12);
  EXPECT_FLOAT_EQ(f.Quality(40.0f, 10.0f), 0.375f);
  EXPECT_FLOAT_EQ(f.Quality(20.0f, 10.0f), 0.1f);
  f.SetLowCutoffDamping(false);
  EXPECT_FLOAT_EQ(f.Quality(20.0f, 10.0f), 1.5f);
}

TEST(StereoFilter, ResponsesHaveTheirTwoPoleSlopes) {
  auto low = MakeFilter(StereoFilter::kLowPass, 1000.0f, kButterworth);
  EXPECT_NEAR(GainDb(*low, 250.0f), 0.0, 0.3);
  EXPECT_NEAR(GainDb(*low, 1000.0f), -3.0, 0.5);
  EXPECT_NEAR(GainDb(*low, 4000.0f), -24.0, 1.5);  // 12 dB per octave
  EXPECT_NEAR(GainDb(*low, 8000.0f), -38.0, 1.0);  // steeper near Nyquist

  auto high = MakeFilter(StereoFilter::kHighPass, 1000.0f, kButterworth);
  EXPECT_NEAR(GainDb(*high, 4000.0f), 0.0, 0.3);
  EXPECT_NEAR(GainDb(*high, 250.0f), -24.0, 1.5);

  auto band = MakeFilter(StereoFilter::kBandPass, 1000.0f, 20.0f);
  // The band-pass peaks at its quality factor: q = (1.5 x 20)^2 / 150 = 6.
  const double peak = GainDb(*band, 1000.0f);
  EXPECT_NEAR(peak, 20.0 * std::log10(6.0), 0.3);
  EXPECT_LT(GainDb(*band, 250.0f), peak - 20.0);
  EXPECT_LT(GainDb(*band, 4000.0f), peak - 20.0);
}

TEST(StereoFilter, SwitchedOffCopiesUnchangedAlsoInPlace) {
  StereoFilter f;
  std::vector<float> in = Sine(300.0f, 100), l(100), r(100);
  f.Process(in.data(), in.data(), l.data(), r.data(), 100);
  EXPECT_EQ(l, in);
  std::vector<float> io = in;
  f.Process(io.data(), io.data(), io.data(), io.data(), 100);
  EXPECT_EQ(io, in);
}

TEST(StereoFilter, CutoffChangesGlideInChunksAndArrive) {
  auto f = MakeFilter(StereoFilter::kLowPass, 500.0f, 10.0f);
  f->cutoff().SetValue(4500.0f);
  std::vector<float> in = Sine(3000.0f, 512), l(512), r(512);
  f->Process(in.data(), in.data(), l.data(), r.data(), 512);
  EXPECT_FLOAT_EQ(f->currentCutoff(), 4500.0f);
  // The glide shows as a rising level of the 3 kHz tone across the block.
  const double early = analysis::Rms(std::span<const float>(l.data() + 32, 96));
  const double late = analysis::Rms(std::span<const float>(l.data() + 400, 96));
  EXPECT_GT(late, 4.0 * early);
  // A short block (as the voices give) takes the new cutoff at once.
  f->cutoff().SetValue(800.0f);
  f->Process(in.data(), in.data(), l.data(), r.data(), 32);
  EXPECT_FLOAT_EQ(f->currentCutoff(), 800.0f);
}

TEST(StereoFilter, ModulatedCutoffMovesByHalfTheModulationAboveDouble) {
  // With modulation value 0 the filter runs at twice its cutoff.
  auto modulated = MakeFilter(StereoFilter::kLowPass, 1000.0f, kButterworth);
  modulated->cutoff().modulationInput().buffer.fill(0.0f);
  modulated->cutoff().modulationInput().active = true;
  auto reference = MakeFilter(StereoFilter::kLowPass, 2000.0f, kButterworth);
  EXPECT_NEAR(GainDb(*modulated, 4000.0f), GainDb(*reference, 4000.0f), 0.1);
  modulated->cutoff().modulationInput().buffer.fill(-2.0f);  // c + 0 x c: the cutoff itself
  auto plain = MakeFilter(StereoFilter::kLowPass, 1000.0f, kButterworth);
  EXPECT_NEAR(GainDb(*modulated, 4000.0f), GainDb(*plain, 4000.0f), 0.1);
}

TEST(StereoFilter, SampleRateChangeMovesTheRangeAndKeepsTheCutoff) {
  auto f = MakeFilter(StereoFilter::kLowPass, 21000.0f, 7.0f);
  f->SetSampleRate(48000.0f);
  EXPECT_FLOAT_EQ(f->cutoff().GetMinimum(), 20.0f);
  EXPECT_FLOAT_EQ(f->cutoff().GetMaximum(), 23950.0f);
  EXPECT_FLOAT_EQ(f->cutoff().GetValue(), 21000.0f);
  f->SetSampleRate(22050.0f);
  EXPECT_FLOAT_EQ(f->cutoff().GetValue(), 10975.0f);
  EXPECT_FLOAT_EQ(f->currentCutoff(), 10975.0f);
}

TEST(StereoFilter, SilenceAfterSoundNeverTurnsSubnormal) {
  for (int type : {0, 1, 2}) {
    auto f = MakeFilter(type, 60.0f, 70.0f);
    std::vector<float> in = Sine(60.0f, 4410), l(4410), r(4410);
    f->Process(in.data(), in.data(), l.data(), r.data(), 4410);
    std::vector<float> zeros(8192, 0.0f), out(8192);
    for (int block = 0; block < 200; ++block) {
      f->Process(zeros.data(), zeros.data(), out.data(), out.data(), 8192);
      ASSERT_EQ(analysis::CountSubnormals(out), 0u) << "type " << type << " block " << block;
      ASSERT_FALSE(analysis::HasNonFinite(out));
    }
  }
}

}  // namespace
