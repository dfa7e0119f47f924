// Typed MIDI operations and their forwarding: the shell decodes host events
// into these calls; listeners that are also sources pass every event on.
// Thread: audio thread (the host's processEvents), or whichever thread
// drives an emulated controller (the sustain pedal emulator).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

class MidiEventListener {
 public:
  virtual ~MidiEventListener() = default;

  virtual void NoteOn(int /*channel*/, int /*note*/, int /*velocity*/, int /*offset*/) {}
  virtual void NoteOff(int /*channel*/, int /*note*/, int /*offset*/) {}
  virtual void AllNotesOff(int /*channel*/) {}
  virtual void SustainOn(int /*channel*/, int /*offset*/) {}
  virtual void SustainOff(int /*channel*/, int /*offset*/) {}
  virtual void ControlChange(int /*channel*/, int /*controller*/, int /*value*/, int /*offset*/) {}
  virtual void PitchBend(int /*channel*/, float /*bend*/, int /*offset*/) {}
  virtual void OtherMessage(int /*channel*/, int /*kind*/, int /*data1*/, int /*data2*/,
                            int /*offset*/) {}

  // Decodes one channel message into the typed operations above. Sources
  // override it to pass the event on afterwards.
  virtual void HandleEvent(int channel, int kind, int data1, int data2, int offset) {
    Decode(channel, kind, data1, data2, offset);
  }

 protected:
  void Decode(int channel, int kind, int data1, int data2, int offset) {
    switch (kind) {
      case 0x90:
        if (data2 > 0) {
          NoteOn(channel, data1, data2, offset);
        } else {
          NoteOff(channel, data1, offset);  // velocity 0 is a note-off
        }
        break;
      case 0x80:
        NoteOff(channel, data1, offset);
        break;
      case 0xB0:
        if (data1 == 123) {
          AllNotesOff(channel);
        } else if (data1 == 64) {
          if (data2 < 64) {
            SustainOff(channel, offset);
          } else {
            SustainOn(channel, offset);
          }
        } else {
          ControlChange(channel, data1, data2, offset);
        }
        break;
      case 0xE0:
        // Only the most significant byte counts: -1.0 .. 63/64.
        PitchBend(channel, static_cast<float>((data2 - 64) / 64.0), offset);
        break;
      default:
        OtherMessage(channel, kind, data1, data2, offset);
        break;
    }
  }
};

// Holds the listeners that hear every event after their source.
class MidiEventSource {
 public:
  void AddMidiListener(MidiEventListener* l) { midiListeners_.push_back(l); }
  void RemoveMidiListener(MidiEventListener* l) { std::erase(midiListeners_, l); }
  const std::vector<MidiEventListener*>& midiListeners() const { return midiListeners_; }

 protected:
  void ForwardEvent(int channel, int kind, int data1, int data2, int offset) {
    for (MidiEventListener* l : midiListeners_) l->HandleEvent(channel, kind, data1, data2, offset);
  }

 private:
  std::vector<MidiEventListener*> midiListeners_;
};
