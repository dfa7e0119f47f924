#include "gui/controls/custom_button.h"

namespace gui {

void CustomButton::Paint(GraphicsContext& g) { pressed ? PaintDown(g) : PaintUp(g); }

void CustomButton::PaintUp(GraphicsContext& g) { upImage.Draw(g, 0, 0); }

void CustomButton::PaintDown(GraphicsContext& g) {
  if (downImage.loaded()) {
    downImage.Draw(g, 0, 0);
  } else {
    upImage.Draw(g, 0, 0);
  }
}

void CustomButton::OnLeftDown(int /*x*/, int /*y*/) {
  CaptureMouse();
  pressed = true;
  Repaint();
}

void CustomButton::OnLeftUp(int x, int y) {
  // A release without a press here (pressed elsewhere and let go over the
  // button) is no click.
  const bool wasPressed = pressed;
  pressed = false;
  Repaint();
  ReleaseMouse();
  OnReleased();
  if (wasPressed && Contains(x, y)) AnnounceClick();
}

void CustomButton::OnLeftDoubleClick(int x, int y) {
  OnLeftDown(x, y);
  OnLeftUp(x, y);
}

}  // namespace gui
