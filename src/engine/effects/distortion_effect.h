// The distortion fed by the voices' distortion sends: the signal is raised to
// six times the rate, bent by an asymmetric curve and brought back down, so
// the harmonics the curve makes are filtered before they fold back.
// Thread: Process on the audio thread inside the instrument's lock;
// parameter changes only mark the resampling filters stale.
#pragma once

#include <atomic>
#include <vector>

#include "engine/filter/stereo_filter.h"

class ZDistortionEffect : public DSPComponent {
 public:
  static constexpr int kOversampling = 6;
  static constexpr int kMaxFrames = 8192;

  ZDistortionEffect();

  // Writes the outputs.
  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;
  void ParameterChanged(float value, Parameter* which) override;

  // The curve for the current settings, one sample (before the resampling).
  float Shape(float x) const;

  Parameter& enabled() { return enabled_; }
  Parameter& drive() { return drive_; }
  Parameter& crunch() { return crunch_; }
  Parameter& output() { return output_; }
  Parameter& highCut() { return highCut_; }

 protected:
  void SampleRateChanged() override { filtersStale_ = true; }

 private:
  struct Curve {
    float kp, kn, gain, drive;
    float negativeLimit;  // below the curve's pole on the negative side
  };
  Curve MakeCurve() const;
  static float Bend(float x, const Curve& c);
  void SetUpFilters();

  Parameter enabled_, drive_, crunch_, output_, highCut_;
  StereoFilter up_, down_;
  std::vector<float> workLeft_, workRight_;
  std::atomic<bool> filtersStale_{true};
};
