// The vertical scroll bar of the lists: arrows at both ends step the bound
// parameter by one (a row), the thumb drags it over the whole range. Only
// the thumb is drawn; the arrows are part of the skin behind it.
// Thread: user-interface thread; ParameterChanged on any.
#pragma once

#include "gui/controls/bound_control.h"

namespace gui {

class ZScrollBar : public BoundControl {
 public:
  static constexpr int kWidth = 10;
  static constexpr int kArrowHeight = 15;
  static constexpr int kThumbHeight = 18;

  struct Box {
    int x, y, width, height;
    // Both edges belong to the box.
    bool Holds(int px, int py) const { return px >= x && px <= x + width && py >= y && py <= y + height; }
  };

  ~ZScrollBar() override;

  using Window::Create;
  // A bar 10 wide and barLength high at (x, 0) of the parent, at value 0;
  // the creator then binds one parameter.
  void Create(Window* parent, int x, int barLength);

  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  void OnMouseMove(int x, int y) override;
  void OnLeftUp(int x, int y) override;

  float value();
  int travel() const { return length - 48; }
  Box topArrow() const { return {0, 0, kWidth, kArrowHeight}; }
  Box track() const { return {0, kArrowHeight, kWidth, length - 2 * kArrowHeight}; }
  Box bottomArrow() const { return {0, length - kArrowHeight, kWidth, kArrowHeight}; }
  Box thumb();

  int length = 0;
  bool dragging = false;
  int dragStartY = 0;
  float dragStartValue = 0.0f;

 private:
  void Refresh();
  void StepBy(float delta);

  float value_ = 0.0f;
};

}  // namespace gui
