#include "gui/controls/bound_control.h"

namespace gui {

void BoundControl::ParameterChanged(float /*value*/, Parameter* /*which*/) {
  stale_.store(true, std::memory_order_release);
  Repaint();
}

std::optional<float> BoundControl::BoundPosition() const {
  const Parameter* p = firstParameter();
  if (p == nullptr) return std::nullopt;
  const float n = p->GetNormalized();
  return inverted() ? 1.0f - n : n;
}

void BoundControl::Report(float value) {
  if (listener != nullptr) listener->ControlChanged(id, value);
}

}  // namespace gui
