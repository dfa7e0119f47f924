// The small listener interfaces of the controls and the process-wide timer
// table. Timers are the platform pump's: they fire on the user-interface
// thread whenever an editor's idle, a modal loop or a message pump runs,
// each listener entry at most once per pump however late it is.
// Thread: user-interface thread.
#pragma once

#include <cstdint>

namespace gui {

class ButtonListener {
 public:
  virtual ~ButtonListener() = default;
  virtual void ButtonClicked(int id) = 0;
};

class ToggleListener {
 public:
  virtual ~ToggleListener() = default;
  virtual void Toggled(int id, bool on) = 0;
};

class TimerListener {
 public:
  virtual ~TimerListener();
  virtual void OnTimer(void* context) = 0;
  // A second start with the same context sets the new period and keeps one
  // entry.
  virtual void StartTimer(void* context, int milliseconds);
  virtual void StopTimer(void* context);
};

namespace timers {

// Fires every entry that is due (the platform's timer tick).
void Tick();
// Milliseconds until the next entry is due, or -1 without entries.
int MillisecondsToNext();
int EntryCount();
// Installs Tick as the platform's timer tick; called by every editor.
void Install();

}  // namespace timers
}  // namespace gui
