#include "persist/patch_actions.h"

#include <algorithm>

#include "engine/instrument/zelvane.h"
#include "shell/message_box.h"

namespace patch_actions {

namespace {

bool Untitled(const std::string& name) { return name.empty() || name == Zelvane::kUntitled; }

SaveOutcome SaveTo(Zelvane& z, const std::string& category, const std::string& name) {
  if (z.SavePatch(category, name)) return SaveOutcome::kSaved;
  // Keeping the existing file is the user's answer, not a failure.
  if (z.patchLibrary().declined()) return SaveOutcome::kCancelled;
  ShowMessageBox("Error: Could not save patch", "Zelvane error", MessageBoxButtons::kOk);
  return SaveOutcome::kFailed;
}

}  // namespace

SaveAsRequest MakeSaveAsRequest(Zelvane& z) {
  PresetLibrary& library = z.patchLibrary();
  library.Rescan();
  SaveAsRequest request;
  request.title = kSaveAsTitle;
  for (const PresetLibrary::Category& c : library.categories()) request.categories.push_back(c.name);
  const auto it = std::find(request.categories.begin(), request.categories.end(), z.category());
  if (it != request.categories.end()) {
    request.preselected = static_cast<int>(it - request.categories.begin());
  }
  if (!Untitled(z.patchName())) request.initialName = z.patchName();
  return request;
}

SaveOutcome SaveAs(Zelvane& z, SaveAsDialog& dialog) {
  const std::optional<SaveAsChoice> choice = dialog.Ask(MakeSaveAsRequest(z));
  if (!choice) return SaveOutcome::kCancelled;
  return SaveTo(z, choice->category, choice->name);
}

SaveOutcome Save(Zelvane& z, SaveAsDialog& dialog) {
  // A patch with a name but no category (a reset, an old state) has no
  // folder to go back to: ask for one.
  if (Untitled(z.patchName()) || Untitled(z.category())) return SaveAs(z, dialog);
  return SaveTo(z, z.category(), z.patchName());
}

bool Reset(Zelvane& z) {
  if (ShowMessageBox("Sure you want clear this patch?", "Reset Patch", MessageBoxButtons::kYesNo) !=
      MessageBoxAnswer::kYes) {
    return false;
  }
  z.ResetPatch();
  if (InstrumentEditor* editor = z.editor()) editor->RefreshPage();
  return true;
}

}  // namespace patch_actions
