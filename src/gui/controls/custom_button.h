// A push button drawn from an up and an optional down image: it captures
// the mouse while pressed and clicks only when released over itself, so
// dragging off a pressed button cancels it.
// Thread: user-interface thread.
#pragma once

#include "gui/controls/button_base.h"
#include "gui/image.h"
#include "gui/window.h"

namespace gui {

class CustomButton : public Window, public ButtonBase {
 public:
  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  void OnLeftUp(int x, int y) override;
  void OnLeftDoubleClick(int x, int y) override;

  virtual void PaintUp(GraphicsContext& g);
  // The down image, or the up image when there is none.
  virtual void PaintDown(GraphicsContext& g);
  // After every release, inside or not.
  virtual void OnReleased() {}

  Image upImage, downImage;
  bool pressed = false;
};

}  // namespace gui
