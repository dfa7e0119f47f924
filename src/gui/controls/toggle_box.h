// An on/off switch drawn from an on and an off image. Bound, it writes 1 or
// 0 and then shows what the parameter holds (a parameter that refuses the
// change leaves the toggle as it was); it tells its ToggleListener either way.
// Thread: user-interface thread; ParameterChanged on any.
#pragma once

#include <atomic>
#include <string>

#include "gui/controls/bound_control.h"
#include "gui/image.h"
#include "gui/listeners.h"

namespace gui {

class ToggleBox : public BoundControl {
 public:
  static constexpr const char* kErrorCaption = "Zelvane Error in ToggleBox::Create";

  ~ToggleBox() override;

  using Window::Create;
  // Sized by the on image; parameter and toggleListener may be null.
  void Create(Window* parent, int x, int y, const std::string& onFile, const std::string& offFile,
              Parameter* parameter, ToggleListener* toggleListener = nullptr, int toggleId = -1);

  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  void OnLeftDoubleClick(int x, int y) override;
  virtual void PaintOn(GraphicsContext& g);
  virtual void PaintOff(GraphicsContext& g);

  // The state shown: the first bound parameter's normalised position (1 - it
  // when inverted) at or above 0.5 once it has changed.
  bool on();
  // For an unbound toggle (a bound one follows its parameter).
  void SetOn(bool value);

  Image onImage, offImage;
  ToggleListener* toggleListener = nullptr;

 private:
  void Refresh();

  bool on_ = false;
};

}  // namespace gui
