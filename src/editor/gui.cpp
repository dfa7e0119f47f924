#include "editor/gui.h"

#include "editor/pages.h"
#include "engine/instrument/zelvane.h"
#include "shell/instrument_editor.h"
#include "shell/message_box.h"

namespace {
constexpr const char* kBackgrounds[3] = {"ZelvaneBackground.png", "PerformBackground.png",
                                         "PresetBackground.png"};
}  // namespace

GUI::GUI(AudioEffectX* effect) : EffectGUIBase(effect) {}

GUI::~GUI() { Close(); }

Zelvane* GUI::zelvane() const { return dynamic_cast<Zelvane*>(instrument()); }

void GUI::Build() {
  for (int i = 0; i < 3; ++i) {
    try {
      backgrounds_[static_cast<std::size_t>(i)].LoadFromFile(gui::SkinPath(kBackgrounds[i]));
    } catch (const gui::ImageError& e) {
      ShowMessageBox(e.what(), "Zelvane Error", MessageBoxButtons::kOk);
    }
  }
  page_ = -1;
  SelectPage(kSynthPage);
}

void GUI::Unbuild() {
  pageObject_.reset();
  page_ = -1;
  if (InstrumentEditor* b = board()) b->SetSynthPageShowing(false);
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
  if (InstrumentEditor* b = board()) b->SetSynthPageShowing(page == kSynthPage);
}

void GUI::Idle() {
  EffectGUIBase::Idle();
  if (pageObject_ != nullptr) pageObject_->Idle();
}

void GUI::HandleRequests(unsigned requests) {
  if (pageObject_ == nullptr) return;
  if (requests & (InstrumentEditor::kIdleRefresh | InstrumentEditor::kRefreshTimeline |
                  InstrumentEditor::kClearTimelineSelection)) {
    pageObject_->Idle();
  }
  if (requests & InstrumentEditor::kRefreshPage) pageObject_->RefreshPage();
}
