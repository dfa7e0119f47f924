// The editor root: the page background, the top bar (help, about, page
// tabs, previous and next patch, the File menu, the patch name) and one page
// at a time below it, built anew on every switch. The instrument's refresh
// requests reach the page at the editor's idle.
// Thread: user-interface thread.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "editor/effect_gui_base.h"
#include "editor/zsub_editor.h"
#include "gui/image.h"

class Zelvane;

class GUI : public EffectGUIBase {
 public:
  static constexpr int kWidth = 767;
  static constexpr int kHeight = 638;
  enum Page { kSynthPage = 0, kPerformPage = 1, kPresetPage = 2 };

  explicit GUI(AudioEffectX* effect);
  ~GUI() override;

  void GetSize(int& width, int& height) const override {
    width = kWidth;
    height = kHeight;
  }
  void Paint(gui::GraphicsContext& g) override;
  void Idle() override;
  void SelectPage(int page) override;

  int page() const { return page_; }
  ZSubEditor* currentPage() const { return pageObject_.get(); }
  Zelvane* zelvane() const;

 protected:
  void Build() override;
  void Unbuild() override;
  void HandleRequests(unsigned requests) override;

 private:
  std::array<gui::Image, 3> backgrounds_;
  int page_ = -1;
  std::unique_ptr<ZSubEditor> pageObject_;
};
