// The oversampled distortion fed by the voices' distortion sends.
// Thread: Process on the audio thread; parameters from any thread.
#pragma once

#include "engine/oscillators/dsp_component.h"

class ZDistortionEffect : public DSPComponent {
 public:
  ZDistortionEffect();

  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;

  Parameter& enabled() { return enabled_; }
  Parameter& drive() { return drive_; }
  Parameter& crunch() { return crunch_; }
  Parameter& output() { return output_; }
  Parameter& highCut() { return highCut_; }

 private:
  Parameter enabled_, drive_, crunch_, output_, highCut_;
};
