// The base of every sound component: its parameters (with the "BYPASS"
// switch), the sample rate and tempo it is told, block ticks, and the block
// operation each component defines.
// Thread: Process and the block ticks on the audio thread; parameters and
// rate changes from the user-interface thread.
#pragma once

#include <string>

#include "params/parameter_host.h"
#include "shell/host_sources.h"

class DSPComponent : public ParameterHost, public SampleRateListener, public TempoListener {
 public:
  DSPComponent();
  ~DSPComponent() override = default;

  // Renders or processes one block; in place is allowed.
  virtual void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
                       int frames) = 0;

  Parameter& bypass() { return bypass_; }
  const std::string& componentName() const { return componentName_; }

 protected:
  void SetComponentName(std::string name) { componentName_ = std::move(name); }
  // What a switched-off component does: the inputs go to the outputs
  // unchanged (nothing to do when they are the same buffers).
  static void PassThrough(const float* leftIn, const float* rightIn, float* leftOut,
                          float* rightOut, int frames);

 private:
  Parameter bypass_;
  std::string componentName_;
};
