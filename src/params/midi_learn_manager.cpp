#include "params/midi_learn_manager.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <utility>

#include "persist/data_folders.h"
#include "persist/streams.h"

MidiLearnManager::MidiLearnManager() : slots_(std::make_unique<Slot[]>(kMaxMappings)) {}

MidiLearnManager::~MidiLearnManager() { WriteIfPending(); }

void MidiLearnManager::AddLearnable(Parameter* p) {
  learnables_.push_back({p->GetName(), p->groupPrefix(), p});
}

void MidiLearnManager::SetFilePath(std::string path) {
  hasFile_ = true;
  filePath_ = std::move(path);
  LoadMappings();
}

Parameter* MidiLearnManager::FindLearnable(const std::string& name,
                                           const std::string& groupPrefix) const {
  for (const Learnable& l : learnables_) {
    if (l.name == name && l.groupPrefix == groupPrefix) return l.parameter;
  }
  return nullptr;
}

bool MidiLearnManager::Append(Parameter* p, int controller) {
  const int i = used_.load(std::memory_order_relaxed);
  if (i >= kMaxMappings) return false;
  Slot& slot = slots_[static_cast<std::size_t>(i)];
  slot.controller.store(controller, std::memory_order_relaxed);
  slot.pending.store(kNothingPending, std::memory_order_relaxed);
  slot.parameter.store(p, std::memory_order_relaxed);
  used_.store(i + 1, std::memory_order_release);
  return true;
}

void MidiLearnManager::LoadMappings() {
  if (!hasFile_) return;
  FileReader reader;
  if (!reader.Open(filePath_)) return;
  ReadMappings(reader);
}

void MidiLearnManager::ReadMappings(Reader& reader) {
  try {
    reader.ReadFloat();  // the version: every version so far reads alike
    const std::int32_t count = reader.ReadInt();
    used_.store(0, std::memory_order_release);
    // A count larger than the file ends at its last whole record.
    for (std::int32_t i = 0; i < count; ++i) {
      const std::string name = reader.ReadString(kTextCapacity);
      const std::string groupPrefix = reader.ReadString(kTextCapacity);
      const std::int32_t controller = reader.ReadInt();
      Parameter* p = FindLearnable(name, groupPrefix);
      if (p == nullptr || controller < 0 || controller >= kControllerCount) continue;
      if (!Append(p, controller)) break;
    }
  } catch (const StreamError&) {
    // Damaged or cut short: keep the records read before the damage.
  }
}

bool MidiLearnManager::SaveMappings() {
  if (!hasFile_) return false;
  const std::vector<Mapping> mappings = Mappings();
  // The data folder may not exist yet on a first run.
  const std::string folder = std::filesystem::path(filePath_).parent_path().string();
  if (!folder.empty()) CreateFolderWithParents(folder);
  FileWriter writer;
  if (!writer.Open(filePath_)) return false;
  try {
    writer.WriteFloat(kFileVersion);
    writer.WriteInt(static_cast<std::int32_t>(mappings.size()));
    for (const Mapping& m : mappings) {
      writer.WriteString(m.parameter->GetName());
      writer.WriteString(m.parameter->groupPrefix());
      writer.WriteInt(m.controller);
    }
  } catch (const StreamError&) {
    writer.Close();
    return false;
  }
  return writer.Close();
}

bool MidiLearnManager::WriteIfPending() {
  // Cleared before the copy is taken: a mapping learned meanwhile sets the
  // flag again and is stored by the next call.
  if (!writePending_.exchange(false, std::memory_order_acq_rel)) return false;
  return SaveMappings();
}

void MidiLearnManager::CancelLearn(Parameter* p) {
  Parameter* expected = p;
  learnTarget_.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
}

bool MidiLearnManager::HasMapping(const Parameter* p) const {
  if (p == nullptr) return false;
  const int used = used_.load(std::memory_order_acquire);
  for (int i = 0; i < used; ++i) {
    if (slots_[static_cast<std::size_t>(i)].parameter.load(std::memory_order_relaxed) == p) {
      return true;
    }
  }
  return false;
}

void MidiLearnManager::Disconnect(const Parameter* p) {
  if (p == nullptr) return;
  const int used = used_.load(std::memory_order_acquire);
  for (int i = 0; i < used; ++i) {
    Slot& slot = slots_[static_cast<std::size_t>(i)];
    Parameter* expected = const_cast<Parameter*>(p);
    slot.parameter.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
  }
}

void MidiLearnManager::HandleEvent(int channel, int kind, int data1, int data2, int offset) {
  Decode(channel, kind, data1, data2, offset);
  ForwardEvent(channel, kind, data1, data2, offset);
}

void MidiLearnManager::ControlChange(int /*channel*/, int controller, int value, int /*offset*/) {
  if (controller < 0 || controller >= kControllerCount) return;
  Parameter* target = learnTarget_.load(std::memory_order_acquire);
  if (target != nullptr) {
    if (Append(target, controller)) writePending_.store(true, std::memory_order_release);
    // Cleared only now: the editor, once it sees the target gone, also sees
    // the mapping and the file waiting. A target it chose meanwhile stays
    // for the next controller.
    learnTarget_.compare_exchange_strong(target, nullptr, std::memory_order_acq_rel);
    return;
  }
  value = std::clamp(value, 0, kControllerCount - 1);
  const int used = used_.load(std::memory_order_acquire);
  for (int i = 0; i < used; ++i) {
    Slot& slot = slots_[static_cast<std::size_t>(i)];
    if (slot.controller.load(std::memory_order_relaxed) == controller &&
        slot.parameter.load(std::memory_order_relaxed) != nullptr) {
      slot.pending.store(value, std::memory_order_relaxed);
    }
  }
}

void MidiLearnManager::ApplyPendingValues() {
  const int used = used_.load(std::memory_order_acquire);
  for (int i = 0; i < used; ++i) {
    Slot& slot = slots_[static_cast<std::size_t>(i)];
    if (slot.pending.load(std::memory_order_relaxed) == kNothingPending) continue;
    const int value = slot.pending.exchange(kNothingPending, std::memory_order_relaxed);
    Parameter* p = slot.parameter.load(std::memory_order_acquire);
    if (p == nullptr || value == kNothingPending) continue;
    // Source none: every listener hears it, the host's automation one too.
    p->SetFromHost(static_cast<float>(value) / 127.0f, nullptr);
  }
}

std::vector<MidiLearnManager::Mapping> MidiLearnManager::Mappings() const {
  std::vector<Mapping> result;
  const int used = used_.load(std::memory_order_acquire);
  for (int i = 0; i < used; ++i) {
    const Slot& slot = slots_[static_cast<std::size_t>(i)];
    Parameter* p = slot.parameter.load(std::memory_order_relaxed);
    if (p == nullptr) continue;
    result.push_back({p, slot.controller.load(std::memory_order_relaxed),
                      slot.pending.load(std::memory_order_relaxed)});
  }
  return result;
}
