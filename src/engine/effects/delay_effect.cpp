#include "engine/effects/delay_effect.h"

DelayEffect::DelayEffect() {
  SetComponentName("DELAY");
  enabled_.Init("DELAY_ENABLED", 0.0f, 1.0f, Parameter::kInteger, 0);
  time_.Init("DELAY_TIME", 0.0f, 4.0f, Parameter::kContinuous, 0);
  time_.SetOwnerAppliesModulation(true);
  feedback_.Init("DELAY_FEEDBACK", 0.0f, 1.0f, Parameter::kContinuous, 0);
  mix_.Init("DELAY_MIX", 0.0f, 1.0f, Parameter::kContinuous, 0);
  amplitude_.Init("DELAY_AMPLITUDE", 0.0f, 1.0f, Parameter::kContinuous, 0);
  amplitude_.SetOwnerAppliesModulation(true);
  stereo_.Init("DELAY_STEREO", 0.0f, 1.0f, Parameter::kInteger, 0);
  syncToHost_.Init("SYNC_TO_HOST", 0.0f, 1.0f, Parameter::kInteger, 0);
  for (Parameter* p : {&enabled_, &time_, &feedback_, &mix_, &amplitude_, &stereo_, &syncToHost_}) {
    AddParameter(p);
  }
}

void DelayEffect::ParameterChanged(float /*value*/, Parameter* which) {
  if (which == &syncToHost_) {
    // Synced, the time picks a note length from five; free, it is a rate.
    time_.SetType(syncToHost_.GetBool() ? Parameter::kInteger : Parameter::kContinuous);
    time_.NotifyListeners();
  }
}

void DelayEffect::Process(const float* /*leftIn*/, const float* /*rightIn*/, float* /*leftOut*/,
                          float* /*rightOut*/, int /*frames*/) {
  // The delay lines are not built yet: the effect adds nothing.
}
