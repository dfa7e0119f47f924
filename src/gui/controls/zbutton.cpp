#include "gui/controls/zbutton.h"

#include "gui/controls/skin_images.h"

namespace gui {

void ZButton::Create(Window* parent, int x, int y, const std::string& upFile, const std::string& downFile,
                     ButtonListener* buttonListener, int buttonId) {
  listener = buttonListener;
  id = buttonId;
  LoadSkinImages({{&upImage, upFile}, {&downImage, downFile}}, kErrorCaption);
  Window::Create(parent, upImage.width(), upImage.height(), x, y);
}

}  // namespace gui
