#include "editor/zsplash.h"

#include "gui/animation/player.h"
#include "gui/controls/skin_images.h"
#include "shell/message_box.h"

using gui::Animation::EasyAnimation::Fade;

bool ZSplash::Show(gui::Window* editor, std::function<void()> gone) {
  try {
    image_.LoadFromFile(gui::SkinPath(kImage));
  } catch (const gui::ImageError& e) {
    gui::ReportSkinError(e.what(), "Zelvane Error");
    return false;
  }
  gone_ = std::move(gone);
  alpha = 0.0f;
  Create(editor, image_.width(), image_.height(), 0, 0);
  fading_ = true;
  Fade(*this, 0.0f, 1.0f, kFadeMs, true);
  fading_ = false;
  return true;
}

void ZSplash::Paint(gui::GraphicsContext& g) { image_.Draw(g, 0, 0); }

void ZSplash::OnLeftUp(int /*x*/, int /*y*/) {
  if (fading_ || closed_) return;
  fading_ = true;
  Fade(*this, 1.0f, 0.0f, kFadeMs, true);
  fading_ = false;
  closed_ = true;
  if (gone_) gone_();
}
