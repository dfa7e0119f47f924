// The instrument's top-level parameter host with its mutex (re-entrant: a
// thread holding it may take it again) and the open editor, if any.
// Thread: the mutex is taken by the audio thread for each block and by the
// user-interface thread for structural changes.
#pragma once

#include <mutex>

#include "params/parameter_host.h"
#include "shell/instrument_editor.h"

class PluginBase : public ParameterHost {
 public:
  std::recursive_mutex& mutex() { return mutex_; }
  InstrumentEditor* editor() const { return editor_; }
  // Set and cleared by the editor at open and close, under the mutex.
  void SetEditor(InstrumentEditor* editor) {
    std::lock_guard lock(mutex_);
    if (editor != nullptr) {
      editor_ = editor;
      EditorArrived();
    } else {
      EditorLeaving();
      editor_ = nullptr;
    }
  }

 protected:
  virtual void EditorArrived() {}
  virtual void EditorLeaving() {}

 private:
  std::recursive_mutex mutex_;
  InstrumentEditor* editor_ = nullptr;
};
