#include "gui/controls/numeric_display.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gui {

NumericDisplay::~NumericDisplay() { UnbindAllAndWait(); }

void NumericDisplay::Create(Window* parent, int px, int py, int w, int h, Parameter* parameter, int displayMode) {
  if (displayMode == kAutomatic) {
    displayMode = (parameter != nullptr && parameter->IsInteger()) ? kInteger : kDecimal;
  }
  mode = displayMode;
  Window::Create(parent, w, h, px, py);
  if (parameter != nullptr) Bind(parameter);
}

void NumericDisplay::SetDecimals(int n) {
  decimals = n;
  Repaint();
}

void NumericDisplay::SetTextColour(int r, int g, int b, int a) {
  red = r;
  green = g;
  blue = b;
  textAlpha = a;
  Repaint();
}

std::string NumericDisplay::Format() {
  Parameter* p = firstParameter();
  if (p == nullptr) return {};
  char text[64];
  if (mode == kInteger) {
    float v = Transform(p->GetValue());
    if (!std::isfinite(v)) v = 0.0f;
    // Outside int's range the conversion is undefined: pin it to the ends.
    v = std::clamp(v, -2147483520.0f, 2147483520.0f);
    std::snprintf(text, sizeof text, "%i", static_cast<int>(v));
    return text;
  }
  const float shown = mode == kNormalised ? Transform(p->Normalize(p->GetValue())) : Transform(p->GetValue());
  char format[16];
  std::snprintf(format, sizeof format, "%%.%if", std::clamp(decimals, 0, 9));
  std::snprintf(text, sizeof text, format, static_cast<double>(shown));
  return text;
}

void NumericDisplay::Paint(GraphicsContext& g) {
  TakeStale();
  g.SetColour(red, green, blue, 1, textAlpha);
  g.DrawString(Format(), 0, 0);
}

}  // namespace gui
