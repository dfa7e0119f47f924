#include "params/bridge_parameter.h"

namespace {
const std::string kNoName;
}  // namespace

void BridgeParameter::SetTarget(Parameter* p) {
  if (target_ != nullptr) Unbind(target_);
  target_ = p;
  if (target_ != nullptr) Bind(target_);
}

float BridgeParameter::GetTargetValue() const {
  return target_ != nullptr ? target_->GetValue() : 0.0f;
}

int BridgeParameter::GetType() const { return target_ != nullptr ? target_->GetType() : 0; }

int BridgeParameter::GetStorageKind() const {
  return target_ != nullptr ? target_->GetStorageKind() : 0;
}

const std::string& BridgeParameter::GetName() const {
  return target_ != nullptr ? target_->GetName() : kNoName;
}

bool BridgeParameter::HasName(const std::string& text) const {
  return target_ != nullptr ? target_->HasName(text) : text.empty();
}

float BridgeParameter::GetMinimum() const {
  return target_ != nullptr ? target_->GetMinimum() : 0.0f;
}

float BridgeParameter::GetMaximum() const {
  return target_ != nullptr ? target_->GetMaximum() : 0.0f;
}

bool BridgeParameter::GetBool() const { return target_ != nullptr && target_->GetBool(); }

void BridgeParameter::SetBool(bool b) {
  if (target_ == nullptr) return;
  target_->SetBool(b);
  NotifyAllBut(b ? 1.0f : 0.0f, nullptr);
}

void BridgeParameter::NotifyListeners() {
  if (target_ != nullptr) target_->NotifyListeners();
}

float BridgeParameter::SetNormalized(float n, ParamUpdateListener* source) {
  return target_ != nullptr ? target_->SetNormalized(n, source) : 0.0f;
}

float BridgeParameter::GetNormalized() const {
  return target_ != nullptr ? target_->GetNormalized() : 0.0f;
}

float BridgeParameter::Denormalize(float n) const {
  return target_ != nullptr ? target_->Denormalize(n) : 0.0f;
}

float BridgeParameter::Normalize(float v) const {
  return target_ != nullptr ? target_->Normalize(v) : 0.0f;
}

float BridgeParameter::SetValue(float v) {
  if (target_ == nullptr) return 0.0f;
  const float answered = target_->SetValue(v);
  NotifyAllBut(answered, nullptr);
  return answered;
}

void BridgeParameter::ParameterChanged(float value, Parameter* /*which*/) {
  NotifyAllBut(value, nullptr);
}
