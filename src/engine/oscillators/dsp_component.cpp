#include "engine/oscillators/dsp_component.h"

#include <cstring>

DSPComponent::DSPComponent() {
  bypass_.Init("BYPASS", 0.0f, 1.0f, Parameter::kInteger, 1);
  bypass_.SetValue(1.0f);
  AddParameter(&bypass_);
}

void DSPComponent::PassThrough(const float* leftIn, const float* rightIn, float* leftOut,
                               float* rightOut, int frames) {
  if (frames <= 0) return;
  const auto bytes = sizeof(float) * static_cast<std::size_t>(frames);
  if (leftIn != leftOut) std::memmove(leftOut, leftIn, bytes);
  if (rightIn != rightOut) std::memmove(rightOut, rightIn, bytes);
}
