// The File menu's patch commands: "Save", "Save As.." and "Reset Patch". The
// editor shows the menu and the save dialog; the logic, the questions and
// the messages are here, so they work (and are tested) without a display.
// Thread: the user-interface thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

class Zelvane;

// What the save dialog is opened with, and what it answers.
struct SaveAsRequest {
  std::string title;                    // "Save Patch As..."
  std::vector<std::string> categories;  // the patch library's, in listing order
  int preselected = -1;                 // the current category, -1 when not listed
  std::string initialName;              // empty for an untitled patch
};
struct SaveAsChoice {
  std::string category;
  std::string name;
};

class SaveAsDialog {
 public:
  virtual ~SaveAsDialog() = default;
  // Runs the dialog; none when the user cancels.
  virtual std::optional<SaveAsChoice> Ask(const SaveAsRequest& request) = 0;
};

enum class SaveOutcome { kSaved, kCancelled, kFailed };

namespace patch_actions {

inline constexpr const char* kSaveAsTitle = "Save Patch As...";

// Saves under the current name and category; an untitled patch goes
// through "Save As..". A failure shows "Error: Could not save patch".
SaveOutcome Save(Zelvane& z, SaveAsDialog& dialog);
SaveOutcome SaveAs(Zelvane& z, SaveAsDialog& dialog);
// The dialog's opening state for the instrument as it is now.
SaveAsRequest MakeSaveAsRequest(Zelvane& z);
// Asks "Sure you want clear this patch?"; on Yes resets the patch. True when
// it did.
bool Reset(Zelvane& z);

}  // namespace patch_actions
