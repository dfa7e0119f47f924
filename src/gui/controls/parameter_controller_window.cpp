#include "gui/controls/parameter_controller_window.h"

namespace gui {

ParameterControllerWindow::~ParameterControllerWindow() { UnbindAllAndWait(); }

}  // namespace gui
