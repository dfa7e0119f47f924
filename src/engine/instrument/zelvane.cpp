#include "engine/instrument/zelvane.h"

#include <cstdio>

namespace {

PluginIdentity ZelvaneIdentity(const InstanceOptions& options) {
  PluginIdentity id;
  id.numParams = Zelvane::kNumParams;
  id.stereoInputPairs = 0;
  id.stereoOutputPairs = 1;
  id.isSynth = true;
  id.uniqueId = vst2::FourCC('T', 'v', 'Z', '1');
  id.effectName = "Zelvane";
  id.vendorName = "Tarvenn Audio";
  id.moduleName = options.moduleName;
  return id;
}

}  // namespace

Zelvane::Zelvane(vst2::audioMasterCallback audioMaster, const InstanceOptions& options)
    : InstrumentBase(audioMaster, ZelvaneIdentity(options), kNoteCount) {
  CreateNotes();
  for (Parameter& p : hostParameters_) {
    p.Init("", 0.0f, 1.0f);
    AddParameter(&p);
    AddAutomatable(&p);
  }
  SetPluginState(this);
}

Zelvane::~Zelvane() = default;

std::unique_ptr<Note> Zelvane::CreateNote(int /*index*/) { return std::make_unique<Note>(); }

void Zelvane::RenderBlock(float* /*left*/, float* /*right*/, int /*frames*/, int /*pair*/) {
  std::lock_guard lock(mutex());
  // The outputs arrive zeroed: silence until the engine renders notes.
}

void Zelvane::Record(const MidiCall& call) {
  const int i = midiCallCount_.load(std::memory_order_relaxed);
  if (i >= kMidiCallCapacity) return;
  midiCalls_[static_cast<std::size_t>(i)] = call;
  midiCallCount_.store(i + 1, std::memory_order_release);
}

void Zelvane::NoteOn(int channel, int note, int velocity, int offset) {
  Record({MidiCall::kNoteOn, channel, note, velocity, offset, 0.0f});
}
void Zelvane::NoteOff(int channel, int note, int offset) {
  Record({MidiCall::kNoteOff, channel, note, 0, offset, 0.0f});
}
void Zelvane::AllNotesOff(int channel) { Record({MidiCall::kAllNotesOff, channel, 0, 0, 0, 0.0f}); }
void Zelvane::SustainOn(int channel, int offset) {
  Record({MidiCall::kSustainOn, channel, 0, 0, offset, 0.0f});
}
void Zelvane::SustainOff(int channel, int offset) {
  Record({MidiCall::kSustainOff, channel, 0, 0, offset, 0.0f});
}
void Zelvane::ControlChange(int channel, int controller, int value, int offset) {
  Record({MidiCall::kControlChange, channel, controller, value, offset, 0.0f});
}
void Zelvane::PitchBend(int channel, float bend, int offset) {
  Record({MidiCall::kPitchBend, channel, 0, 0, offset, bend});
}
void Zelvane::OtherMessage(int channel, int kind, int data1, int data2, int offset) {
  Record({MidiCall::kOther, channel, kind, data1 * 128 + data2, offset, 0.0f});
}

const std::string& Zelvane::GetState() {
  stateText_.clear();  // nothing to keep until the patch body exists
  return stateText_;
}

bool Zelvane::SetState(const void* /*data*/, std::size_t /*size*/) {
  std::fprintf(stderr, "Zelvane: this build keeps no state; the chunk was ignored\n");
  return false;
}
