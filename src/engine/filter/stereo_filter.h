// A resonant two-pole filter (low-pass, band-pass, high-pass) on two
// channels with one set of coefficients: one per voice layer, driven in
// 32-frame chunks, and two as the instrument's master filters.
// Thread: Process on the audio thread; parameter changes from any thread
// only mark the coefficients stale.
#pragma once

#include <atomic>

#include "engine/oscillators/dsp_component.h"

class StereoFilter : public DSPComponent {
 public:
  enum Type { kLowPass = 0, kBandPass = 1, kHighPass = 2 };
  static constexpr float kLowestCutoff = 20.0f;
  static constexpr int kChunkFrames = 32;

  StereoFilter();

  // In place is allowed.
  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;
  void ParameterChanged(float value, Parameter* which) override;
  // Forgets the signal history (a voice does this at note-on).
  void ClearState();

  // The quality factor for a cutoff and resonance, with the low-cutoff damping.
  float Quality(float cutoff, float resonance) const;

  Parameter& enabled() { return enabled_; }
  Parameter& cutoff() { return cutoff_; }
  Parameter& resonance() { return resonance_; }
  Parameter& type() { return type_; }
  float targetCutoff() const { return targetCutoff_.load(std::memory_order_relaxed); }
  float currentCutoff() const { return currentCutoff_; }
  void SetLowCutoffDamping(bool on) { damping_ = on; }

 protected:
  void SampleRateChanged() override;

 private:
  struct Coefficients {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  };
  struct ChannelState {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  };

  void Compute(float cutoff);
  void Run(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut, int frames);
  bool ProcessModulated(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
                        int frames);

  Parameter enabled_;
  Parameter cutoff_;
  Parameter resonance_;
  Parameter type_;
  std::atomic<float> targetCutoff_{30.0f};
  std::atomic<bool> coefficientsStale_{true};
  float currentCutoff_ = 30.0f;
  bool damping_ = true;
  Coefficients c_;
  ChannelState left_, right_;
};
