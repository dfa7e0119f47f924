// The reverb fed by the voices' reverb sends.
// Thread: Process on the audio thread; parameters from any thread.
#pragma once

#include "engine/oscillators/dsp_component.h"

class ReverbEffect : public DSPComponent {
 public:
  ReverbEffect();

  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;

  Parameter& enabled() { return enabled_; }
  Parameter& time() { return time_; }
  Parameter& size() { return size_; }
  Parameter& mix() { return mix_; }

 private:
  Parameter enabled_, time_, size_, mix_;
};
