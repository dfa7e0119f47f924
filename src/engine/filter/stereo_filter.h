// A resonant two-pole filter (low-pass, band-pass, high-pass) on two
// channels with one set of coefficients: one per voice layer, two more as
// the instrument's master filters.
// Thread: Process on the audio thread; parameters from any thread.
#pragma once

#include "engine/oscillators/dsp_component.h"

class StereoFilter : public DSPComponent {
 public:
  enum Type { kLowPass = 0, kBandPass = 1, kHighPass = 2 };
  static constexpr float kLowestCutoff = 20.0f;

  StereoFilter();

  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;
  void ParameterChanged(float value, Parameter* which) override;

  Parameter& enabled() { return enabled_; }
  Parameter& cutoff() { return cutoff_; }
  Parameter& resonance() { return resonance_; }
  Parameter& type() { return type_; }
  float targetCutoff() const { return targetCutoff_; }

 protected:
  void SampleRateChanged() override;

 private:
  Parameter enabled_;
  Parameter cutoff_;
  Parameter resonance_;
  Parameter type_;
  float targetCutoff_ = 30.0f;
  bool coefficientsStale_ = true;
};
