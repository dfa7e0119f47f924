// One choice of a parameter: pressing it sets the parameter to the choice;
// it shows its on image while the parameter lies within 0.5 of the choice.
// Several bound to one parameter with different choices form a group.
// Thread: user-interface thread; ParameterChanged on any.
#pragma once

#include <string>

#include "gui/controls/bound_control.h"
#include "gui/image.h"

namespace gui {

class RadioButton : public BoundControl {
 public:
  static constexpr const char* kErrorCaption = "Zelvane Error in RadioButton::Create";

  ~RadioButton() override;

  using Window::Create;
  // Sized by the on image. parameter may be null: the button then keeps its
  // own selected state.
  void Create(Window* parent, int x, int y, float choiceValue, const std::string& onFile, const std::string& offFile,
              Parameter* parameter);

  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  bool IsOn() const;

  float choice = 0.0f;
  Image onImage, offImage;
  bool selected = false;  // unbound only
};

}  // namespace gui
