// Adds the note pool to the instrument layers and enters the instrument in
// the registry of live instruments for as long as it exists.
// Thread: construction and destruction on the user-interface thread.
#pragma once

#include <memory>
#include <vector>

#include "shell/vst_instrument_base.h"

class InstrumentBase;

// One slot of the note pool.
class Note {
 public:
  virtual ~Note() = default;
  virtual void Initialise() {}
  InstrumentBase* instrument = nullptr;
};

class InstrumentBase : public VstInstrumentBase {
 public:
  InstrumentBase(vst2::audioMasterCallback audioMaster, const PluginIdentity& identity,
                 int noteCount);
  ~InstrumentBase() override;

  int noteCount() const { return noteCount_; }
  Note& note(int index) { return *notes_[static_cast<std::size_t>(index)]; }

 protected:
  virtual std::unique_ptr<Note> CreateNote(int index) = 0;
  // Fills the pool once; the most derived constructor calls it, since
  // CreateNote is virtual.
  void CreateNotes();

 private:
  int noteCount_;
  std::vector<std::unique_ptr<Note>> notes_;
};
