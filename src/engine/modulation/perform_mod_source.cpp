#include "engine/modulation/perform_mod_source.h"

PerformModSource::PerformModSource(int number) : ZModSource(2) {
  x_.Init("X", -1.0f, 1.0f, Parameter::kContinuous, 0);
  y_.Init("Y", -1.0f, 1.0f, Parameter::kContinuous, 0);
  x_.SetGroupPrefix(std::to_string(number));
  y_.SetGroupPrefix(std::to_string(number));
  AddParameter(&x_);
  AddParameter(&y_);
  x_.SetValue(0.0f);
  y_.SetValue(0.0f);
}

void PerformModSource::AdvanceSmoothing() {
  const float target[2] = {x_.GetValue() * amounts_[0], y_.GetValue() * amounts_[1]};
  for (int axis = 0; axis < 2; ++axis) {
    previous_[axis] = smoothed_[axis];
    smoothed_[axis] += (target[axis] - smoothed_[axis]) * 0.5f;
  }
}

void PerformModSource::Reset() {
  for (int axis = 0; axis < 2; ++axis) {
    assignments_[axis] = Assignment{};
    amounts_[axis] = 1.0f;
    smoothed_[axis] = 0.0f;
    previous_[axis] = 0.0f;
  }
  x_.SetValue(0.0f);
  y_.SetValue(0.0f);
}
