#include "gui/controls/skin_images.h"

#include "shell/message_box.h"

namespace gui {

bool LoadSkinImages(std::initializer_list<std::pair<Image*, std::string>> images, const std::string& caption) {
  std::string firstError;
  for (const auto& [image, file] : images) {
    *image = Image();
    if (file.empty()) continue;
    try {
      image->LoadFromFile(SkinPath(file));
    } catch (const ImageError& e) {
      if (firstError.empty()) firstError = e.what();
    }
  }
  if (firstError.empty()) return true;
  ShowMessageBox(firstError, caption);
  return false;
}

}  // namespace gui
