// What a value control tells its optional listener when the user moves it:
// the control's id and its new value (0 to 1 for knobs, sliders and scroll
// bars; the choice for radio buttons).
// Thread: user-interface thread.
#pragma once

namespace gui {

class ControlListener {
 public:
  virtual ~ControlListener() = default;
  virtual void ControlChanged(int id, float value) = 0;
};

}  // namespace gui
