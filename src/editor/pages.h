// The editor's pages. Each is a window over the part of the editor below the
// top bar; the root draws the page's background image beneath it. Their
// controls come with the screens of their own.
// Thread: user-interface thread.
#pragma once

#include <string>

#include "editor/zsub_editor.h"

class Zelvane;

// Where the pages lie in the editor.
namespace page_layout {
inline constexpr int kSynthX = 0, kSynthY = 40, kSynthWidth = 767, kSynthHeight = 598;
inline constexpr int kPerformX = 0, kPerformY = 110, kPerformWidth = 770, kPerformHeight = 430;
inline constexpr int kPresetX = 0, kPresetY = 40, kPresetWidth = 767, kPresetHeight = 598;
}  // namespace page_layout

class SynthGUI : public ZSubEditor {
 public:
  void Create(gui::Window* editor, Zelvane* instrument);
  void Idle() override {}

 private:
  using gui::Window::Create;
  Zelvane* instrument_ = nullptr;
};

class PerformGUI : public ZSubEditor {
 public:
  void Create(gui::Window* editor, Zelvane* instrument);
  void Idle() override {}

 private:
  using gui::Window::Create;
  Zelvane* instrument_ = nullptr;
};

class PresetGUI : public ZSubEditor {
 public:
  void Create(gui::Window* editor, Zelvane* instrument, const std::string& category,
              const std::string& patch);
  void Idle() override {}

 private:
  using gui::Window::Create;
  Zelvane* instrument_ = nullptr;
};
