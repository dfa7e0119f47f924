// A modulation source following one kind of MIDI message (channel pressure,
// a controller, pitch bend) on any channel, as a value from -1 to 1.
// Thread: audio thread (MIDI intake and the block loop).
#pragma once

#include "engine/modulation/mod_routing.h"
#include "shell/midi_events.h"

class ZMidiEventModSource : public ZModSource, public MidiEventListener {
 public:
  ZMidiEventModSource(int kind, int controller, float initialValue)
      : ZModSource(1), kind_(kind), controller_(controller), value_(initialValue), previous_(initialValue) {}

  void HandleEvent(int /*channel*/, int kind, int data1, int data2, int /*offset*/) override {
    if (kind != kind_) return;
    if (controller_ < 0) {
      // Pitch bend uses its most significant byte; pressure its only one.
      value_ = (kind == 0xE0 ? data2 : data1) / 64.0f - 1.0f;
    } else if (data1 == controller_) {
      value_ = data2 / 64.0f - 1.0f;
    }
  }
  // From the previous block's value to the current one.
  void ComputeOutput(ZModValues& list, int frames, int /*output*/) override {
    list.Append(0.0f, previous_);
    list.Append(static_cast<float>(frames), value_);
  }
  // The block loop keeps the value of the previous block for the ramp.
  void EndBlock() { previous_ = value_; }

  float value() const { return value_; }
  float previousValue() const { return previous_; }

 private:
  int kind_;
  int controller_;
  float value_;
  float previous_;
};
