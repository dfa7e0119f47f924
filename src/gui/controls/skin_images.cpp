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
  ReportSkinError(firstError, caption);
  return false;
}

namespace {

struct Batch {
  int depth = 0;
  int count = 0;
  std::string text, caption;
};
Batch batch;  // user-interface thread only

}  // namespace

void ReportSkinError(const std::string& text, const std::string& caption) {
  if (batch.depth == 0) {
    ShowMessageBox(text, caption);
    return;
  }
  if (batch.count++ == 0) {
    batch.text = text;
    batch.caption = caption;
  }
}

SkinErrorBatch::SkinErrorBatch() { ++batch.depth; }

SkinErrorBatch::~SkinErrorBatch() {
  if (--batch.depth > 0 || batch.count == 0) return;
  std::string text = batch.text;
  if (batch.count > 1) {
    text += "\n\n(" + std::to_string(batch.count - 1) + " more skin image" + (batch.count > 2 ? "s are" : " is") +
            " missing as well)";
  }
  const std::string caption = batch.caption;
  batch.count = 0;
  ShowMessageBox(text, caption);
}

}  // namespace gui
