// A horizontal or vertical slider: a pointer image (or a red block) dragged
// along a track of `length` pixels, its centre under the mouse, writing the
// position into the bound parameters.
// Thread: user-interface thread; ParameterChanged on any.
#pragma once

#include <string>

#include "gui/controls/bound_control.h"
#include "gui/image.h"

namespace gui {

class Slider : public BoundControl {
 public:
  static constexpr int kDefaultHalfSize = 9;
  static constexpr int kDefaultThickness = 18;
  static constexpr const char* kErrorCaption = "Zelvane Error in Slider::Create";

  ~Slider() override;

  using Window::Create;
  // The track starts at (x, y); the window reaches half a pointer beyond
  // both of its ends. parameter may be null (the slider keeps its own value);
  // pointerFile may be empty (a red block).
  void Create(Window* parent, int x, int y, bool vertical, int length, Parameter* parameter,
              const std::string& pointerFile);

  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  void OnLeftUp(int x, int y) override;
  void OnMouseMove(int x, int y) override;

  // The position shown, 0 to 1 (the parameter's when bound).
  float Position() const;

  bool vertical = false;
  Image pointer;
  int halfSize = kDefaultHalfSize;
  int thickness = kDefaultThickness;
  int length = 0;
  bool dragging = false;
  // Track position 0 stands for value 1 (faders whose top is loudest).
  bool reversed = false;
  float lastValue = 0.0f;
  bool outlined = false;
};

}  // namespace gui
