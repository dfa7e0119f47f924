#include "editor/gui.h"

#include "editor/pages.h"
#include "engine/instrument/zelvane.h"
#include "gui/controls/skin_images.h"
#include "gui/popup_menu.h"
#include "persist/data_folders.h"
#include "shell/instrument_editor.h"
#include "shell/message_box.h"

namespace {

constexpr const char* kBackgrounds[3] = {"ZelvaneBackground.png", "PerformBackground.png",
                                         "PresetBackground.png"};

// Until the library screens bring the real dialog: "Save As.." says so.
class NoSaveAsDialog : public SaveAsDialog {
 public:
  std::optional<SaveAsChoice> Ask(const SaveAsRequest&) override {
    ShowMessageBox("Save As.. is not available yet. Use Save to keep a patch that has a name.", "",
                   MessageBoxButtons::kOk);
    return std::nullopt;
  }
};

}  // namespace

GUI::GUI(AudioEffectX* effect) : EffectGUIBase(effect) {}

GUI::~GUI() { Close(); }

Zelvane* GUI::zelvane() const { return dynamic_cast<Zelvane*>(instrument()); }

void GUI::Build() {
  messageBoxes_.emplace(*this);
  gui::SkinErrorBatch oneMessage;  // a skin not installed: one box, not dozens
  BuildTopBar();
  for (int i = 0; i < 3; ++i) {
    try {
      backgrounds_[static_cast<std::size_t>(i)].LoadFromFile(gui::SkinPath(kBackgrounds[i]));
    } catch (const gui::ImageError& e) {
      gui::ReportSkinError(e.what(), "Zelvane Error");
    }
  }
  UpdatePatchName();
  page_ = -1;
  SelectPage(kSynthPage);
}

void GUI::BuildTopBar() {
  help_.Create(this, 7, 9, "Help But Up.png", "Help But Down.png", this, kHelp);
  about_.Create(this, 39, 4, "AboutButUp.png", "AboutButDown.png", this, kAbout);
  file_.Create(this, 77, 4, "FileButUp.png", "FileButDown.png", this, kFile);
  synthTab_.Create(this, 118, 4, 68, 32, this, kSynthTab);
  presetTab_.Create(this, 187, 4, 68, 30, this, kPresetTab);
  performTab_.Create(this, 255, 4, 70, 30, this, kPerformTab);
  previous_.Create(this, 338, 6, "PresetPreviousButUp.png", "PresetPreviousButDown.png", this,
                   kPreviousPatch);
  patchName_.Create(this, 364, 14, 150, 20, "");
  patchName_.SetColour(255, 255, 255);
  patchName_.SetFont(10, true);
  next_.Create(this, 516, 6, "PresetNextButUp.png", "PresetNextButDown.png", this, kNextPatch);
}

void GUI::Unbuild() {
  pageObject_.reset();
  page_ = -1;
  splash_.reset();
  leaving_.reset();
  for (gui::Window* w : std::initializer_list<gui::Window*>{&help_, &about_, &file_, &synthTab_, &presetTab_,
                                                             &performTab_, &previous_, &patchName_, &next_}) {
    w->RemoveFromParent();
  }
  if (InstrumentEditor* b = board()) b->SetSynthPageShowing(false);
  messageBoxes_.reset();
}

void GUI::Paint(gui::GraphicsContext& g) {
  if (page_ >= 0) backgrounds_[static_cast<std::size_t>(page_)].Draw(g, 0, 0);
}

void GUI::SelectPage(int page) {
  if (page < kSynthPage || page > kPresetPage || page == page_) return;
  page_ = page;
  pageObject_.reset();
  Repaint();
  Zelvane* z = zelvane();
  switch (page) {
    case kSynthPage: {
      auto p = std::make_unique<SynthGUI>();
      p->Create(this, z);
      pageObject_ = std::move(p);
      break;
    }
    case kPerformPage: {
      auto p = std::make_unique<PerformGUI>();
      p->Create(this, z);
      pageObject_ = std::move(p);
      break;
    }
    default: {
      auto p = std::make_unique<PresetGUI>();
      p->Create(this, z, z != nullptr ? z->category() : "", z != nullptr ? z->patchName() : "");
      pageObject_ = std::move(p);
      break;
    }
  }
  // The splash stays on top of a new page.
  if (splash_ != nullptr) splash_->Create(this, splash_->width, splash_->height, 0, 0);
  if (InstrumentEditor* b = board()) b->SetSynthPageShowing(page == kSynthPage);
}

void GUI::ButtonClicked(int id) {
  switch (id) {
    case kHelp: OpenManual(); break;
    case kAbout: ShowSplash(); break;
    case kSynthTab: SelectPage(kSynthPage); break;
    case kPerformTab: SelectPage(kPerformPage); break;
    case kPresetTab: SelectPage(kPresetPage); break;
    case kPreviousPatch: StepPatch(false); break;
    case kNextPatch: StepPatch(true); break;
    case kFile: {
      gui::PopupMenu menu;
      menu.AddItem("Save", kSave);
      menu.AddItem("Save As..", kSaveAs);
      menu.AddItem("Reset Patch", kResetPatch);
      if (const auto choice = menu.Show(*this, 75, 16)) RunFileCommand(choice->id);
      break;
    }
    default: break;
  }
}

void GUI::ShowSplash() {
  if (splash_ != nullptr) return;  // one at a time
  splash_ = std::make_unique<ZSplash>();
  // Faded out: destroyed at the next idle, outside the click that ended it.
  if (!splash_->Show(this, [this] { leaving_ = std::move(splash_); })) splash_.reset();
}

void GUI::OpenManual() {
  const std::string path = ManualPath();  // asked afresh at every click
  if (!platform::OpenWithDesktop(path)) {
    ShowMessageBox(std::string(kHelpMissing) + path, "", MessageBoxButtons::kOk);
  }
}

void GUI::StepPatch(bool next) {
  Zelvane* z = zelvane();
  if (z == nullptr) return;
  platform::NativeWindow* w = native();
  if (w != nullptr) w->SetBusyCursor(true);
  PresetLibrary& library = z->patchLibrary();
  library.Rescan();  // the folders may have changed since the last look
  const auto entry = next ? library.NextItem(z->category(), z->patchName())
                          : library.PreviousItem(z->category(), z->patchName());
  if (entry) z->LoadPatch(entry->category, entry->item);
  if (w != nullptr) w->SetBusyCursor(false);
  UpdatePatchName();
}

void GUI::RunFileCommand(int command) {
  Zelvane* z = zelvane();
  if (z == nullptr) return;
  NoSaveAsDialog fallback;
  SaveAsDialog& dialog = saveAsDialog_ != nullptr ? *saveAsDialog_ : fallback;
  SaveOutcome outcome = SaveOutcome::kCancelled;
  switch (command) {
    case kSave: outcome = patch_actions::Save(*z, dialog); break;
    case kSaveAs: outcome = patch_actions::SaveAs(*z, dialog); break;
    case kResetPatch:
      if (patch_actions::Reset(*z)) HandleRequests(InstrumentEditor::kRefreshPage | InstrumentEditor::kUpdatePatchName);
      return;
    default: return;
  }
  if (outcome == SaveOutcome::kSaved && page_ == kPresetPage && pageObject_ != nullptr) {
    pageObject_->RefreshPage();
  }
  UpdatePatchName();
}

void GUI::UpdatePatchName() {
  Zelvane* z = zelvane();
  patchName_.SetText(z != nullptr ? z->patchName() : "");
  patchName_.Repaint();
}

void GUI::Idle() {
  leaving_.reset();
  EffectGUIBase::Idle();
  if (pageObject_ != nullptr) pageObject_->Idle();
}

void GUI::HandleRequests(unsigned requests) {
  if (requests & InstrumentEditor::kUpdatePatchName) UpdatePatchName();
  if (pageObject_ == nullptr) return;
  if (requests & (InstrumentEditor::kIdleRefresh | InstrumentEditor::kRefreshTimeline |
                  InstrumentEditor::kClearTimelineSelection)) {
    pageObject_->Idle();
  }
  if (requests & InstrumentEditor::kRefreshPage) pageObject_->RefreshPage();
}
