// The small close button of the dialogs, with its own skin images.
// Thread: user-interface thread.
#pragma once

#include "gui/controls/custom_button.h"

namespace gui {

class CloseBut : public CustomButton {
 public:
  static constexpr const char* kUpFile = "CloseSmallBut Up.png";
  static constexpr const char* kDownFile = "CloseSmallBut Down.png";
  static constexpr const char* kErrorCaption = "Zelvane Error in CloseBut::Create";

  using Window::Create;
  // Sized by its up image.
  void Create(Window* parent, int x, int y, ButtonListener* buttonListener, int buttonId);
};

}  // namespace gui
