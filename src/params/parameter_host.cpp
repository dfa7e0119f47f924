#include "params/parameter_host.h"

#include "persist/streams.h"

void ParameterHost::AddParameter(Parameter* p) {
  lists_[ListIndex(p->GetStorageKind())].push_back(p);
  p->Subscribe(this);
  p->SetOwner(this);
  AddBufferChild(p);
}

void ParameterHost::AddChildHost(ParameterHost* child) {
  children_.push_back(child);
  AddBufferChild(child);
}

void ParameterHost::NotifyParameters(int kind, bool recursive) {
  // Kinds 2 and 3 both name the third list; any other kind names none.
  if (kind >= 0 && kind <= 3) {
    for (Parameter* p : lists_[ListIndex(kind)]) p->NotifyListeners();
  }
  if (recursive) {
    for (ParameterHost* child : children_) child->NotifyParameters(kind, true);
  }
}

void ParameterHost::WriteParameters(Writer& writer) {
  for (const auto& list : lists_) {
    for (Parameter* p : list) writer.WriteFloat(p->rawValue());
  }
  for (ParameterHost* child : children_) child->WriteParameters(writer);
}

void ParameterHost::ReadParameters(Reader& reader) {
  for (const auto& list : lists_) {
    for (Parameter* p : list) {
      p->SetValue(reader.ReadFloat());
      p->NotifyListeners();
    }
  }
  for (ParameterHost* child : children_) child->ReadParameters(reader);
}
