#include "engine/effects/reverb_effect.h"

#include <cstring>

ReverbEffect::ReverbEffect() {
  SetComponentName("REVERB");
  enabled_.Init("REVERB_ENABLED", 0.0f, 1.0f, Parameter::kInteger, 0);
  time_.Init("REVERB_TIME", 0.0f, 1.0f, Parameter::kContinuous, 0);
  size_.Init("REVERB_SIZE", 0.0f, 1.0f, Parameter::kContinuous, 0);
  mix_.Init("REVERB_MIX", 0.0f, 1.0f, Parameter::kContinuous, 0);
  for (Parameter* p : {&enabled_, &time_, &size_, &mix_}) AddParameter(p);
}

void ReverbEffect::Process(const float* /*leftIn*/, const float* /*rightIn*/, float* leftOut,
                           float* rightOut, int frames) {
  // The comb lines are not built yet: the return is silent.
  std::memset(leftOut, 0, sizeof(float) * static_cast<std::size_t>(frames));
  std::memset(rightOut, 0, sizeof(float) * static_cast<std::size_t>(frames));
}
