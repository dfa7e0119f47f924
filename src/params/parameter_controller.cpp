#include "params/parameter_controller.h"

#include <algorithm>

ParameterController::~ParameterController() {
  for (Parameter* p : bound_) p->Unsubscribe(this);
}

void ParameterController::Bind(Parameter* p) {
  bound_.push_back(p);
  p->Subscribe(this);
}

void ParameterController::Unbind(Parameter* p) {
  p->Unsubscribe(this);
  auto it = std::find(bound_.begin(), bound_.end(), p);
  if (it != bound_.end()) bound_.erase(it);
}

void ParameterController::UnbindAllAndWait() {
  const std::vector<Parameter*> bound = std::move(bound_);
  bound_.clear();
  for (Parameter* p : bound) p->UnsubscribeAndWait(this);
}

void ParameterController::SetNormalized(float n) {
  if (inverted_) n = 1.0f - n;
  // Index loop: a listener may bind further parameters while being told.
  for (std::size_t i = 0; i < bound_.size(); ++i) bound_[i]->SetNormalized(n, this);
}
