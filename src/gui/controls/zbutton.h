// The image button of every screen, made from an up and a down skin image;
// the button takes the up image's size.
// Thread: user-interface thread.
#pragma once

#include <string>

#include "gui/controls/custom_button.h"

namespace gui {

class ZButton : public CustomButton {
 public:
  static constexpr const char* kErrorCaption = "Zelvane Error in ZButton::Create";

  using Window::Create;
  // A missing image shows a message box and the button goes on without it.
  // downFile may be empty: the up image then serves for both.
  void Create(Window* parent, int x, int y, const std::string& upFile, const std::string& downFile,
              ButtonListener* buttonListener, int buttonId);
};

}  // namespace gui
