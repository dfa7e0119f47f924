// While an editor is open, ShowMessageBox shows its boxes over the editor
// opened most recently (several may be open, one per plug-in instance);
// once the last one closes, the handler that was there before (stderr)
// returns. Boxes asked for off the user-interface thread still go to that
// earlier handler: a modal window may only run on the editors' thread.
// Thread: Register and Unregister on the user-interface thread; the
// installed handler may be called from any.
#pragma once

#include "gui/window.h"

namespace gui {

// editorRoot must stay alive until it is unregistered.
void RegisterEditorForMessageBoxes(Window& editorRoot);
void UnregisterEditorForMessageBoxes(Window& editorRoot);

// Registers for as long as it lives: a member of the editor root, declared
// after anything a message box might need.
class EditorMessageBoxes {
 public:
  explicit EditorMessageBoxes(Window& editorRoot) : root_(editorRoot) { RegisterEditorForMessageBoxes(root_); }
  ~EditorMessageBoxes() { UnregisterEditorForMessageBoxes(root_); }
  EditorMessageBoxes(const EditorMessageBoxes&) = delete;
  EditorMessageBoxes& operator=(const EditorMessageBoxes&) = delete;

 private:
  Window& root_;
};

}  // namespace gui
