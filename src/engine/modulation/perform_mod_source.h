// One X/Y pad of the perform page as a modulation source with two outputs:
// its "X" and "Y" parameters, scaled by their amounts and smoothed per block,
// and for each axis the layer target it is assigned to.
// Thread: parameters from any thread; smoothing on the audio thread.
#pragma once

#include <string>

#include "engine/modulation/mod_routing.h"
#include "params/parameter_host.h"

class PerformModSource : public ZModSource, public ParameterHost {
 public:
  struct Assignment {
    bool assigned = false;
    int voice = 0;    // 0..3, or 4 for every layer
    int target = -1;  // target menu identifier
  };

  // number: 1 to 6, shown as the parameters' group prefix.
  explicit PerformModSource(int number);

  // Output 0 is X, 1 is Y: from the previous to the smoothed value.
  void ComputeOutput(ZModValues& list, int frames, int output) override {
    const int axis = output == 0 ? 0 : 1;
    list.Append(0.0f, previous_[axis]);
    list.Append(static_cast<float>(frames), smoothed_[axis]);
  }
  // Previous := smoothed, then smoothed moves halfway to value x amount.
  void AdvanceSmoothing();
  // Assignments cleared, X and Y 0, amounts 1, smoothing at rest.
  void Reset();

  Parameter& x() { return x_; }
  Parameter& y() { return y_; }
  Assignment& assignment(int axis) { return assignments_[axis]; }
  float& amount(int axis) { return amounts_[axis]; }
  float smoothed(int axis) const { return smoothed_[axis]; }
  float previous(int axis) const { return previous_[axis]; }

 private:
  Parameter x_, y_;
  Assignment assignments_[2];
  float amounts_[2] = {1.0f, 1.0f};
  float smoothed_[2] = {0.0f, 0.0f};
  float previous_[2] = {0.0f, 0.0f};
};
