#include "gui/controls/slider.h"

#include <algorithm>

#include "gui/controls/skin_images.h"

namespace gui {

Slider::~Slider() { UnbindAllAndWait(); }

void Slider::Create(Window* parent, int px, int py, bool isVertical, int trackLength, Parameter* parameter,
                    const std::string& pointerFile) {
  vertical = isVertical;
  length = std::max(trackLength, 1);
  LoadSkinImages({{&pointer, pointerFile}}, kErrorCaption);
  if (pointer.loaded()) {
    halfSize = (vertical ? pointer.height() : pointer.width()) / 2;
    thickness = vertical ? pointer.width() : pointer.height();
  } else {
    halfSize = kDefaultHalfSize;
    thickness = kDefaultThickness;
  }
  if (vertical) {
    Window::Create(parent, thickness, length + 2 * halfSize, px, py - halfSize);
  } else {
    Window::Create(parent, length + 2 * halfSize, thickness, px - halfSize, py);
  }
  if (parameter != nullptr) Bind(parameter);
  lastValue = BoundPosition().value_or(0.0f);
}

float Slider::Position() const {
  // Unbound, the slider shows the last value it was dragged to.
  return std::clamp(BoundPosition().value_or(lastValue), 0.0f, 1.0f);
}

void Slider::Paint(GraphicsContext& g) {
  TakeStale();
  const float n = Position();
  const int p = static_cast<int>(static_cast<float>(length) * (reversed ? 1.0f - n : n));
  if (outlined) {
    g.SetColour(255, 255, 255, 1, 255);
    if (vertical) {
      g.MoveTo(0, halfSize);
      g.LineTo(0, halfSize + length);
    } else {
      g.MoveTo(halfSize, thickness - 1);
      g.LineTo(halfSize + length, thickness - 1);
    }
  }
  if (pointer.loaded()) {
    vertical ? pointer.Draw(g, 0, p) : pointer.Draw(g, p, 0);
    return;
  }
  g.SetColour(255, 0, 0, 1, 255);
  if (vertical) {
    g.FillRect(0, p, 2 * halfSize, thickness);
  } else {
    g.FillRect(p, 0, thickness, 2 * halfSize);
  }
}

void Slider::OnLeftDown(int px, int py) {
  dragging = true;
  CaptureMouse();
  OnMouseMove(px, py);
}

void Slider::OnMouseMove(int px, int py) {
  if (!dragging) return;
  float value = static_cast<float>((vertical ? py : px) - halfSize) / static_cast<float>(length);
  if (reversed) value = 1.0f - value;
  // The parameter clamps as well; the slider's own value must not run off.
  value = std::clamp(value, 0.0f, 1.0f);
  SetNormalized(value);
  lastValue = value;
  Repaint();
  Report(value);
}

void Slider::OnLeftUp(int /*x*/, int /*y*/) {
  if (!dragging) return;
  dragging = false;
  ReleaseMouse();
}

}  // namespace gui
