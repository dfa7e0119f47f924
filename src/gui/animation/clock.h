// Animation: a clock that ticks its listeners from the timer table, and the
// listener interfaces its elements use. Listeners added or removed while the
// clock ticks take effect after the tick.
// Thread: user-interface thread.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/listeners.h"

namespace gui::Animation {

struct TimeInfo {
  std::int64_t sinceStart = 0;     // ms since the clock started
  std::int64_t sincePrevious = 0;  // ms since the previous tick
};

class ClockListener {
 public:
  virtual ~ClockListener() = default;
  virtual void OnClockTick(const TimeInfo& time) = 0;
};

class AnimationElement;

class FinishedListener {
 public:
  virtual ~FinishedListener() = default;
  virtual void OnFinished(AnimationElement* element) = 0;
};

class Clock : public TimerListener {
 public:
  explicit Clock(int fps = 25) : fps_(fps) {}
  ~Clock() override;

  virtual void Start();
  virtual void Pause();
  virtual void Stop();
  virtual void Tick();
  virtual std::int64_t Now() const;
  virtual void AddListener(ClockListener* l);
  virtual void RemoveListener(ClockListener* l);

  void OnTimer(void* context) override;
  int fps() const { return fps_; }
  bool ticking() const { return ticking_; }
  const std::vector<ClockListener*>& listeners() const { return listeners_; }

 private:
  int fps_;
  std::vector<ClockListener*> listeners_, toAdd_, toRemove_;
  std::int64_t startTick_ = 0, previousTick_ = 0, elapsedAtPause_ = 0;
  bool paused_ = false;
  bool ticking_ = false;
};

}  // namespace gui::Animation
