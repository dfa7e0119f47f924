// The editor's pages. Each is a window over the part of the editor below the
// top bar; the root draws the page's background image beneath it. Their
// controls come with the screens of their own.
// Thread: user-interface thread.
#pragma once

#include <string>

#include "editor/zsub_editor.h"

// Where the pages lie in the editor.
namespace page_layout {
inline constexpr int kSynthX = 0, kSynthY = 40, kSynthWidth = 767, kSynthHeight = 598;
inline constexpr int kPerformX = 0, kPerformY = 110, kPerformWidth = 770, kPerformHeight = 430;
inline constexpr int kPresetX = 0, kPresetY = 40, kPresetWidth = 767, kPresetHeight = 598;
}  // namespace page_layout

class SynthGUI : public ZSubEditor {
 public:
  void Create(gui::Window* editor, Zelvane* instrument) {
    using namespace page_layout;
    CreatePage(editor, instrument, kSynthX, kSynthY, kSynthWidth, kSynthHeight);
  }
  void Idle() override {}
};

class PerformGUI : public ZSubEditor {
 public:
  void Create(gui::Window* editor, Zelvane* instrument) {
    using namespace page_layout;
    CreatePage(editor, instrument, kPerformX, kPerformY, kPerformWidth, kPerformHeight);
  }
  void Idle() override {}
};

// Opened on the current category and patch, which its lists will select.
class PresetGUI : public ZSubEditor {
 public:
  void Create(gui::Window* editor, Zelvane* instrument, std::string category, std::string patch) {
    using namespace page_layout;
    category_ = std::move(category);
    patch_ = std::move(patch);
    CreatePage(editor, instrument, kPresetX, kPresetY, kPresetWidth, kPresetHeight);
  }
  void Idle() override {}

 private:
  std::string category_, patch_;
};
