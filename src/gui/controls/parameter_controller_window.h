// A window that edits parameters: the plain combination of Window and
// ParameterController for controls written by screens. ParameterChanged may
// arrive on any thread (host automation, MIDI learn on the audio thread), so
// an implementation only stores into atomics and calls Repaint.
// Thread: user-interface thread; ParameterChanged on any.
#pragma once

#include "gui/window.h"
#include "params/parameter_controller.h"

namespace gui {

class ParameterControllerWindow : public Window, public ParameterController {
 public:
  ParameterControllerWindow() = default;
  // Subclasses call UnbindAllAndWait first in their own destructors, before
  // any of their members go; this is only the last safety net.
  ~ParameterControllerWindow() override;
};

}  // namespace gui
