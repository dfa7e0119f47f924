// A button without images: its background colour filled over the whole
// window and its label in white, centred (message boxes, plain dialogs).
// Thread: user-interface thread.
#pragma once

#include <string>

#include "gui/controls/custom_button.h"

namespace gui {

class SimpleTextButton : public CustomButton {
 public:
  using Window::Create;
  void Create(Window* parent, int x, int y, int w, int h, const std::string& label, ButtonListener* buttonListener,
              int buttonId);
  void PaintUp(GraphicsContext& g) override;
  void PaintDown(GraphicsContext& g) override;
  void SetBackground(int red, int green, int blue, int alpha = 255);

  std::string text;
  int red = 70, green = 70, blue = 70, backgroundAlpha = 255;

 private:
  void PaintFace(GraphicsContext& g);
};

}  // namespace gui
