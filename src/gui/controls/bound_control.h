// The common part of the value controls (sliders, displays, radio buttons,
// toggles, knobs, scroll bars): an id, an optional listener, and the rule
// that a bound parameter's change, on whatever thread, only marks the
// control stale and asks for a repaint; the control reads the parameter
// again on the user-interface thread. Controls create their window before
// they bind, so a notification never meets a half-made window.
// Thread: user-interface thread; ParameterChanged on any.
#pragma once

#include <atomic>
#include <optional>

#include "gui/controls/control_listener.h"
#include "gui/controls/parameter_controller_window.h"

namespace gui {

class BoundControl : public ParameterControllerWindow {
 public:
  void ParameterChanged(float value, Parameter* which) override;

  Parameter* firstParameter() const { return boundParameters().empty() ? nullptr : boundParameters().front(); }

  int id = -1;
  ControlListener* listener = nullptr;

 protected:
  // True once after a bound parameter changed.
  bool TakeStale() { return stale_.exchange(false, std::memory_order_acq_rel); }
  // The first bound parameter's normalised value, 1 - it when inverted;
  // none when unbound.
  std::optional<float> BoundPosition() const;
  void Report(float value);

 private:
  std::atomic<bool> stale_{false};
};

}  // namespace gui
