#include "gui/editor_message_boxes.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "gui/message_box_frame.h"
#include "shell/message_box.h"

namespace gui {
namespace {

// Plain data, constant-initialised: usable from any thread at any time,
// even while the process exits.
struct Registry {
  std::mutex lock;
  std::vector<Window*>* editors = nullptr;  // oldest first
  MessageBoxHandler previous = nullptr;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

MessageBoxAnswer ShowOverEditor(const std::string& text, const std::string& caption, MessageBoxButtons buttons) {
  Registry& r = TheRegistry();
  Window* editor = nullptr;
  MessageBoxHandler previous = nullptr;
  {
    std::lock_guard guard(r.lock);
    previous = r.previous;
    if (r.editors != nullptr && !r.editors->empty()) editor = r.editors->back();
  }
  if (editor == nullptr || !OnUserInterfaceThread()) {
    if (previous != nullptr) return previous(text, caption, buttons);
    return buttons == MessageBoxButtons::kYesNo ? MessageBoxAnswer::kNo : MessageBoxAnswer::kOk;
  }
  // Only the user-interface thread changes the list, so editor stays valid.
  return ShowWindowMessageBox(*editor, text, caption, buttons);
}

}  // namespace

void RegisterEditorForMessageBoxes(Window& editorRoot) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  if (r.editors == nullptr) r.editors = new std::vector<Window*>();
  std::erase(*r.editors, &editorRoot);
  r.editors->push_back(&editorRoot);
  if (r.editors->size() == 1) {
    // SetMessageBoxHandler answers the handler being replaced.
    r.previous = SetMessageBoxHandler(&ShowOverEditor);
  }
}

void UnregisterEditorForMessageBoxes(Window& editorRoot) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  if (r.editors == nullptr) return;
  const std::size_t before = r.editors->size();
  std::erase(*r.editors, &editorRoot);
  if (before > 0 && r.editors->empty()) {
    SetMessageBoxHandler(r.previous);
    r.previous = nullptr;
    delete r.editors;
    r.editors = nullptr;
  }
}

}  // namespace gui
