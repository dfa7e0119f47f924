// What the instrument asks of its open editor when one of its reactions
// needs a refresh. Requests are flags on a board the instrument owns: the
// editor takes them on its own thread at its next idle, so the instrument may
// ask from any thread (a state restored by the host, a controller on the
// audio thread) without ever calling into a window, and a request made just
// as the editor closes reaches nothing.
// Thread: any.
#pragma once

#include <atomic>

class InstrumentEditor {
 public:
  enum Request : unsigned {
    kIdleRefresh = 1u << 0,
    kRefreshPage = 1u << 1,
    kRefreshTimeline = 1u << 2,
    kClearTimelineSelection = 1u << 3,
    kUpdatePatchName = 1u << 4,
  };

  void IdleRefresh() { Ask(kIdleRefresh); }
  void RefreshPage() { Ask(kRefreshPage); }
  void RefreshTimeline() { Ask(kRefreshTimeline); }
  void ClearTimelineSelection() { Ask(kClearTimelineSelection); }
  void UpdatePatchName() { Ask(kUpdatePatchName); }
  bool IsSynthPageShowing() const { return synthPageShowing_.load(std::memory_order_relaxed); }

  // The editor's side.
  void SetSynthPageShowing(bool on) { synthPageShowing_.store(on, std::memory_order_relaxed); }
  unsigned TakeRequests() { return requests_.exchange(0, std::memory_order_acq_rel); }

 private:
  void Ask(unsigned r) { requests_.fetch_or(r, std::memory_order_acq_rel); }

  std::atomic<unsigned> requests_{0};
  std::atomic<bool> synthPageShowing_{false};
};
