#include "gui/controls/button_base.h"

namespace gui {

ButtonBase::~ButtonBase() { *alive_ = false; }

void ButtonBase::AnnounceClick() {
  const std::shared_ptr<bool> alive = alive_;
  if (listener != nullptr) listener->ButtonClicked(id);
  if (*alive) clicked.Fire();
}

}  // namespace gui
