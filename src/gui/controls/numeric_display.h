// A bound parameter's value as text: whole numbers, the normalised position
// or the value with a number of decimals. Takes no mouse input.
// Thread: user-interface thread; ParameterChanged on any.
#pragma once

#include <string>

#include "gui/controls/bound_control.h"

namespace gui {

class NumericDisplay : public BoundControl {
 public:
  enum Mode { kInteger = 0, kNormalised = 1, kDecimal = 2, kAutomatic = 3 };

  ~NumericDisplay() override;

  using Window::Create;
  // kAutomatic becomes kInteger for an integer parameter, kDecimal otherwise.
  void Create(Window* parent, int x, int y, int w, int h, Parameter* parameter, int displayMode = kAutomatic);

  void Paint(GraphicsContext& g) override;
  // The text shown; empty when unbound.
  virtual std::string Format();
  virtual float Transform(float value) { return value; }

  void SetDecimals(int n);
  void SetTextColour(int r, int g, int b, int a = 255);

  int mode = kDecimal;
  int decimals = 1;
  int red = 255, green = 255, blue = 255, textAlpha = 255;
};

}  // namespace gui
