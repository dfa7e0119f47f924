#include "editor/pages.h"

#include <string>

void SynthGUI::Create(gui::Window* editor, Zelvane* instrument) {
  instrument_ = instrument;
  gui::Window::Create(editor, page_layout::kSynthWidth, page_layout::kSynthHeight, page_layout::kSynthX,
                      page_layout::kSynthY);
}

void PerformGUI::Create(gui::Window* editor, Zelvane* instrument) {
  instrument_ = instrument;
  gui::Window::Create(editor, page_layout::kPerformWidth, page_layout::kPerformHeight,
                      page_layout::kPerformX, page_layout::kPerformY);
}

void PresetGUI::Create(gui::Window* editor, Zelvane* instrument, const std::string& /*category*/,
                       const std::string& /*patch*/) {
  instrument_ = instrument;
  gui::Window::Create(editor, page_layout::kPresetWidth, page_layout::kPresetHeight,
                      page_layout::kPresetX, page_layout::kPresetY);
}
