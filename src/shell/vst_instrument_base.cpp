#include "shell/vst_instrument_base.h"

#include <cstring>

void VstInstrumentBase::HandleEvent(int channel, int kind, int data1, int data2, int offset) {
  Decode(channel, kind, data1, data2, offset);
  ForwardEvent(channel, kind, data1, data2, offset);
}

bool VstInstrumentBase::canDo(const char* text) {
  return std::strcmp(text, "receiveVstEvents") == 0 || std::strcmp(text, "receiveVstMidiEvent") == 0;
}

void VstInstrumentBase::processEvents(const vst2::VstEvents* events) {
  if (events == nullptr) return;
  for (vst2::VstInt32 i = 0; i < events->numEvents; ++i) {
    const vst2::VstEvent* e = events->events[i];
    if (e == nullptr || e->type != vst2::kVstMidiType) continue;
    const auto* midi = reinterpret_cast<const vst2::VstMidiEvent*>(e);
    const int status = static_cast<unsigned char>(midi->midiData[0]);
    const int data1 = static_cast<unsigned char>(midi->midiData[1]) & 0x7F;
    const int data2 = static_cast<unsigned char>(midi->midiData[2]) & 0x7F;
    // Offsets a host puts outside the block are treated as its first frame.
    const int offset = midi->deltaFrames < 0 ? 0 : midi->deltaFrames;
    HandleEvent(status & 0x0F, status & 0xF0, data1, data2, offset);
  }
}
