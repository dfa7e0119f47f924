// Adds MIDI intake to the plug-in base: host events are decoded into the
// instrument's typed MIDI operations and then passed on to its other MIDI
// listeners (modulation sources, MIDI learn).
// Thread: audio thread (processEvents).
#pragma once

#include "shell/midi_events.h"
#include "shell/vst_base.h"

class VstInstrumentBase : public VstBase, public MidiEventListener, public MidiEventSource {
 public:
  using VstBase::VstBase;

  // Decode into the typed operations, then forward to every listener.
  void HandleEvent(int channel, int kind, int data1, int data2, int offset) override;

 protected:
  bool canDo(const char* text) override;
  void processEvents(const vst2::VstEvents* events) override;
};
