// The tempo-syncable stereo delay fed by the voices' delay sends.
// Thread: Process on the audio thread; parameters from any thread.
#pragma once

#include "engine/oscillators/dsp_component.h"

class DelayEffect : public DSPComponent {
 public:
  DelayEffect();

  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;
  void ParameterChanged(float value, Parameter* which) override;

  Parameter& enabled() { return enabled_; }
  Parameter& time() { return time_; }
  Parameter& feedback() { return feedback_; }
  Parameter& mix() { return mix_; }
  Parameter& amplitude() { return amplitude_; }
  Parameter& stereo() { return stereo_; }
  Parameter& syncToHost() { return syncToHost_; }

 private:
  Parameter enabled_, time_, feedback_, mix_, amplitude_, stereo_, syncToHost_;
};
