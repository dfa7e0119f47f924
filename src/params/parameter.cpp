#include "params/parameter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <thread>

Parameter::Parameter(std::string name, float start, float end, int type, int storageKind,
                     int curve) {
  Init(std::move(name), start, end, type, storageKind, curve);
}

void Parameter::Init(std::string name, float start, float end, int type, int storageKind,
                     int curve) {
  SetName(std::move(name));
  SetType(type);
  storageKind_ = storageKind;
  SetCurve(curve);
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

namespace {

// The parameters this thread is notifying for, innermost last: a listener
// that unsubscribes from one of them must not wait for itself.
struct NotifyStack {
  static constexpr int kDepth = 32;
  std::array<const Parameter*, kDepth> items{};
  int size = 0;
  int Count(const Parameter* p) const {
    int n = 0;
    for (int i = 0; i < size && i < kDepth; ++i) n += items[static_cast<std::size_t>(i)] == p;
    return n;
  }
};
thread_local NotifyStack notifyStack;

}  // namespace

void Parameter::NotifyAllBut(float value, ParamUpdateListener* source) {
  // Copied in pieces onto the stack, so notifying never allocates and no
  // lock is held while a listener runs (listeners set other parameters).
  constexpr std::size_t kPiece = 128;
  std::array<ParamUpdateListener*, kPiece> copy;
  notifying_.fetch_add(1, std::memory_order_acq_rel);
  if (notifyStack.size < NotifyStack::kDepth) notifyStack.items[static_cast<std::size_t>(notifyStack.size)] = this;
  ++notifyStack.size;
  for (std::size_t from = 0;; from += kPiece) {
    std::size_t n = 0;
    {
      std::lock_guard lock(listenersLock_);
      if (from >= listeners_.size()) break;
      n = std::min(kPiece, listeners_.size() - from);
      std::copy_n(listeners_.begin() + static_cast<std::ptrdiff_t>(from), n, copy.begin());
    }
    for (std::size_t i = 0; i < n; ++i) {
      if (copy[i] != source) copy[i]->ParameterChanged(value, this);
    }
    if (n < kPiece) break;
  }
  --notifyStack.size;
  notifying_.fetch_sub(1, std::memory_order_acq_rel);
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
  if (curve() == kCubic) x = x * x * x;
  return static_cast<float>(static_cast<double>(start_) +
                            (static_cast<double>(end_) - static_cast<double>(start_)) * x);
}

float Parameter::Normalize(float v) const {
  float n = (v - start_) / (end_ - start_);
  if (curve() == kCubic) n = std::pow(n, 1.0f / 3.0f);
  return n;
}

void Parameter::SetFromHost(float n, ParamUpdateListener* source) {
  SetValue(Denormalize(n), source);
}

void Parameter::Subscribe(ParamUpdateListener* l) {
  std::lock_guard lock(listenersLock_);
  listeners_.push_back(l);
}

void Parameter::Unsubscribe(ParamUpdateListener* l) {
  std::lock_guard lock(listenersLock_);
  auto it = std::find(listeners_.begin(), listeners_.end(), l);
  if (it != listeners_.end()) listeners_.erase(it);
}

void Parameter::UnsubscribeAndWait(ParamUpdateListener* l) {
  Unsubscribe(l);
  const int own = notifyStack.Count(this);
  while (notifying_.load(std::memory_order_acquire) > own) std::this_thread::yield();
}

std::vector<ParamUpdateListener*> Parameter::listeners() const {
  std::lock_guard lock(listenersLock_);
  return listeners_;
}
