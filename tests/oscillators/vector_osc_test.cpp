// The vector oscillator measured: corner weights and pan, per-cycle mixing,
// silent runs, summing into the buffers, pitch, aliasing of high notes and
// steps far beyond the sample rate.
#include "engine/oscillators/vector_osc.h"

#include <fftw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <numbers>
#include <span>
#include <vector>

#include "engine/oscillators/wave_set.h"
#include "support/audio_analysis.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr int kLength = 4096;
constexpr int kBlock = 512;

using Partial = std::function<double(int harmonic)>;  // amplitude of a sine partial

const Partial kRamp = [](int h) { return 2.0 / std::numbers::pi / h; };
Partial Harmonic(int k) {
  return [k](int h) { return h == k ? 1.0 : 0.0; };
}

// Levels of band-limited waves as the oscillator expects them: level j keeps
// the partials below 22050 Hz for MIDI note j + 1.
std::unique_ptr<WaveTables> BandLimited(const std::array<Partial, 4>& lanes) {
  auto tables = std::make_unique<WaveTables>(kLength, WaveSet::kLevels);
  std::vector<float> wave(kLength);
  fftwf_complex* bins = fftwf_alloc_complex(kLength / 2 + 1);
  fftwf_plan plan = fftwf_plan_dft_c2r_1d(kLength, bins, wave.data(), FFTW_ESTIMATE);
  for (int level = 0; level < tables->levels(); ++level) {
    const double note = 440.0 * std::pow(2.0, (level + 1 - 69) / 12.0);
    for (int lane = 0; lane < 4; ++lane) {
      for (int h = 0; h <= kLength / 2; ++h) {
        const bool kept = h > 0 && h < kLength / 2 && h * note < 22050.0;
        bins[h][0] = 0.0f;
        bins[h][1] =
            kept ? static_cast<float>(-0.5 * lanes[static_cast<std::size_t>(lane)](h)) : 0.0f;
      }
      fftwf_execute(plan);
      float* out = tables->mutableLevel(level);
      for (int i = 0; i < kLength; ++i) out[4 * i + lane] = wave[static_cast<std::size_t>(i)];
    }
  }
  fftwf_destroy_plan(plan);
  fftwf_free(bins);
  return tables;
}

struct Voice {
  std::array<float, 4> weights{1.0f, 0.0f, 0.0f, 0.0f};
  float amplitude = 1.0f;
  float hz = 440.0f;
  float pan = 0.0f;
};

// Fills the lists as the voice does: values at the block start and end.
void Fill(VectorOsc& osc, int frames, const Voice& from, const Voice& to) {
  osc.weights().Clear();
  osc.amplitude().Clear();
  osc.frequency().Clear();
  osc.pan().Clear();
  const Voice* ends[2] = {&from, &to};
  for (int e = 0; e < 2; ++e) {
    const float t = e == 0 ? 0.0f : static_cast<float>(frames);
    std::ranges::copy(ends[e]->weights, osc.weights().Append(t).values.begin());
    osc.amplitude().Append(t, ends[e]->amplitude);
    osc.frequency().Append(t, ends[e]->hz);
    osc.pan().Append(t, ends[e]->pan);
  }
}

struct Stereo {
  std::vector<float> left, right;
  explicit Stereo(int frames, float fill = 0.0f)
      : left(static_cast<std::size_t>(frames), fill),
        right(static_cast<std::size_t>(frames), fill) {}
};

// Adds frames of a steady voice in blocks.
void Play(VectorOsc& osc, const Voice& v, Stereo& out, int block = kBlock) {
  const int frames = static_cast<int>(out.left.size());
  for (int done = 0; done < frames; done += block) {
    const int n = std::min(block, frames - done);
    Fill(osc, n, v, v);
    osc.Process(nullptr, nullptr, out.left.data() + done, out.right.data() + done, n);
  }
}

// Magnitude spectrum in dB under a four-term Blackman-Harris window (side
// lobes below -92 dB), one value per bin up to half the rate.
std::vector<double> SpectrumDb(std::span<const float> x) {
  const int n = static_cast<int>(x.size());
  std::vector<float> in(x.size());
  for (int i = 0; i < n; ++i) {
    const double t = 2.0 * std::numbers::pi * i / n;
    const double w =
        0.35875 - 0.48829 * std::cos(t) + 0.14128 * std::cos(2 * t) - 0.01168 * std::cos(3 * t);
    in[static_cast<std::size_t>(i)] = static_cast<float>(w * x[static_cast<std::size_t>(i)]);
  }
  fftwf_complex* bins = fftwf_alloc_complex(static_cast<std::size_t>(n / 2 + 1));
  fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in.data(), bins, FFTW_ESTIMATE);
  fftwf_execute(plan);
  std::vector<double> db(static_cast<std::size_t>(n / 2 + 1));
  for (int k = 0; k <= n / 2; ++k) {
    db[static_cast<std::size_t>(k)] = 10.0 * std::log10(double{bins[k][0]} * bins[k][0] +
                                                        double{bins[k][1]} * bins[k][1] + 1e-30);
  }
  fftwf_destroy_plan(plan);
  fftwf_free(bins);
  return db;
}

// Level in dB of the partial at hz: the power of its window main lobe, so it
// does not depend on where the partial falls between bins.
double LevelAt(const std::vector<double>& db, double hz, int fftSize) {
  const int centre = static_cast<int>(std::lround(hz * fftSize / kRate));
  const int last = static_cast<int>(db.size()) - 1;
  double power = 0.0;
  for (int k = std::max(0, centre - 5); k <= std::min(last, centre + 5); ++k) {
    power += std::pow(10.0, db[static_cast<std::size_t>(k)] / 10.0);
  }
  return 10.0 * std::log10(power + 1e-30);
}

// Frequency of the strongest partial, interpolated between bins.
double PeakHz(std::span<const float> x, double rate) {
  const auto db = SpectrumDb(x);
  std::size_t best = 1;
  for (std::size_t k = 1; k + 1 < db.size(); ++k) {
    if (db[k] > db[best]) best = k;
  }
  const double a = db[best - 1], b = db[best], c = db[best + 1];
  const double offset = 0.5 * (a - c) / (a - 2.0 * b + c);
  return (static_cast<double>(best) + offset) * rate / static_cast<double>(x.size());
}

struct Layer {
  WaveSet set;
  explicit Layer(std::unique_ptr<WaveTables> t) { set.Publish(std::move(t)); }
};

TEST(VectorOsc, WeightsPickCornersAndPanSplitsTheChannels) {
  // Each corner holds a different harmonic, so the spectrum tells which sounded.
  Layer layer(BandLimited({Harmonic(1), Harmonic(2), Harmonic(3), Harmonic(4)}));
  constexpr int kFft = 16384;
  const float hz = 441.0f;

  auto levels = [&](std::array<float, 4> weights) {
    VectorOsc osc;
    osc.SetWaveSet(&layer.set);
    Stereo out(kFft);
    Play(osc, {weights, 1.0f, hz, 0.0f}, out);
    const auto db = SpectrumDb(out.left);
    std::array<double, 4> h{};
    for (int k = 0; k < 4; ++k) h[static_cast<std::size_t>(k)] = LevelAt(db, hz * (k + 1), kFft);
    return h;
  };
  const auto first = levels({1, 0, 0, 0});
  EXPECT_LT(first[1], first[0] - 80.0);
  EXPECT_LT(first[2], first[0] - 80.0);
  EXPECT_LT(first[3], first[0] - 80.0);
  const auto third = levels({0, 0, 1, 0});
  EXPECT_LT(third[0], third[2] - 80.0);
  EXPECT_LT(third[1], third[2] - 80.0);
  EXPECT_LT(third[3], third[2] - 80.0);
  EXPECT_NEAR(third[2], first[0], 0.1);
  const auto mixed = levels({0.5f, 0, 0, 0.5f});
  EXPECT_NEAR(mixed[0], mixed[3], 0.1);
  EXPECT_NEAR(mixed[0], first[0] - 20.0 * std::log10(2.0), 0.1);

  auto pan = [&](float p) {
    VectorOsc osc;
    osc.SetWaveSet(&layer.set);
    Stereo out(4096);
    Play(osc, {{1, 0, 0, 0}, 1.0f, hz, p}, out);
    return out;
  };
  const Stereo hardLeft = pan(-1.0f), centre = pan(0.0f), hardRight = pan(1.0f);
  EXPECT_EQ(analysis::Peak(hardLeft.right), 0.0f);
  EXPECT_EQ(analysis::Peak(hardRight.left), 0.0f);
  EXPECT_NEAR(analysis::Rms(hardLeft.left), std::sqrt(0.5), 1e-3);  // full-scale sine
  EXPECT_NEAR(analysis::Rms(hardRight.right), std::sqrt(0.5), 1e-3);
  EXPECT_NEAR(analysis::Rms(centre.left), 0.5 * std::sqrt(0.5), 1e-3);
  EXPECT_EQ(centre.left, centre.right);
}

TEST(VectorOsc, MixChangesAtCycleStartsWhileAmplitudeMovesEveryFrame) {
  // Lane 0 holds +1 and lane 1 holds -1 throughout, so the output is the
  // weight difference itself.
  auto tables = std::make_unique<WaveTables>(kLength, 1);
  for (int i = 0; i < kLength; ++i) {
    tables->mutableLevel(0)[4 * i] = 1.0f;
    tables->mutableLevel(0)[4 * i + 1] = -1.0f;
  }
  Layer layer(std::move(tables));
  const int frames = 4410;  // 44 cycles of 100 frames at 441 Hz

  VectorOsc fade;
  fade.SetWaveSet(&layer.set);
  Stereo out(frames);
  Fill(fade, frames, {{1, 0, 0, 0}, 1.0f, 441.0f, -1.0f}, {{0, 1, 0, 0}, 1.0f, 441.0f, -1.0f});
  fade.Process(nullptr, nullptr, out.left.data(), out.right.data(), frames);
  std::vector<int> changes;
  for (int i = 1; i < frames; ++i) {
    if (out.left[static_cast<std::size_t>(i)] != out.left[static_cast<std::size_t>(i - 1)])
      changes.push_back(i);
  }
  EXPECT_GE(changes.size(), 42u);
  EXPECT_LE(changes.size(), 44u);
  for (std::size_t k = 1; k < changes.size(); ++k) {
    EXPECT_GE(changes[k] - changes[k - 1], 100) << "mix changed inside a cycle at " << changes[k];
    EXPECT_LE(changes[k] - changes[k - 1], 101);
  }
  EXPECT_EQ(out.left.front(), 1.0f);
  EXPECT_LT(out.left.back(), -0.95f);

  VectorOsc swell;
  swell.SetWaveSet(&layer.set);
  Stereo ramp(frames);
  Fill(swell, frames, {{1, 0, 0, 0}, 0.0f, 441.0f, -1.0f}, {{1, 0, 0, 0}, 1.0f, 441.0f, -1.0f});
  swell.Process(nullptr, nullptr, ramp.left.data(), ramp.right.data(), frames);
  int rising = 0;
  for (int i = 1; i < frames; ++i)
    rising += ramp.left[static_cast<std::size_t>(i)] > ramp.left[static_cast<std::size_t>(i - 1)];
  EXPECT_EQ(rising, frames - 1);
  EXPECT_NEAR(ramp.left.back(), 1.0f, 1e-3f);
}

TEST(VectorOsc, SilentRunsHoldThePhaseAndOutputIsAdded) {
  Layer layer(BandLimited({kRamp, Harmonic(1), Harmonic(3), kRamp}));
  const Voice voice{{0.4f, 0.3f, 0.2f, 0.1f}, 0.8f, 523.0f, 0.25f};

  // A plays, pauses for 200 frames, and plays on; B plays without the pause.
  VectorOsc a, b;
  a.SetWaveSet(&layer.set);
  b.SetWaveSet(&layer.set);
  a.SetPhase(1000.0f);
  b.SetPhase(1000.0f);
  Stereo withPause(600, 0.25f), straight(400);
  Fill(a, 600, voice, voice);
  a.amplitude().Clear();
  for (auto [t, v] :
       {std::pair{0, 0.8f}, {200, 0.8f}, {200, 0.0f}, {400, 0.0f}, {400, 0.8f}, {600, 0.8f}}) {
    a.amplitude().Append(static_cast<float>(t), v);
  }
  a.Process(nullptr, nullptr, withPause.left.data(), withPause.right.data(), 600);
  Play(b, voice, straight, 400);
  for (int i = 0; i < 200; ++i) {
    const auto k = static_cast<std::size_t>(i);
    ASSERT_NEAR(withPause.left[k], straight.left[k] + 0.25f, 1e-6f) << i;
    ASSERT_EQ(withPause.left[k + 200], 0.25f) << i;
    ASSERT_NEAR(withPause.left[k + 400], straight.left[k + 200] + 0.25f, 1e-6f) << i;
    ASSERT_NEAR(withPause.right[k + 400], straight.right[k + 200] + 0.25f, 1e-6f) << i;
  }
  EXPECT_GT(analysis::Rms(straight.left), 0.05);

  // A silent block, or a segment starting below zero, leaves phase and buffer alone.
  const float before = a.phase();
  Stereo untouched(512, 0.5f);
  Play(a, {voice.weights, 0.0f, 523.0f, 0.0f}, untouched);
  Fill(a, 512, {voice.weights, -0.5f, 523.0f, 0.0f}, {voice.weights, 0.5f, 523.0f, 0.0f});
  a.Process(nullptr, nullptr, untouched.left.data(), untouched.right.data(), 512);
  EXPECT_EQ(a.phase(), before);
  EXPECT_EQ(analysis::Peak(untouched.left), 0.5f);
  EXPECT_EQ(analysis::Rms(untouched.right), 0.5);

  // Two oscillators on one buffer give the sum of each alone.
  VectorOsc c, d;
  c.SetWaveSet(&layer.set);
  d.SetWaveSet(&layer.set);
  d.SetPhase(1234.5f);
  const Voice other{{0.0f, 0.0f, 1.0f, 0.0f}, 0.5f, 97.0f, -0.5f};
  Stereo soloC(2048), soloD(2048), both(2048);
  Play(c, voice, soloC);
  Play(d, other, soloD);
  c.SetPhase(0.0f);
  d.SetPhase(1234.5f);
  Play(c, voice, both);
  Play(d, other, both);
  for (std::size_t i = 0; i < both.left.size(); ++i) {
    ASSERT_NEAR(both.left[i], soloC.left[i] + soloD.left[i], 1e-6f) << i;
    ASSERT_NEAR(both.right[i], soloC.right[i] + soloD.right[i], 1e-6f) << i;
  }
}

TEST(VectorOsc, PitchIsRightFromBassToTreble) {
  Layer layer(BandLimited({kRamp, kRamp, kRamp, kRamp}));
  for (float rate : {44100.0f, 48000.0f}) {
    for (float hz : {30.0f, 440.0f, 8000.0f}) {
      VectorOsc osc;
      osc.SetSampleRate(rate);
      osc.SetWaveSet(&layer.set);
      Stereo out(65536);
      Play(osc, {{1, 0, 0, 0}, 1.0f, hz, 0.5f}, out);
      EXPECT_NEAR(PeakHz(out.right, rate), hz, 0.1) << hz << " Hz at " << rate;
      if (hz < 4000.0f) {  // the period estimate needs several samples per cycle
        const double measured = analysis::EstimateFundamental(out.right, rate, 20.0, 4000.0);
        EXPECT_NEAR(measured, hz, 0.0002 * hz) << hz << " Hz at " << rate;
      }
      EXPECT_GT(analysis::Rms(out.right), 0.2) << hz << " Hz at " << rate;
    }
  }
}

TEST(VectorOsc, HighNotesHaveNoAliasedPartials) {
  Layer layer(BandLimited({kRamp, kRamp, kRamp, kRamp}));
  constexpr int kFft = 32768;
  const double binHz = kRate / kFft;
  for (float hz : {2637.0f, 6000.0f, 1500.0f}) {
    VectorOsc osc;
    osc.SetWaveSet(&layer.set);
    Stereo out(kFft);
    Play(osc, {{0.25f, 0.25f, 0.25f, 0.25f}, 1.0f, hz, 0.0f}, out);
    const auto db = SpectrumDb(out.left);
    const double fundamental = LevelAt(db, hz, kFft);
    double worst = -1e9, worstHz = 0.0;
    for (std::size_t k = 8; k < db.size(); ++k) {
      const double f = static_cast<double>(k) * binHz;
      const double harmonic = std::round(f / hz) * hz;
      if (harmonic > 0.0 && std::fabs(f - harmonic) <= 8 * binHz) continue;  // a real partial
      if (db[k] > worst) {
        worst = db[k];
        worstHz = f;
      }
    }
    EXPECT_LT(worst, fundamental - 70.0) << hz << " Hz: inharmonic partial at " << worstHz << " Hz";
    // The lower notes keep the harmonics that fit below half the rate.
    if (hz < 3000.0f) {
      EXPECT_GT(LevelAt(db, 2.0 * hz, kFft), fundamental - 10.0) << hz;
    }
  }
}

TEST(VectorOsc, ExtremeStepsStayInsideTheWave) {
  // One small level: any read past the wave leaves the allocation.
  auto small = std::make_unique<WaveTables>(64, 1);
  for (int i = 0; i < 64 * 4; ++i) small->mutableLevel(0)[i] = (i / 4) % 2 == 0 ? 1.0f : -1.0f;
  Layer tiny(std::move(small));
  Layer full(BandLimited({kRamp, Harmonic(1), kRamp, Harmonic(2)}));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (WaveSet* set : {&tiny.set, &full.set}) {
    const float length = static_cast<float>(set->tables()->length());
    for (float hz :
         {22050.0f, 30000.0f, 44100.0f, 110250.0f, 1.0e6f, 3.0e9f, -500.0f, -2.0e6f, nan}) {
      VectorOsc osc;
      osc.SetWaveSet(set);
      osc.SetPhase(hz > 0.0f ? length * 7.5f : -3.0f);  // out of range on purpose
      Stereo out(1500);
      Play(osc, {{0.25f, 0.25f, 0.25f, 0.25f}, 1.0f, hz, 0.0f}, out, 500);
      EXPECT_FALSE(analysis::HasNonFinite(out.left)) << hz;
      EXPECT_LE(analysis::Peak(out.left), 1.0f) << hz;
      EXPECT_GE(osc.phase(), 0.0f) << hz;
      EXPECT_LT(osc.phase(), length) << hz;
    }
  }

  // Without tables, or with empty ones, nothing is played.
  WaveSet unbuilt;
  Layer empty(std::make_unique<WaveTables>(0, 0));
  const WaveSet* silent[] = {nullptr, &unbuilt, &empty.set};
  for (const WaveSet* set : silent) {
    VectorOsc osc;
    osc.SetWaveSet(set);
    Stereo out(512, 0.125f);
    Play(osc, {}, out);
    EXPECT_EQ(analysis::Peak(out.left), 0.125f);
    EXPECT_EQ(analysis::Rms(out.right), 0.125);
  }
}

}  // namespace
