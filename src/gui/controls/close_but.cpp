#include "gui/controls/close_but.h"

#include "gui/controls/skin_images.h"

namespace gui {

void CloseBut::Create(Window* parent, int x, int y, ButtonListener* buttonListener, int buttonId) {
  listener = buttonListener;
  id = buttonId;
  LoadSkinImages({{&upImage, kUpFile}, {&downImage, kDownFile}}, kErrorCaption);
  Window::Create(parent, upImage.width(), upImage.height(), x, y);
}

}  // namespace gui
