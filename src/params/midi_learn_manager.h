// MIDI learn: ties MIDI controllers to parameters. The user picks "MIDI Learn"
// on a parameter's control and moves a controller; from then on every value of
// that controller is marked for the parameter and applied at the start of the
// next audio block. The mappings are kept in one file in the user's data
// folder, shared by every instance; each instance reads it once when it is made.
//
// Thread:
// - construction (AddLearnable, SetFilePath, LoadMappings): before the audio
//   thread and the editor use the manager;
// - audio thread: HandleEvent / ControlChange (learning included) and
//   ApplyPendingValues, which the instrument calls from its block loop under
//   its mutex. Neither allocates, locks or touches a file: a learned mapping
//   goes into storage reserved for kMaxMappings mappings and is only marked
//   as waiting to be stored;
// - user-interface thread: the learn menu (SetLearnTarget, CancelLearn,
//   HasMapping, Disconnect), WriteIfPending from the editor's timer, and
//   SaveMappings. The destructor stores a mapping still waiting.
// Mappings are only ever appended (by the audio thread, or by loading), and
// disconnecting clears a slot in place, so neither side waits for the other.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "params/parameter.h"
#include "shell/midi_events.h"

class Reader;

class MidiLearnManager : public MidiEventListener, public MidiEventSource {
 public:
  static constexpr int kControllerCount = 128;
  // Every controller tied to up to sixteen parameters. Slots are not reused
  // within a session (a disconnected one stays empty), so this also bounds
  // the learning done by one instance; loading starts afresh.
  static constexpr int kMaxMappings = kControllerCount * 16;
  // Marks a mapping without a value waiting to be applied.
  static constexpr int kNothingPending = -1;
  // Texts read from the mappings file fit a buffer of this many bytes.
  static constexpr std::size_t kTextCapacity = 128;
  static constexpr float kFileVersion = 1.0f;

  struct Learnable {
    std::string name;
    std::string groupPrefix;
    Parameter* parameter = nullptr;
  };
  struct Mapping {
    Parameter* parameter = nullptr;
    int controller = 0;
    int pending = kNothingPending;
  };

  MidiLearnManager();
  // Stores a learned mapping that WriteIfPending has not stored yet.
  ~MidiLearnManager() override;
  MidiLearnManager(const MidiLearnManager&) = delete;
  MidiLearnManager& operator=(const MidiLearnManager&) = delete;

  // Appends (name, group prefix, p) as they are now. The owner also gives p
  // this manager (Parameter::SetLearnManager) so its control offers the menu.
  void AddLearnable(Parameter* p);
  // Remembers the mappings file and loads it; after the learnables.
  void SetFilePath(std::string path);
  // Replaces the mappings with those of the file. Records naming no
  // learnable, or a controller outside 0..127, are skipped; a damaged file
  // gives the records before the damage. A file that cannot be opened
  // changes nothing. Construction only.
  void LoadMappings();
  // The same from the bytes of a mappings file (file framing: a
  // FileImageReader over a copy in memory, say), without a path.
  void ReadMappings(Reader& reader);
  // Creates the file's folder when missing and writes every mapping; false
  // when there is no path or the file could not be written. Not on the audio
  // thread.
  bool SaveMappings();
  // Saves when a mapping was learned since the last save; true when it
  // wrote. Called by the editor's timer on the user-interface thread.
  bool WriteIfPending();

  // The learn menu: "MIDI Learn" makes p the target; cancelling clears the
  // target only while it still is p.
  void SetLearnTarget(Parameter* p) { learnTarget_.store(p, std::memory_order_release); }
  void CancelLearn(Parameter* p);
  Parameter* learnTarget() const { return learnTarget_.load(std::memory_order_acquire); }
  bool HasMapping(const Parameter* p) const;
  // Removes every mapping of p. The file keeps them until something new is
  // learned, so they come back with the next instance.
  void Disconnect(const Parameter* p);

  // Decodes the event, then passes it to this manager's own listeners.
  void HandleEvent(int channel, int kind, int data1, int data2, int offset) override;
  // With a learn target: ties controller to it (the value is not applied).
  // Otherwise marks value for every mapping of controller, replacing a value
  // not applied yet. Any channel; the offset is not used.
  void ControlChange(int channel, int controller, int value, int offset) override;
  // Sets each mapped parameter with a waiting value v from v / 127 as the
  // host's setParameter does, but telling every listener (so the host hears
  // it as automation). Audio thread, at the start of a block.
  void ApplyPendingValues();

  // Copies for the editor and for checks; these allocate.
  std::vector<Mapping> Mappings() const;
  const std::vector<Learnable>& learnables() const { return learnables_; }
  bool hasFile() const { return hasFile_; }
  const std::string& filePath() const { return filePath_; }

 private:
  struct Slot {
    std::atomic<Parameter*> parameter{nullptr};  // none once disconnected
    std::atomic<int> controller{0};
    std::atomic<int> pending{kNothingPending};
  };

  // Fills the next slot and publishes it; false when the storage is full.
  // Only the audio thread, or loading, appends.
  bool Append(Parameter* p, int controller);
  Parameter* FindLearnable(const std::string& name, const std::string& groupPrefix) const;

  std::unique_ptr<Slot[]> slots_;
  std::atomic<int> used_{0};  // slots filled so far, in mapping order
  std::atomic<Parameter*> learnTarget_{nullptr};
  std::atomic<bool> writePending_{false};
  std::vector<Learnable> learnables_;
  bool hasFile_ = false;
  std::string filePath_;
};
