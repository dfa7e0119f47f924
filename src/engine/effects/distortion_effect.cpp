#include "engine/effects/distortion_effect.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr float kDenormalOffset = 1e-17f;
// A flat two-pole response (q = 1/sqrt 2) for the resampling filters.
constexpr float kFlatResonance = 6.8658f;
}  // namespace

ZDistortionEffect::ZDistortionEffect()
    : workLeft_(static_cast<std::size_t>(kMaxFrames * kOversampling), 0.0f),
      workRight_(static_cast<std::size_t>(kMaxFrames * kOversampling), 0.0f) {
  // Every parameter shares the kind of the switch, so a saved block starts with it.
  SetComponentName("DISTORTION");
  enabled_.Init("DISTORTION_ENABLED", 0.0f, 1.0f, Parameter::kInteger, 1);
  drive_.Init("DISTORTION_DRIVE", 0.1f, 3.0f, Parameter::kContinuous, 1);
  crunch_.Init("DISTORTION_CRUNCH", 0.0f, 1.0f, Parameter::kContinuous, 1);
  output_.Init("DISTORTION_OUTPUT", 0.1f, 1.0f, Parameter::kContinuous, 1);
  highCut_.Init("DISTORTION_HIGHCUT", 0.05f, 1.0f, Parameter::kContinuous, 1);
  for (Parameter* p : {&enabled_, &drive_, &crunch_, &output_, &highCut_}) AddParameter(p);
  drive_.SetValue(1.0f);
  crunch_.SetValue(0.5f);
  output_.SetValue(1.0f);
  highCut_.SetValue(1.0f);
  for (StereoFilter* f : {&up_, &down_}) {
    f->enabled().SetValue(1.0f);
    f->type().SetValue(StereoFilter::kLowPass);
    f->resonance().SetValue(kFlatResonance);
    f->SetLowCutoffDamping(false);
  }
}

void ZDistortionEffect::ParameterChanged(float /*value*/, Parameter* which) {
  if (which == &highCut_) filtersStale_ = true;
}

void ZDistortionEffect::SetUpFilters() {
  // Both filters run at six times the host's rate; the way up keeps the
  // audible band, the way down keeps "DISTORTION_HIGHCUT" of the host's rate.
  const float rate = sampleRate();
  up_.SetSampleRate(rate * kOversampling);
  down_.SetSampleRate(rate * kOversampling);
  up_.cutoff().SetValue(0.45f * rate);
  down_.cutoff().SetValue(rate * highCut_.GetValue());
}

ZDistortionEffect::Curve ZDistortionEffect::MakeCurve() const {
  const float g = std::pow(1.0f - 0.8f * crunch_.GetValue(), 8.0f);
  const float o = 1.0f - g;
  const float t = 0.5f * o + 0.5f;
  const float kn = 1.0f - 1.0f / (0.95f * t);
  // With little crunch the negative branch has a pole at a = kn / (1 + kn);
  // loud inputs are held at half of it so the curve never divides by zero.
  const float limit = 1.0f + kn < 0.0f ? 0.5f * kn / (1.0f + kn) : 1e30f;
  return {1.0f - 1.0f / t, kn, output_.GetValue() * (1.05f - o) * 3.75f, drive_.GetValue(), limit};
}

float ZDistortionEffect::Bend(float sample, const Curve& c) {
  const float x = sample * c.drive + kDenormalOffset;
  float y;
  if (x >= 0.0f) {
    y = x / ((x - 1.0f) * c.kp + x);
  } else {
    const float a = std::min(-x, c.negativeLimit);
    y = -a / ((a - 1.0f) * c.kn + a);
  }
  return y * c.gain;
}

float ZDistortionEffect::Shape(float x) const { return Bend(x, MakeCurve()); }

void ZDistortionEffect::Process(const float* leftIn, const float* rightIn, float* leftOut,
                                float* rightOut, int frames) {
  frames = std::clamp(frames, 0, kMaxFrames);
  if (!enabled_.GetBool()) {
    PassThrough(leftIn, rightIn, leftOut, rightOut, frames);
    return;
  }
  if (filtersStale_.exchange(false)) SetUpFilters();
  const Curve curve = MakeCurve();
  const int wide = frames * kOversampling;
  float* wl = workLeft_.data();
  float* wr = workRight_.data();
  std::fill_n(wl, wide, 0.0f);
  std::fill_n(wr, wide, 0.0f);
  // Zero-stuffing spreads the signal over six images; the factor six
  // keeps the band that the filter lets through at the input's level.
  for (int k = 0; k < frames; ++k) {
    wl[k * kOversampling] = leftIn[k] * kOversampling;
    wr[k * kOversampling] = rightIn[k] * kOversampling;
  }
  // The filters take at most their own block size at a time.
  for (int done = 0; done < wide; done += kMaxFrames) {
    const int n = std::min(kMaxFrames, wide - done);
    up_.Process(wl + done, wr + done, wl + done, wr + done, n);
  }
  for (int i = 0; i < wide; ++i) {
    wl[i] = Bend(wl[i], curve);
    wr[i] = Bend(wr[i], curve);
  }
  for (int done = 0; done < wide; done += kMaxFrames) {
    const int n = std::min(kMaxFrames, wide - done);
    down_.Process(wl + done, wr + done, wl + done, wr + done, n);
  }
  for (int k = 0; k < frames; ++k) {
    leftOut[k] = wl[k * kOversampling];
    rightOut[k] = wr[k * kOversampling];
  }
}
