// The about box: the splash image over the editor, faded in when shown and
// faded out and gone when clicked. Clicks during the fade are ignored.
// Thread: user-interface thread.
#pragma once

#include <functional>

#include "gui/image.h"
#include "gui/window.h"

class ZSplash : public gui::Window {
 public:
  static constexpr const char* kImage = "ZelvaneSplash.png";
  static constexpr int kFadeMs = 200;

  // Fades in, blocking; a missing image shows its message and the box stays
  // away. gone runs once the box has faded out after a click (its owner
  // destroys it there or later, never inside the click).
  bool Show(gui::Window* editor, std::function<void()> gone);
  void Paint(gui::GraphicsContext& g) override;
  void OnLeftUp(int x, int y) override;
  bool fading() const { return fading_; }

 private:
  gui::Image image_;
  std::function<void()> gone_;
  bool fading_ = false;
  bool closed_ = false;
};
