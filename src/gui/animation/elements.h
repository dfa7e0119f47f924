// Things that change over time on a clock: tweens of a float, fades and
// moves of windows, and sequences that run several elements together. An
// element is on at most one clock; destroying it takes it off.
// Thread: user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gui/animation/clock.h"

namespace gui {
class Window;
}

namespace gui::Animation {

class HasElapsedTime {
 public:
  virtual ~HasElapsedTime() = default;
  std::int64_t startTime() const { return startTime_; }

 protected:
  std::int64_t startTime_ = 0;
};

class AnimationElement : public HasElapsedTime, public ClockListener {
 public:
  ~AnimationElement() override;

  virtual void OnStarting() {}
  virtual void Start(std::int64_t startTime);
  virtual void Update(const TimeInfo& time) = 0;
  virtual void OnStarted() {}
  virtual void OnStopped() {}

  void OnClockTick(const TimeInfo& time) override { Update(time); }
  // Moves the element onto clock c (off any other), listening to its ticks.
  void AttachTo(Clock* c);
  virtual void Detach();
  Clock* clock() const { return clock_; }
  bool running() const { return running_; }
  void AddFinishedListener(FinishedListener* l) { finished_.push_back(l); }
  void RemoveFinishedListener(FinishedListener* l);

 protected:
  // Stops running and tells every finished listener.
  void Finish();
  std::int64_t Now() const;

 private:
  bool running_ = false;
  Clock* clock_ = nullptr;
  std::vector<FinishedListener*> finished_;
};

using CallSetter = std::function<void(float)>;

template <class T>
class Tween;

// A straight line from `from` to `to` over `duration` ms; `to` exactly at
// the end, then it finishes.
template <>
class Tween<float> : public AnimationElement {
 public:
  Tween(float from, float to, std::int64_t duration)
      : from_(from), to_(to), duration_(duration > 0 ? duration : 1),
        rate_((to - from) / static_cast<float>(duration_)) {}
  void AddSetter(std::shared_ptr<CallSetter> setter) { setters_.push_back(std::move(setter)); }
  void Update(const TimeInfo& time) override;
  virtual void ValueChanged(float /*value*/) {}
  float from() const { return from_; }
  float to() const { return to_; }
  std::int64_t duration() const { return duration_; }

 private:
  float from_, to_;
  std::int64_t duration_;
  float rate_;
  std::vector<std::shared_ptr<CallSetter>> setters_;
};

class TweenFloat : public Tween<float> {
 public:
  using Tween<float>::Tween;
};

// Runs its children together on its own clock; finishes when the last does.
class ParallelSequence : public AnimationElement, public FinishedListener {
 public:
  void Add(std::shared_ptr<AnimationElement> child) { children_.push_back(std::move(child)); }
  void Start(std::int64_t startTime) override;
  void Update(const TimeInfo& /*time*/) override {}
  void OnFinished(AnimationElement* element) override;
  // The children leave the clock with the sequence.
  void Detach() override;
  int unfinished() const { return unfinished_; }

 protected:
  std::vector<std::shared_ptr<AnimationElement>> children_;

 private:
  int unfinished_ = 0;
};

// The window's alpha from one value to another; repaints it each tick.
class AlphaTween : public ParallelSequence {
 public:
  AlphaTween(Window* window, float from, float to, std::int64_t duration);
};

// Position and alpha together over one duration; the window keeps its size.
class WindowTween : public ParallelSequence {
 public:
  WindowTween(Window* window, float xFrom, float xTo, float yFrom, float yTo, float alphaFrom,
              float alphaTo, std::int64_t duration);

 private:
  void Apply();
  Window* window_;
  int x_ = 0, y_ = 0;
  float alpha_ = 1.0f;
};

}  // namespace gui::Animation
