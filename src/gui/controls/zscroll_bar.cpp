#include "gui/controls/zscroll_bar.h"

#include <algorithm>
#include <cmath>

namespace gui {
namespace {

float Clamp01(float v) { return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f); }

}  // namespace

ZScrollBar::~ZScrollBar() { UnbindAllAndWait(); }

void ZScrollBar::Create(Window* parent, int px, int barLength) {
  length = barLength;
  value_ = 0.0f;
  Window::Create(parent, kWidth, barLength, px, 0);
}

void ZScrollBar::Refresh() {
  if (!TakeStale()) return;
  const auto n = BoundPosition();
  if (n && *n != value_) value_ = Clamp01(*n);
}

float ZScrollBar::value() {
  Refresh();
  return value_;
}

ZScrollBar::Box ZScrollBar::thumb() {
  Refresh();
  const int top = kArrowHeight + static_cast<int>(value_ * static_cast<float>(std::max(travel(), 0)));
  return {0, top, kWidth, kThumbHeight};
}

void ZScrollBar::StepBy(float delta) {
  // Index loop: a parameter's listener may bind or unbind while told.
  for (std::size_t i = 0; i < boundParameters().size(); ++i) {
    Parameter* p = boundParameters()[i];
    p->SetValue(p->GetValue() + delta);
  }
}

void ZScrollBar::OnLeftDown(int px, int py) {
  if (thumb().Holds(px, py)) {
    dragStartY = py;
    dragStartValue = value_;
    dragging = true;
    CaptureMouse();
  } else if (topArrow().Holds(px, py)) {
    StepBy(-1.0f);
  } else if (bottomArrow().Holds(px, py)) {
    StepBy(1.0f);
  }
}

void ZScrollBar::OnMouseMove(int /*x*/, int py) {
  // A bar too short for its thumb has nowhere to move it.
  if (!dragging || travel() <= 0) return;
  float v = Clamp01(dragStartValue + static_cast<float>(py - dragStartY) / static_cast<float>(travel()));
  if (firstParameter() != nullptr) {
    SetNormalized(v);
    v = Clamp01(BoundPosition().value_or(v));
  }
  value_ = v;
  Repaint();
  Report(value_);
}

void ZScrollBar::OnLeftUp(int /*x*/, int /*y*/) {
  dragging = false;
  ReleaseMouse();
}

void ZScrollBar::Paint(GraphicsContext& g) {
  const Box t = thumb();
  g.SetColour(255, 255, 255, 1, 255);
  g.FillRect(t.x, t.y, t.width, t.height);
}

}  // namespace gui
