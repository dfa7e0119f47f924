#include "gui/controls/simple_text_button.h"

namespace gui {

void SimpleTextButton::Create(Window* parent, int x, int y, int w, int h, const std::string& label,
                              ButtonListener* buttonListener, int buttonId) {
  text = label;
  listener = buttonListener;
  id = buttonId;
  Window::Create(parent, w, h, x, y);
}

void SimpleTextButton::SetBackground(int r, int gr, int b, int a) {
  red = r;
  green = gr;
  blue = b;
  backgroundAlpha = a;
  Repaint();
}

void SimpleTextButton::PaintUp(GraphicsContext& g) { PaintFace(g); }
void SimpleTextButton::PaintDown(GraphicsContext& g) { PaintFace(g); }

void SimpleTextButton::PaintFace(GraphicsContext& g) {
  g.SetColour(red, green, blue, 1, backgroundAlpha);
  g.FillRect(0, 0, width, height);
  g.SetColour(255, 255, 255, 1, 255);
  g.DrawString(text, (width - g.TextWidth(text)) / 2, (height - g.TextHeight()) / 2);
}

}  // namespace gui
