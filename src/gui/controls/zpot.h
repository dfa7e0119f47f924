// The rotary knob: dragged up and down (125 pixels cover the range), drawn
// as a pie over a dim ring for continuous parameters or as dots for whole
// values, with the knob and pointer images on top.
// Thread: user-interface thread; ParameterChanged on any.
#pragma once

#include <array>

#include "gui/controls/bound_control.h"
#include "gui/image.h"

namespace gui {

class ZPot : public BoundControl {
 public:
  static constexpr int kWidth = 31;
  static constexpr int kHeight = 32;
  static constexpr float kPerPixel = 0.008f;
  static constexpr const char* kKnobFile = "Knob.png";
  static constexpr const char* kPointerFile = "KnobPointer.png";
  static constexpr const char* kErrorCaption = "Zelvane Error in ZPot::Create";
  // Drawing: kAutomatic follows the parameter's type (dots for integers).
  enum Mode { kAutomatic = 0, kDots = 1, kPie = 2 };

  ~ZPot() override;

  using Window::Create;
  // The knob's window is 31 x 32 at (x - 3, y - 4). parameter may be null:
  // the knob then keeps its own value.
  void Create(Window* parent, int x, int y, Parameter* parameter);

  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  void OnMouseMove(int x, int y) override;
  void OnLeftUp(int x, int y) override;

  // 0 to 1; for a bound knob, the parameter's position (1 - it when inverted).
  float value();
  // An unbound knob's own value, clamped.
  void SetValue(float v);

  bool enabled = true;
  bool dragging = false;
  int dragStartY = 0;
  float dragStartValue = 0.0f;
  Image knobImage, pointerImage;
  // Red, green, blue, alpha; painting writes the alpha of each step.
  std::array<int, 4> ringColour{50, 50, 50, 255};
  std::array<int, 4> valueColour{110, 140, 255, 255};
  int mode = kAutomatic;
  int step = 1;

 private:
  void Refresh();
  void PaintPie(GraphicsContext& g, const Parameter& p, float angle);
  void PaintDots(GraphicsContext& g, const Parameter& p);
  void UseColour(GraphicsContext& g, std::array<int, 4>& colour, int alpha);

  float value_ = 0.0f;
};

}  // namespace gui
