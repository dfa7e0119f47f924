#include "params/bridge_parameter.h"

namespace {
const std::string kNoName;
}  // namespace

void BridgeParameter::SetTarget(Parameter* p) {
  Parameter* old = target_.exchange(p, std::memory_order_acq_rel);
  if (old != nullptr) Unbind(old);
  if (p != nullptr) Bind(p);
}

// Each operation reads the target once: another thread may retarget meanwhile.

float BridgeParameter::GetTargetValue() const {
  Parameter* t = target();
  return t != nullptr ? t->GetValue() : 0.0f;
}

int BridgeParameter::GetType() const {
  Parameter* t = target();
  return t != nullptr ? t->GetType() : 0;
}

int BridgeParameter::GetStorageKind() const {
  Parameter* t = target();
  return t != nullptr ? t->GetStorageKind() : 0;
}

const std::string& BridgeParameter::GetName() const {
  Parameter* t = target();
  return t != nullptr ? t->GetName() : kNoName;
}

bool BridgeParameter::HasName(const std::string& text) const {
  Parameter* t = target();
  return t != nullptr ? t->HasName(text) : text.empty();
}

float BridgeParameter::GetMinimum() const {
  Parameter* t = target();
  return t != nullptr ? t->GetMinimum() : 0.0f;
}

float BridgeParameter::GetMaximum() const {
  Parameter* t = target();
  return t != nullptr ? t->GetMaximum() : 0.0f;
}

bool BridgeParameter::GetBool() const {
  Parameter* t = target();
  return t != nullptr && t->GetBool();
}

void BridgeParameter::SetBool(bool b) {
  Parameter* t = target();
  if (t == nullptr) return;
  t->SetBool(b);
  NotifyAllBut(b ? 1.0f : 0.0f, nullptr);
}

void BridgeParameter::NotifyListeners() {
  if (Parameter* t = target()) t->NotifyListeners();
}

float BridgeParameter::SetNormalized(float n, ParamUpdateListener* source) {
  Parameter* t = target();
  return t != nullptr ? t->SetNormalized(n, source) : 0.0f;
}

float BridgeParameter::GetNormalized() const {
  Parameter* t = target();
  return t != nullptr ? t->GetNormalized() : 0.0f;
}

float BridgeParameter::Denormalize(float n) const {
  Parameter* t = target();
  return t != nullptr ? t->Denormalize(n) : 0.0f;
}

float BridgeParameter::Normalize(float v) const {
  Parameter* t = target();
  return t != nullptr ? t->Normalize(v) : 0.0f;
}

float BridgeParameter::SetValue(float v) {
  Parameter* t = target();
  if (t == nullptr) return 0.0f;
  const float answered = t->SetValue(v);
  NotifyAllBut(answered, nullptr);
  return answered;
}

void BridgeParameter::ParameterChanged(float value, Parameter* /*which*/) {
  NotifyAllBut(value, nullptr);
}
