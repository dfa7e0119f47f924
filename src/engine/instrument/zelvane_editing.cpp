// The instrument's parameter reactions and the editing of the selected
// voice: bridges, edit proxies, multiple selections, freeze position.
#include <algorithm>
#include <cmath>

#include "engine/instrument/zelvane.h"

// Raises the editor guard for a scope, so that the instrument's own writes do
// not run the reactions meant for the user's.
class Zelvane::GuardScope {
 public:
  explicit GuardScope(Zelvane& z) : z_(z), previous_(z.editorGuard_) { z.editorGuard_ = true; }
  ~GuardScope() { z_.editorGuard_ = previous_; }

 private:
  Zelvane& z_;
  bool previous_;
};

void Zelvane::ParameterChanged(float /*value*/, Parameter* which) {
  InstrumentEditor* ed = editor();
  if (which == &enabled_) {
    if (!enabled_.GetBool()) CutAllNotes();
  } else if (which == &keyMode_) {
    CutAllNotes();
    activeNoteLimit_ = keyMode_.GetIntValue() == 0 ? polyphony_.GetIntValue() : 1;
  } else if (which == &polyphony_) {
    activeNoteLimit_ = polyphony_.GetIntValue();
  } else if (which == &bridge(5)) {
    SetProxySteps(4, 1, bridge(5).GetBool());
  } else if (which == &bridge(6)) {
    SetProxySteps(4, 4, bridge(6).GetBool());
  } else if (which == &filter1_.cutoff()) {
    if (filter1_.cutoff().GetValue() > filter2_.cutoff().GetValue()) {
      filter2_.cutoff().SetValue(filter1_.cutoff().GetValue());
    }
  } else if (which == &filter2_.cutoff()) {
    if (filter2_.cutoff().GetValue() < filter1_.cutoff().GetValue()) {
      filter1_.cutoff().SetValue(filter2_.cutoff().GetValue());
    }
  } else if (which == &freezePosition_) {
    FreezePositionChanged();
  } else if (which == &multipleSelectionMode_) {
    GuardScope guard(*this);
    if (ed != nullptr) ed->RefreshTimeline();
  } else if (which == &bridge(13) || which == &timeFreeze_) {
    if (ed != nullptr) ed->RefreshPage();
  }
}

void Zelvane::SetProxySteps(int line, int index, bool stepped) {
  ZParam* p = FindProxy(line, index);
  if (p == nullptr) return;
  p->SetType(stepped ? Parameter::kInteger : Parameter::kContinuous);
  p->SetCurve(stepped ? Parameter::kLinear : Parameter::kCubic);
  p->NotifyListeners();
}

void Zelvane::FreezePositionChanged() {
  if (!timeFreeze_.GetBool() || editorGuard_) return;
  const float longest = voiceSettings(selectedVoice()).LongestLine();
  const float t = std::max(0.0f, Parameter::RoundHalfUp(freezePosition_.GetValue() * longest));
  SetEditTime(t);
  {
    GuardScope guard(*this);
    freezePosition_.SetValue(longest > 0.0f ? t / longest : 0.0f);
  }
  if (editor() != nullptr) editor()->RefreshTimeline();
}

ZParam* Zelvane::FindProxy(int line, int index) {
  for (ZParam& p : proxies_) {
    if (p.group() == line && p.index() == index) return &p;
  }
  return nullptr;
}

void Zelvane::SelectVoice(int k) {
  DeferredAutomation deferred(*this);
  EditLock lock(*this);
  k = std::clamp(k, 0, kVoices - 1);
  selectedVoice_ = k;
  for (int i = 0; i < kBridges; ++i) {
    bridges_[static_cast<std::size_t>(i)].SetTarget(
        &voiceSettings(k).setting(kBridgeTargets[static_cast<std::size_t>(i)]));
  }
  if (InstrumentEditor* ed = editor()) {
    {
      GuardScope guard(*this);
      ed->IdleRefresh();
      NotifyParameters(1, false);
    }
    if (ed->IsSynthPageShowing()) ed->ClearTimelineSelection();
  }
  SetMultipleSelection(nullptr);
}

float Zelvane::ReadEditedValue(int voice, int line, int index) {
  std::lock_guard lock(mutex());
  const EventEnvelope& l = voiceSettings(voice).line(line);
  if (index < 0 || index >= l.valuesPerPoint()) return 0.0f;
  std::array<float, 23> values{};
  int hint = 0;
  l.Evaluate(editTime(), hint, values.data());
  return values[static_cast<std::size_t>(index)];
}

bool Zelvane::WriteEditedValue(int voice, int line, int index, float value) {
  EditLock lock(*this);
  if (EditingLocked()) return false;
  EventEnvelope& l = voiceSettings(voice).line(line);
  if (index < 0 || index >= l.valuesPerPoint()) return false;
  const float t = editTime();
  int found = -1;
  for (int i = 0; i < l.size() && l[i].time <= t; ++i) {
    if (l[i].time == t) {
      found = i;
      break;
    }
  }
  const bool inserted = found < 0;
  if (inserted) {
    int hint = 0;
    found = l.Insert(t, true, hint);
  }
  l[found].values[static_cast<std::size_t>(index)] = value;
  return inserted;
}

void Zelvane::WriteSelectionValue(int line, int index, float value, ZParam& proxy) {
  EditLock lock(*this);
  if (selection_ == nullptr) return;
  EventEnvelope& l = voiceSettings(selectedVoice()).line(line);
  if (index < 0 || index >= l.valuesPerPoint()) return;
  auto selected = [&](auto&& f) {
    for (const PointSelection::Point& p : selection_->points) {
      if (p.line == line && p.index >= 0 && p.index < l.size()) {
        f(l[p.index].values[static_cast<std::size_t>(index)]);
      }
    }
  };
  if (multipleSelectionMode_.GetIntValue() == 2) {
    selected([&](float& v) { v = value; });
    return;
  }
  const float lo = std::min(proxy.GetMinimum(), proxy.GetMaximum());
  const float hi = std::max(proxy.GetMinimum(), proxy.GetMaximum());
  const float range = proxy.GetRange();
  if (range == 0.0f) return;
  float& offset = selectionOffsets_[static_cast<std::size_t>(line)][static_cast<std::size_t>(index)];
  float d = (proxy.Normalize(value) - 0.5f - offset) * range;
  // Move the whole selection only as far as its outermost value may go.
  selected([&](float& v) {
    if (v + d > hi) d = hi - v;
    if (v + d < lo) d = lo - v;
  });
  offset += d / range;
  selected([&](float& v) { v += d; });
}

void Zelvane::SetMultipleSelection(const PointSelection* selection) {
  std::lock_guard edit(editMutex_);
  selection_ = selection;
  for (auto& line : selectionOffsets_) line.fill(0.0f);
}

float Zelvane::ReadProxyValue(const ZParam& proxy) {
  std::lock_guard edit(editMutex_);  // the selection and its offsets
  if (SelectionActive() && multipleSelectionMode_.GetIntValue() == 1) {
    const float offset = selectionOffset(proxy.group(), proxy.index());
    return proxy.Denormalize(offset + 0.5f);
  }
  return ReadEditedValue(selectedVoice(), proxy.group(), proxy.index());
}

void Zelvane::WriteProxyValue(ZParam& proxy, float value) {
  std::lock_guard edit(editMutex_);
  if (SelectionActive()) {
    // Mode 0 leaves a multiple selection alone.
    if (multipleSelectionMode_.GetIntValue() != 0) {
      WriteSelectionValue(proxy.group(), proxy.index(), value, proxy);
      if (editor() != nullptr) editor()->RefreshTimeline();
    }
    return;
  }
  if (WriteEditedValue(selectedVoice(), proxy.group(), proxy.index(), value) && editor() != nullptr) {
    editor()->RefreshTimeline();
  }
}

void Zelvane::SetPatchName(std::string name) {
  std::lock_guard edit(editMutex_);  // a state save may be reading it
  patchName_ = std::move(name);
  if (editor() != nullptr) editor()->UpdatePatchName();
}

void Zelvane::SetRoutingSource(int layer, int row, int id) {
  EditLock lock(*this);
  // The sixth pad's Y row has no settings row: its assignment record keeps it.
  if (row < VoiceSettings::kRoutingRows) voiceSettings(layer).routing(row).sourceOutput = id;
  for (int i = 0; i < kNoteCount; ++i) znote(i).layer(layer).routing().SetSource(row, id);
}

void Zelvane::SetRoutingTarget(int layer, int row, int id) {
  EditLock lock(*this);
  if (row < VoiceSettings::kRoutingRows) {
    ModRouting& r = voiceSettings(layer).routing(row);
    r.targetInput = id;
    r.voiceTarget = id < 7;
  }
  for (int i = 0; i < kNoteCount; ++i) znote(i).layer(layer).routing().SetTarget(row, id);
}

void Zelvane::ClearRoutings(int layer) {
  EditLock lock(*this);
  for (int row = 0; row < RoutingTable::kMatrixRows; ++row) {
    SetRoutingSource(layer, row, -1);
    SetRoutingTarget(layer, row, -1);
    voiceSettings(layer).routing(row).enabled = true;
    for (int i = 0; i < kNoteCount; ++i) znote(i).layer(layer).routing().row(row).enabled = true;
  }
}

void Zelvane::SetPadAssignment(int k, int axis, bool assigned, int voice, int target) {
  EditLock lock(*this);
  const int row = RoutingTable::kFirstPerformRow + 2 * k + axis;
  auto forLayers = [](int choice, auto&& f) {
    for (int layer = 0; layer < kVoices; ++layer) {
      if (choice == 4 || choice == layer) f(layer);
    }
  };
  auto enable = [&](int layer, bool on) {
    if (row < VoiceSettings::kRoutingRows) {
      ModRouting& r = voiceSettings(layer).routing(row);
      r.enabled = on;
      r.amount = 1.0f;
      r.amountFromLine = false;
    }
    for (int i = 0; i < kNoteCount; ++i) {
      ModRouting& r = znote(i).layer(layer).routing().row(row);
      r.enabled = on;
      r.amount = 1.0f;
      r.amountFromLine = false;
    }
  };
  PerformModSource::Assignment& a = performSource(k).assignment(axis);
  if (a.assigned) forLayers(a.voice, [&](int layer) { enable(layer, false); });
  a = {assigned, voice, target};
  if (!assigned) return;
  forLayers(voice, [&](int layer) {
    enable(layer, true);
    SetRoutingSource(layer, row, axis == 0 ? 2 + k : 6 + k);
    SetRoutingTarget(layer, row, target);
  });
}

bool Zelvane::EditingLocked() const {
  return animatedNote_ != nullptr && editor() != nullptr && animationEnabled_.GetBool() &&
         !timeFreeze_.GetBool();
}

void Zelvane::SetCategory(std::string name) {
  std::lock_guard edit(editMutex_);
  category_ = std::move(name);
}
