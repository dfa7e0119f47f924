#include "params/parameter.h"

#include <algorithm>
#include <cmath>

Parameter::Parameter(std::string name, float start, float end, int type, int storageKind,
                     int curve) {
  Init(std::move(name), start, end, type, storageKind, curve);
}

void Parameter::Init(std::string name, float start, float end, int type, int storageKind,
                     int curve) {
  SetName(std::move(name));
  type_ = type;
  storageKind_ = storageKind;
  curve_ = curve;
  SetRange(start, end);
  StoreValue(start);
  StorePrevious(start);
}

void Parameter::SetRange(float start, float end) {
  start_ = start;
  end_ = end;
  ascending_ = end >= start;
}

void Parameter::SetName(std::string name) {
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
  name_ = std::move(name);
}

void Parameter::SetGroupPrefix(std::string prefix) {
  if (prefix.size() > kMaxNameLength) prefix.resize(kMaxNameLength);
  groupPrefix_ = std::move(prefix);
}

std::string Parameter::HostName() const {
  if (groupPrefix_.empty()) return GetName();
  return groupPrefix_ + " : " + GetName();
}

float Parameter::RoundHalfUp(float v) {
  // Fraction dropped toward zero, then up by one when at least half remains:
  // positive halves round up, negative values are truncated.
  const float r = std::trunc(v);
  return (v - r >= 0.5f) ? r + 1.0f : r;
}

float Parameter::RoundAndClamp(float v) const {
  if (std::isnan(v)) v = start_;  // a NaN from a host or file never reaches the DSP
  if (GetType() == kInteger) v = RoundHalfUp(v);
  if (ascending_) return std::clamp(v, start_, end_);
  return std::clamp(v, end_, start_);
}

float Parameter::GetValue() const {
  const float v = rawValue();
  const auto& input = modulation_[0];
  if (!ownerAppliesModulation_ && input.active.load(std::memory_order_relaxed)) {
    return v * input.buffer[0];
  }
  return v;
}

float Parameter::SetValue(float v, ParamUpdateListener* source) {
  const float clamped = RoundAndClamp(v);
  StorePrevious(rawValue());
  StoreValue(clamped);
  NotifyAllBut(clamped, source);
  return clamped;
}

void Parameter::SetBool(bool b) {
  StorePrevious(rawValue());
  StoreValue(b ? 1.0f : 0.0f);
  NotifyAllBut(rawValue(), nullptr);
}

void Parameter::NotifyListeners() { NotifyAllBut(rawValue(), nullptr); }

void Parameter::NotifyAllBut(float value, ParamUpdateListener* source) {
  // Index loop: a listener may subscribe another one while being notified.
  for (std::size_t i = 0; i < listeners_.size(); ++i) {
    ParamUpdateListener* l = listeners_[i];
    if (l != source) l->ParameterChanged(value, this);
  }
}

float Parameter::SetNormalized(float n, ParamUpdateListener* source) {
  const float v = RoundAndClamp(Denormalize(n));
  if (v != rawValue()) {
    StoreValue(v);
    NotifyAllBut(v, source);
  }
  return GetNormalized();
}

float Parameter::Denormalize(float n) const {
  double x = n;
  if (curve_ == kCubic) x = x * x * x;
  return static_cast<float>(static_cast<double>(start_) +
                            (static_cast<double>(end_) - static_cast<double>(start_)) * x);
}

float Parameter::Normalize(float v) const {
  float n = (v - start_) / (end_ - start_);
  if (curve_ == kCubic) n = std::pow(n, 1.0f / 3.0f);
  return n;
}

void Parameter::SetFromHost(float n, ParamUpdateListener* source) {
  SetValue(Denormalize(n), source);
}

void Parameter::Unsubscribe(ParamUpdateListener* l) {
  auto it = std::find(listeners_.begin(), listeners_.end(), l);
  if (it != listeners_.end()) listeners_.erase(it);
}
