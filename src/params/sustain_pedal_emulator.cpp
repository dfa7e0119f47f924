#include "params/sustain_pedal_emulator.h"

SustainPedalEmulator::SustainPedalEmulator()
    : sustain_("Sustain", 0.0f, 1.0f, Parameter::kInteger, 1) {
  sustain_.Subscribe(this);
}

SustainPedalEmulator::~SustainPedalEmulator() { sustain_.Unsubscribe(this); }

void SustainPedalEmulator::ParameterChanged(float /*value*/, Parameter* which) {
  const bool on = (which != nullptr ? which : &sustain_)->GetBool();
  ForwardEvent(kChannel, kControlChange, kSustainController, on ? 127 : 0, 0);
}
