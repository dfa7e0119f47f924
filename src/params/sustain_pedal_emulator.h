// Lets a parameter stand in for a sustain pedal: switching "Sustain" sends
// what a real pedal would, controller 64 on channel 0 (127 on, 0 off), to
// every connected MIDI listener, which decodes it and passes it on to its own
// listeners. The instrument connects itself at construction, so it holds and
// releases notes exactly as for a pedal.
// The parameter has no owner host: it is not stored in patches.
// Thread: whichever thread changes "Sustain" (the user-interface thread);
// listeners are connected at construction.
#pragma once

#include "params/parameter.h"
#include "shell/midi_events.h"

class SustainPedalEmulator : public ParamUpdateListener, public MidiEventSource {
 public:
  static constexpr int kChannel = 0;
  static constexpr int kControlChange = 0xB0;
  static constexpr int kSustainController = 64;

  // "Sustain": 0 to 1, integer, storage kind 1, off. Nothing is sent.
  SustainPedalEmulator();
  ~SustainPedalEmulator() override;
  SustainPedalEmulator(const SustainPedalEmulator&) = delete;
  SustainPedalEmulator& operator=(const SustainPedalEmulator&) = delete;

  // Any change of "Sustain", even to the value it had, sends the pedal's
  // state again.
  void ParameterChanged(float value, Parameter* which) override;

  Parameter& sustain() { return sustain_; }

 private:
  Parameter sustain_;
};
