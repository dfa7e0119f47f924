#include "gui/controls/radio_button.h"

#include <algorithm>
#include <cmath>

#include "gui/controls/skin_images.h"

namespace gui {

RadioButton::~RadioButton() { UnbindAllAndWait(); }

void RadioButton::Create(Window* parent, int px, int py, float choiceValue, const std::string& onFile,
                         const std::string& offFile, Parameter* parameter) {
  choice = choiceValue;
  LoadSkinImages({{&onImage, onFile}, {&offImage, offFile}}, kErrorCaption);
  const Image& size = onImage.loaded() ? onImage : offImage;
  Window::Create(parent, size.width(), size.height(), px, py);
  if (parameter != nullptr) Bind(parameter);
}

bool RadioButton::IsOn() const {
  const Parameter* p = firstParameter();
  if (p == nullptr) return selected;
  return std::fabs(p->GetValue() - choice) <= 0.5f;
}

void RadioButton::Paint(GraphicsContext& g) {
  TakeStale();
  (IsOn() ? onImage : offImage).Draw(g, 0, 0);
}

void RadioButton::OnLeftDown(int /*x*/, int /*y*/) {
  if (Parameter* p = firstParameter()) {
    // Normalize also takes the cube root for the cubic curve.
    SetNormalized(std::clamp(p->Normalize(choice), 0.0f, 1.0f));
  } else {
    selected = true;
  }
  Repaint();
  Report(choice);
}

}  // namespace gui
