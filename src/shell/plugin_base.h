// The instrument's top-level parameter host with its mutex (re-entrant: a
// thread holding it may take it again) and the board of requests for its
// editor while one is open.
// Thread: the mutex is taken by the audio thread for each block and by the
// user-interface thread for structural changes; editor() from any thread.
#pragma once

#include <atomic>
#include <mutex>

#include "params/parameter_host.h"
#include "shell/instrument_editor.h"

class PluginBase : public ParameterHost {
 public:
  std::recursive_mutex& mutex() { return mutex_; }
  // The open editor's request board, or null while no editor is open.
  InstrumentEditor* editor() const {
    return editorOpen_.load(std::memory_order_acquire) ? &board_ : nullptr;
  }
  // Set and cleared by the editor at open and close, under the mutex.
  void SetEditorOpen(bool open) {
    std::lock_guard lock(mutex_);
    if (open) {
      board_.TakeRequests();  // nothing left over from an earlier editor
      editorOpen_.store(true, std::memory_order_release);
      EditorArrived();
    } else {
      EditorLeaving();
      editorOpen_.store(false, std::memory_order_release);
    }
  }
  InstrumentEditor& editorBoard() { return board_; }

 protected:
  virtual void EditorArrived() {}
  virtual void EditorLeaving() {}

 private:
  std::recursive_mutex mutex_;
  mutable InstrumentEditor board_;
  std::atomic<bool> editorOpen_{false};
};
