// The editor root: the page background, the top bar (help, about, page
// tabs, previous and next patch, the File menu, the patch name) and one page
// at a time below it, built anew on every switch. The instrument's refresh
// requests reach the page at the editor's idle.
// Thread: user-interface thread.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "editor/effect_gui_base.h"
#include "editor/zsplash.h"
#include "editor/zsub_editor.h"
#include "gui/controls/label.h"
#include "gui/controls/zbutton.h"
#include "gui/controls/ztransparent_but.h"
#include "gui/editor_message_boxes.h"
#include "gui/image.h"
#include "gui/listeners.h"
#include "persist/patch_actions.h"

class Zelvane;

class GUI : public EffectGUIBase, public gui::ButtonListener {
 public:
  static constexpr int kWidth = 767;
  static constexpr int kHeight = 638;
  enum Page { kSynthPage = 0, kPerformPage = 1, kPresetPage = 2 };
  enum ButtonId {
    kHelp = 0, kAbout = 1, kSynthTab = 2, kPerformTab = 3, kPresetTab = 4, kPreviousPatch = 5,
    kNextPatch = 6, kFile = 7,
  };
  enum FileCommand { kSave = 0, kSaveAs = 1, kResetPatch = 2 };
  static constexpr const char* kHelpMissing = "Could not find the help file in the expected place:\n\n";

  explicit GUI(AudioEffectX* effect);
  ~GUI() override;

  void GetSize(int& width, int& height) const override {
    width = kWidth;
    height = kHeight;
  }
  void Paint(gui::GraphicsContext& g) override;
  void Idle() override;
  void SelectPage(int page) override;
  void ButtonClicked(int id) override;
  // The File menu's command, as if chosen from the menu.
  void RunFileCommand(int command);
  void UpdatePatchName();

  // The dialog "Save As.." opens; the library screens provide it.
  void SetSaveAsDialog(SaveAsDialog* dialog) { saveAsDialog_ = dialog; }

  int page() const { return page_; }
  ZSplash* splash() const { return splash_.get(); }
  const gui::Label& patchName() const { return patchName_; }
  ZSubEditor* currentPage() const { return pageObject_.get(); }
  Zelvane* zelvane() const;

 protected:
  void Build() override;
  void Unbuild() override;
  void HandleRequests(unsigned requests) override;

 private:
  void BuildTopBar();
  void ShowSplash();
  void OpenManual();
  void StepPatch(bool next);

  std::array<gui::Image, 3> backgrounds_;
  gui::ZButton help_, about_, file_, previous_, next_;
  gui::ZTransparentBut synthTab_, presetTab_, performTab_;
  gui::Label patchName_;
  std::unique_ptr<ZSplash> splash_;
  std::unique_ptr<ZSplash> leaving_;  // a faded-out splash, destroyed at the next idle
  SaveAsDialog* saveAsDialog_ = nullptr;
  // While open, message boxes show over this editor.
  std::optional<gui::EditorMessageBoxes> messageBoxes_;
  int page_ = -1;
  std::unique_ptr<ZSubEditor> pageObject_;
};
