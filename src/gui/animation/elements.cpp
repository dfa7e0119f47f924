#include "gui/animation/elements.h"

#include <algorithm>

#include "gui/window.h"
#include "platform/platform.h"

namespace gui::Animation {

AnimationElement::~AnimationElement() { AnimationElement::Detach(); }

std::int64_t AnimationElement::Now() const {
  return clock_ != nullptr ? clock_->Now() : platform::NowMs();
}

void AnimationElement::Start(std::int64_t startTime) {
  startTime_ = startTime;
  OnStarting();
  running_ = true;
  OnStarted();
}

void AnimationElement::AttachTo(Clock* c) {
  if (clock_ == c) return;
  Detach();
  clock_ = c;
  if (clock_ != nullptr) clock_->AddListener(this);
}

void AnimationElement::Detach() {
  if (clock_ != nullptr) clock_->RemoveListener(this);
  clock_ = nullptr;
}

void AnimationElement::RemoveFinishedListener(FinishedListener* l) { std::erase(finished_, l); }

void AnimationElement::Finish() {
  running_ = false;
  OnStopped();
  const std::vector<FinishedListener*> listeners = finished_;
  for (FinishedListener* l : listeners) l->OnFinished(this);
}

void Tween<float>::Update(const TimeInfo& /*time*/) {
  if (!running()) return;
  // Unsigned: a clock that went back counts as the end rather than before it.
  const auto elapsed = static_cast<std::uint64_t>(Now() - startTime());
  const std::uint64_t t = std::min(elapsed, static_cast<std::uint64_t>(duration_));
  const float value = t >= static_cast<std::uint64_t>(duration_) ? to_ : from_ + rate_ * static_cast<float>(t);
  ValueChanged(value);
  for (const auto& setter : setters_) (*setter)(value);
  if (t >= static_cast<std::uint64_t>(duration_)) Finish();
}

void ParallelSequence::Start(std::int64_t startTime) {
  AnimationElement::Start(startTime);
  unfinished_ = static_cast<int>(children_.size());
  if (unfinished_ == 0) {
    Finish();
    return;
  }
  for (const auto& child : children_) {
    child->AddFinishedListener(this);
    child->AttachTo(clock());
    child->Start(startTime);
  }
}

void ParallelSequence::Detach() {
  for (const auto& child : children_) child->Detach();
  AnimationElement::Detach();
}

void ParallelSequence::OnFinished(AnimationElement* element) {
  element->RemoveFinishedListener(this);
  element->Detach();
  if (--unfinished_ == 0) Finish();
}

AlphaTween::AlphaTween(Window* window, float from, float to, std::int64_t duration) {
  auto tween = std::make_shared<TweenFloat>(from, to, duration);
  tween->AddSetter(std::make_shared<CallSetter>([window](float a) { window->SetAlpha(a); }));
  Add(tween);
}

WindowTween::WindowTween(Window* window, float xFrom, float xTo, float yFrom, float yTo,
                         float alphaFrom, float alphaTo, std::int64_t duration)
    : window_(window), x_(window->x), y_(window->y), alpha_(window->alpha) {
  auto x = std::make_shared<TweenFloat>(xFrom, xTo, duration);
  auto y = std::make_shared<TweenFloat>(yFrom, yTo, duration);
  auto a = std::make_shared<TweenFloat>(alphaFrom, alphaTo, duration);
  x->AddSetter(std::make_shared<CallSetter>([this](float v) { x_ = static_cast<int>(v); }));
  y->AddSetter(std::make_shared<CallSetter>([this](float v) { y_ = static_cast<int>(v); }));
  // Alpha is the last of the three each tick: it applies all of them.
  a->AddSetter(std::make_shared<CallSetter>([this](float v) {
    alpha_ = v;
    Apply();
  }));
  Add(x);
  Add(y);
  Add(a);
}

void WindowTween::Apply() {
  window_->SetAlpha(alpha_);
  window_->Move(x_, y_);
}

}  // namespace gui::Animation
