#include "gui/controls/label.h"

#include "gui/text_metrics.h"

namespace gui {

void Label::Create(Window* parent, int px, int py, int w, int h, const std::string& text) {
  SetText(text);
  Window::Create(parent, w, h, px, py);
}

void Label::SetText(const std::string& text) {
  if (text.size() <= kMaxLength) {
    text_ = text;
  } else {
    std::size_t n = 0;
    while (n < text.size()) {
      const std::size_t next = n + Utf8SequenceLength(static_cast<unsigned char>(text[n]));
      if (next > kMaxLength) break;
      n = next;
    }
    text_ = text.substr(0, n);
  }
  Repaint();
}

void Label::SetColour(int r, int g, int b, int a) {
  red = r;
  green = g;
  blue = b;
  textAlpha = a;
  Repaint();
}

void Label::SetFont(int size, bool b, bool i) {
  fontSize = size;
  bold = b;
  italic = i;
  Repaint();
}

void Label::Paint(GraphicsContext& g) {
  g.SetColour(red, green, blue, 1, textAlpha);
  g.SetFont(fontSize, GraphicsContext::kDefaultFamily, bold, italic);
  g.DrawString(text_, 0, 0);
}

Window* Label::Forward(int& px, int& py) {
  if (parent == nullptr) return nullptr;
  px += x;
  py += y;
  // The parent hears it as if the mouse had been over it.
  parent->mouseX = px;
  parent->mouseY = py;
  parent->controlDown = controlDown;
  parent->shiftDown = shiftDown;
  parent->extraButtonDown = extraButtonDown;
  return parent;
}

void Label::OnLeftDown(int px, int py) {
  if (Window* p = Forward(px, py)) p->OnLeftDown(px, py);
}
void Label::OnLeftUp(int px, int py) {
  if (Window* p = Forward(px, py)) p->OnLeftUp(px, py);
}
void Label::OnRightDown(int px, int py) {
  if (Window* p = Forward(px, py)) p->OnRightDown(px, py);
}
void Label::OnRightUp(int px, int py) {
  if (Window* p = Forward(px, py)) p->OnRightUp(px, py);
}
void Label::OnMouseMove(int px, int py) {
  if (Window* p = Forward(px, py)) p->OnMouseMove(px, py);
}
void Label::OnLeftDoubleClick(int px, int py) {
  if (Window* p = Forward(px, py)) p->OnLeftDoubleClick(px, py);
}
void Label::OnRightDoubleClick(int px, int py) {
  if (Window* p = Forward(px, py)) p->OnRightDoubleClick(px, py);
}
void Label::OnMouseWheel(int delta, int px, int py) {
  if (parent != nullptr) parent->OnMouseWheel(delta, px, py);
}

}  // namespace gui
