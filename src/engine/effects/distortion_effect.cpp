#include "engine/effects/distortion_effect.h"

#include <cstring>

ZDistortionEffect::ZDistortionEffect() {
  SetComponentName("DISTORTION");
  enabled_.Init("DISTORTION_ENABLED", 0.0f, 1.0f, Parameter::kInteger, 0);
  drive_.Init("DISTORTION_DRIVE", 0.1f, 3.0f, Parameter::kContinuous, 0);
  crunch_.Init("DISTORTION_CRUNCH", 0.0f, 1.0f, Parameter::kContinuous, 0);
  output_.Init("DISTORTION_OUTPUT", 0.1f, 1.0f, Parameter::kContinuous, 0);
  highCut_.Init("DISTORTION_HIGHCUT", 0.05f, 1.0f, Parameter::kContinuous, 0);
  for (Parameter* p : {&enabled_, &drive_, &crunch_, &output_, &highCut_}) AddParameter(p);
  drive_.SetValue(1.0f);
  crunch_.SetValue(0.5f);
  output_.SetValue(1.0f);
  highCut_.SetValue(1.0f);
}

void ZDistortionEffect::Process(const float* /*leftIn*/, const float* /*rightIn*/, float* leftOut,
                                float* rightOut, int frames) {
  // The waveshaper is not built yet: the return is silent.
  std::memset(leftOut, 0, sizeof(float) * static_cast<std::size_t>(frames));
  std::memset(rightOut, 0, sizeof(float) * static_cast<std::size_t>(frames));
}
