// What the instrument may ask of its open editor when one of its reactions
// needs a refresh. The editor registers itself under the instrument's mutex.
// Thread: user-interface thread.
#pragma once

class InstrumentEditor {
 public:
  virtual ~InstrumentEditor() = default;
  virtual void IdleRefresh() {}
  virtual void RefreshPage() {}
  virtual void RefreshTimeline() {}
  virtual void ClearTimelineSelection() {}
  virtual void UpdatePatchName() {}
  virtual bool IsSynthPageShowing() const { return false; }
};
