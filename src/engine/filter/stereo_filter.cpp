#include "engine/filter/stereo_filter.h"

#include <algorithm>
#include <cstring>

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
}

void StereoFilter::ParameterChanged(float /*value*/, Parameter* /*which*/) {
  targetCutoff_ = cutoff_.GetValue();
  coefficientsStale_ = true;
}

void StereoFilter::SampleRateChanged() {
  // The top of the range follows Nyquist. A cutoff already set is kept
  // (clamped into the new range) rather than thrown back to the bottom,
  // which would silence a low-pass master filter at every rate change.
  cutoff_.SetRange(kLowestCutoff, sampleRate() * 0.5f - 50.0f);
  cutoff_.SetValue(cutoff_.rawValue());
  targetCutoff_ = cutoff_.GetValue();
  coefficientsStale_ = true;
}

void StereoFilter::Process(const float* leftIn, const float* rightIn, float* leftOut,
                           float* rightOut, int frames) {
  // The filter stage itself is not built yet: pass the signal through.
  if (leftIn != leftOut) std::memmove(leftOut, leftIn, sizeof(float) * static_cast<std::size_t>(frames));
  if (rightIn != rightOut) std::memmove(rightOut, rightIn, sizeof(float) * static_cast<std::size_t>(frames));
}
