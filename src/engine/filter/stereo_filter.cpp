#include "engine/filter/stereo_filter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {
constexpr double kDenormalOffset = 1e-17;
}

StereoFilter::StereoFilter() {
  // The filter's own four come first in a saved record (storage kind 0).
  enabled_.Init("STEREOFILTER_ENABLED", 0.0f, 1.0f, Parameter::kInteger, 0);
  cutoff_.Init("STEREOFILTER_CUTOFF", kLowestCutoff, 22000.0f, Parameter::kContinuous, 0,
               Parameter::kCubic);
  cutoff_.SetOwnerAppliesModulation(true);
  resonance_.Init("STEREOFILTER_RESONANCE", 0.01f, 70.0f, Parameter::kContinuous, 0);
  type_.Init("STEREOFILTER_TYPE", 0.0f, 2.0f, Parameter::kInteger, 0);
  for (Parameter* p : {&enabled_, &cutoff_, &resonance_, &type_}) AddParameter(p);
  cutoff_.SetValue(30.0f);
  resonance_.SetValue(20.0f);
  currentCutoff_ = targetCutoff();
}

void StereoFilter::ParameterChanged(float /*value*/, Parameter* /*which*/) {
  targetCutoff_.store(cutoff_.GetValue(), std::memory_order_relaxed);
  coefficientsStale_.store(true, std::memory_order_relaxed);
}

void StereoFilter::SampleRateChanged() {
  // The top of the range follows Nyquist. A cutoff already set is kept,
  // clamped into the new range, rather than thrown back to the bottom: that
  // would close a low-pass master filter at every rate change.
  cutoff_.SetRange(kLowestCutoff, sampleRate() * 0.5f - 50.0f);
  cutoff_.SetValue(cutoff_.rawValue());
  currentCutoff_ = targetCutoff();
  Compute(currentCutoff_);
  coefficientsStale_.store(false, std::memory_order_relaxed);
}

void StereoFilter::ClearState() {
  left_ = {};
  right_ = {};
}

float StereoFilter::Quality(float cutoff, float resonance) const {
  double q = (1.5 * resonance) * (1.5 * resonance) / 150.0;
  if (damping_ && cutoff <= 80.0f) {
    q *= (cutoff / 80.0) * (cutoff / 80.0);
    q = std::max(q, 0.1);
  }
  return static_cast<float>(q);
}

void StereoFilter::Compute(float cutoff) {
  const double q = Quality(cutoff, resonance_.GetValue());
  const double w = 2.0 * std::numbers::pi * cutoff / sampleRate();
  const double cw = std::cos(w);
  const double sw = std::sin(w);
  const double alpha = sw / (2.0 * q);
  const double a0 = 1.0 + alpha;
  double b0, b1, b2;
  switch (type_.GetIntValue()) {
    case kBandPass:
      b0 = sw / 2.0, b1 = 0.0, b2 = -sw / 2.0;
      break;
    case kHighPass:
      b0 = (1.0 + cw) / 2.0, b1 = -(1.0 + cw), b2 = (1.0 + cw) / 2.0;
      break;
    default:
      b0 = (1.0 - cw) / 2.0, b1 = 1.0 - cw, b2 = (1.0 - cw) / 2.0;
      break;
  }
  c_ = {b0 / a0, b1 / a0, b2 / a0, -2.0 * cw / a0, (1.0 - alpha) / a0};
}

void StereoFilter::Run(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
                       int frames) {
  const Coefficients c = c_;
  auto channel = [&c, frames](const float* in, float* out, ChannelState& s) {
    double x1 = s.x1, x2 = s.x2, y1 = s.y1, y2 = s.y2;
    for (int i = 0; i < frames; ++i) {
      const double x = in[i] + kDenormalOffset;
      const double y = c.b0 * x + c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2;
      x2 = x1;
      x1 = x;
      y2 = y1;
      y1 = y + kDenormalOffset;
      out[i] = static_cast<float>(y);
    }
    s = {x1, x2, y1, y2};
  };
  channel(leftIn, leftOut, left_);
  channel(rightIn, rightOut, right_);
}

bool StereoFilter::ProcessModulated(const float* leftIn, const float* rightIn, float* leftOut,
                                    float* rightOut, int frames) {
  ParameterModulationInput& mod = cutoff_.modulationInput();
  if (!mod.active.load(std::memory_order_relaxed)) return false;
  // One modulation value per chunk; the chunks cover the block.
  const int chunks = ParameterModulationInput::kCapacity;
  const int chunk = std::max(kChunkFrames, (frames + chunks - 1) / chunks);
  const int count = (frames + chunk - 1) / chunk;
  const float target = cutoff_.rawValue();
  const float step = (target - currentCutoff_) / static_cast<float>(count);
  float c = currentCutoff_;
  for (int j = 0, done = 0; done < frames; ++j, done += chunk) {
    c += step;
    const float m = mod.buffer[static_cast<std::size_t>(j)];
    Compute(std::clamp(c + (m * 0.5f + 1.0f) * c, kLowestCutoff, cutoff_.GetMaximum()));
    const int n = std::min(chunk, frames - done);
    Run(leftIn + done, rightIn + done, leftOut + done, rightOut + done, n);
  }
  currentCutoff_ = c;
  return true;
}

void StereoFilter::Process(const float* leftIn, const float* rightIn, float* leftOut,
                           float* rightOut, int frames) {
  if (frames <= 0) return;
  if (!enabled_.GetBool()) {
    PassThrough(leftIn, rightIn, leftOut, rightOut, frames);
    return;
  }
  const float target = targetCutoff();
  if (coefficientsStale_.exchange(false, std::memory_order_relaxed)) Compute(target);
  if (ProcessModulated(leftIn, rightIn, leftOut, rightOut, frames)) return;
  if (currentCutoff_ != target && frames > kChunkFrames) {
    // Glide to the new cutoff in 32-frame steps; the last chunk reaches it.
    const int count = (frames + kChunkFrames - 1) / kChunkFrames;
    const float step = (target - currentCutoff_) / static_cast<float>(count);
    for (int k = 0; k < count; ++k) {
      const float c = k + 1 == count ? target : currentCutoff_ + static_cast<float>(k + 1) * step;
      Compute(c);
      const int done = k * kChunkFrames;
      const int n = std::min(kChunkFrames, frames - done);
      Run(leftIn + done, rightIn + done, leftOut + done, rightOut + done, n);
    }
    currentCutoff_ = target;
    return;
  }
  Run(leftIn, rightIn, leftOut, rightOut, frames);
  currentCutoff_ = target;
}
