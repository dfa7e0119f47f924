#include "shell/instrument_base.h"

#include "shell/instrument_registry.h"

InstrumentBase::InstrumentBase(vst2::audioMasterCallback audioMaster,
                               const PluginIdentity& identity, int noteCount)
    : VstInstrumentBase(audioMaster, identity), noteCount_(noteCount) {
  instrument_registry::Add(this, static_cast<AudioEffectX*>(this));
}

InstrumentBase::~InstrumentBase() { instrument_registry::Remove(this); }

void InstrumentBase::CreateNotes() {
  notes_.clear();
  notes_.reserve(static_cast<std::size_t>(noteCount_));
  for (int i = 0; i < noteCount_; ++i) {
    notes_.push_back(CreateNote(i));
    notes_.back()->instrument = this;
    notes_.back()->Initialise();
  }
}
