#include "gui/controls/toggle_box.h"

#include "gui/controls/skin_images.h"

namespace gui {

ToggleBox::~ToggleBox() { UnbindAllAndWait(); }

void ToggleBox::Create(Window* parent, int px, int py, const std::string& onFile, const std::string& offFile,
                       Parameter* parameter, ToggleListener* tl, int toggleId) {
  toggleListener = tl;
  id = toggleId;
  LoadSkinImages({{&onImage, onFile}, {&offImage, offFile}}, kErrorCaption);
  const Image& size = onImage.loaded() ? onImage : offImage;
  Window::Create(parent, size.width(), size.height(), px, py);
  if (parameter != nullptr) {
    Bind(parameter);
    on_ = BoundPosition().value_or(0.0f) >= 0.5f;
  }
}

void ToggleBox::Refresh() {
  if (!TakeStale()) return;
  if (const auto n = BoundPosition()) on_ = *n >= 0.5f;
}

bool ToggleBox::on() {
  Refresh();
  return on_;
}

void ToggleBox::SetOn(bool value) {
  on_ = value;
  Repaint();
}

void ToggleBox::Paint(GraphicsContext& g) { on() ? PaintOn(g) : PaintOff(g); }

void ToggleBox::PaintOn(GraphicsContext& g) { onImage.Draw(g, 0, 0); }

void ToggleBox::PaintOff(GraphicsContext& g) { offImage.Draw(g, 0, 0); }

void ToggleBox::OnLeftDown(int /*x*/, int /*y*/) {
  Refresh();
  on_ = !on_;
  if (firstParameter() != nullptr) {
    SetNormalized(on_ ? 1.0f : 0.0f);
    // What the parameter made of it: it may round, clamp or refuse.
    on_ = BoundPosition().value_or(0.0f) >= 0.5f;
  }
  Repaint();
  if (toggleListener != nullptr) toggleListener->Toggled(id, on_);
}

void ToggleBox::OnLeftDoubleClick(int x, int y) { OnLeftDown(x, y); }

}  // namespace gui
