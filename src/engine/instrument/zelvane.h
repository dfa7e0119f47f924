// The instrument object the plug-in factory creates.
// For now a placeholder over the complete framework: 40 host parameters, a
// pool of 16 notes, silence as output, and a record of the MIDI calls it
// receives. Thread: RenderBlock and the MIDI operations on the audio thread;
// the rest on the user-interface thread.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "shell/instrument_base.h"

struct InstanceOptions {
  // The plug-in library's name without its ending; empty when the instrument
  // is made inside another program (tests, tools).
  std::string moduleName = "ZelvaneWinVst";
};

class Zelvane : public InstrumentBase, public PluginState {
 public:
  static constexpr int kNumParams = 40;
  static constexpr int kNoteCount = 16;

  explicit Zelvane(vst2::audioMasterCallback audioMaster, const InstanceOptions& options = {});
  ~Zelvane() override;

  void RenderBlock(float* left, float* right, int frames, int pair) override;

  // MIDI operations, recorded until the note engine takes them over.
  void NoteOn(int channel, int note, int velocity, int offset) override;
  void NoteOff(int channel, int note, int offset) override;
  void AllNotesOff(int channel) override;
  void SustainOn(int channel, int offset) override;
  void SustainOff(int channel, int offset) override;
  void ControlChange(int channel, int controller, int value, int offset) override;
  void PitchBend(int channel, float bend, int offset) override;
  void OtherMessage(int channel, int kind, int data1, int data2, int offset) override;

  const std::string& GetState() override;
  bool SetState(const void* data, std::size_t size) override;

  struct MidiCall {
    enum Kind { kNoteOn, kNoteOff, kAllNotesOff, kSustainOn, kSustainOff, kControlChange,
                kPitchBend, kOther } kind;
    int channel, a, b, offset;
    float bend;
  };
  static constexpr int kMidiCallCapacity = 1024;
  int midiCallCount() const { return midiCallCount_.load(); }
  const MidiCall& midiCall(int i) const { return midiCalls_[static_cast<std::size_t>(i)]; }
  void ClearMidiCalls() { midiCallCount_ = 0; }

 protected:
  std::unique_ptr<Note> CreateNote(int index) override;

 private:
  void Record(const MidiCall& call);

  std::array<Parameter, kNumParams> hostParameters_;
  std::array<MidiCall, kMidiCallCapacity> midiCalls_{};
  std::atomic<int> midiCallCount_{0};
  std::string stateText_;
};
