#include "gui/controls/zpot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gui/controls/skin_images.h"

namespace gui {
namespace {

float Clamp01(float v) { return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f); }

// Whole parameter values for the dots, kept well inside int so stepping
// past the end cannot overflow.
int WholeValue(float v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -1.0e6f, 1.0e6f));
}

// A huge integer range would draw dots for ever; no skin knob has more.
constexpr int kMaxDots = 1000;

}  // namespace

ZPot::~ZPot() { UnbindAllAndWait(); }

void ZPot::Create(Window* parent, int px, int py, Parameter* parameter) {
  LoadSkinImages({{&knobImage, kKnobFile}, {&pointerImage, kPointerFile}}, kErrorCaption);
  id = -1;
  // Created before binding: a notification from another thread may ask for
  // a repaint at once.
  Window::Create(parent, kWidth, kHeight, px - 3, py - 4);
  if (parameter != nullptr) {
    Bind(parameter);
    value_ = Clamp01(BoundPosition().value_or(0.0f));
  }
}

void ZPot::Refresh() {
  if (!TakeStale()) return;
  if (const auto n = BoundPosition()) value_ = Clamp01(*n);
}

float ZPot::value() {
  Refresh();
  return value_;
}

void ZPot::SetValue(float v) {
  value_ = Clamp01(v);
  Repaint();
}

void ZPot::OnLeftDown(int /*x*/, int py) {
  if (!enabled) return;
  Refresh();
  dragStartY = py;
  dragStartValue = BoundPosition().value_or(value_);
  dragging = true;
  CaptureMouse();
}

void ZPot::OnMouseMove(int /*x*/, int py) {
  if (!dragging) return;
  float v = dragStartValue + static_cast<float>(dragStartY - py) * kPerPixel;
  if (firstParameter() != nullptr) {
    SetNormalized(v);
    // What the parameter made of it, rounding and clamping included.
    v = BoundPosition().value_or(v);
  }
  v = Clamp01(v);
  if (v != value_) {
    value_ = v;
    Repaint();
  }
  Report(value_);
}

void ZPot::OnLeftUp(int /*x*/, int /*y*/) {
  dragging = false;
  ReleaseMouse();
}

void ZPot::UseColour(GraphicsContext& g, std::array<int, 4>& colour, int alpha) {
  colour[3] = alpha;
  g.SetColour(colour[0], colour[1], colour[2], 1, alpha);
}

void ZPot::Paint(GraphicsContext& g) {
  Refresh();
  const float angle = 135.0f + 270.0f * value_;
  if (const Parameter* p = firstParameter()) {
    const bool integer = p->IsInteger();
    if (mode == kPie || (mode == kAutomatic && !integer)) {
      PaintPie(g, *p, angle);
    } else if (mode == kDots || (mode == kAutomatic && integer)) {
      PaintDots(g, *p);
    }
  }
  knobImage.Draw(g, 2, 3);
  const double a = angle * std::numbers::pi / 180.0;
  pointerImage.Draw(g, static_cast<int>(13.0 + 8.0 * std::cos(a)), static_cast<int>(13.0 + 8.0 * std::sin(a)));
}

void ZPot::PaintPie(GraphicsContext& g, const Parameter& p, float angle) {
  const int size = width - width % 2;
  UseColour(g, ringColour, 50);
  g.FillPie(0, 1, size, size, 135.0f, 270.0f);
  UseColour(g, valueColour, 180);
  if (p.GetMinimum() < 0.0f) {
    // From the angle of the value 0, read the way the knob reads its value.
    float zero = Clamp01(p.Normalize(0.0f));
    if (inverted()) zero = 1.0f - zero;
    const float from = 135.0f + 270.0f * zero;
    g.FillPie(0, 1, size, size, from, angle - from);
  } else {
    g.FillPie(0, 1, size, size, 135.0f, angle - 135.0f);
  }
}

void ZPot::PaintDots(GraphicsContext& g, const Parameter& p) {
  const int c = width / 2, h = height / 2;
  auto dot = [&](int v, int size) {
    const float n = p.Normalize(static_cast<float>(v));
    if (!std::isfinite(n)) return;
    const double theta = (135.0 + 270.0 * n) * std::numbers::pi / 180.0;
    g.FillRect(static_cast<int>(c + c * std::cos(theta)), static_cast<int>(h + c * std::sin(theta)), size, size);
  };
  // Dots at from, from + step, ... up to and including to.
  const int stride = std::max(step, 1);
  auto dots = [&](int from, int to, int size) {
    int count = 0;
    for (int v = from; v <= to && count < kMaxDots; v += stride, ++count) dot(v, size);
  };
  const int minimum = WholeValue(p.GetMinimum());
  const int maximum = WholeValue(p.GetMaximum());
  const int current = WholeValue(p.GetValue());
  if (minimum < 0) {
    UseColour(g, ringColour, 200);
    dots(minimum, maximum, 1);
    UseColour(g, valueColour, 255);
    if (current > 0) {
      dots(0, current, 1);
    } else {
      // Towards zero onto the step's grid first, so the dots meet 0.
      const int from = stride >= 2 ? current / stride * stride : current;
      dots(from, 0, 1);
    }
  } else {
    UseColour(g, valueColour, 255);
    dots(minimum, current, 2);
    UseColour(g, ringColour, 200);
    dots(current + 1, maximum, 2);
  }
}

}  // namespace gui
