#include "gui/animation/clock.h"

#include <algorithm>

#include "platform/platform.h"

namespace gui::Animation {

Clock::~Clock() { StopTimer(this); }

std::int64_t Clock::Now() const { return platform::NowMs(); }

void Clock::Start() {
  const std::int64_t now = Now();
  if (paused_) {
    startTick_ = now - elapsedAtPause_;
    paused_ = false;
  } else {
    startTick_ = now;
  }
  previousTick_ = now;
  StartTimer(this, 1000 / std::max(fps_, 1));
}

void Clock::Pause() {
  paused_ = true;
  elapsedAtPause_ = Now() - startTick_;
}

void Clock::Stop() {
  StopTimer(this);
  paused_ = false;
}

void Clock::OnTimer(void* /*context*/) { Tick(); }

void Clock::Tick() {
  if (ticking_) return;
  const std::int64_t now = Now();
  const TimeInfo time{now - startTick_, now - previousTick_};
  previousTick_ = now;
  ticking_ = true;
  // A copy: a listener may finish and so remove others during the tick.
  const std::vector<ClockListener*> listeners = listeners_;
  for (ClockListener* l : listeners) {
    const bool removed = std::find(toRemove_.begin(), toRemove_.end(), l) != toRemove_.end();
    if (!removed) l->OnClockTick(time);
  }
  ticking_ = false;
  for (ClockListener* l : toAdd_) listeners_.push_back(l);
  toAdd_.clear();
  for (ClockListener* l : toRemove_) std::erase(listeners_, l);
  toRemove_.clear();
}

void Clock::AddListener(ClockListener* l) {
  if (ticking_) {
    std::erase(toRemove_, l);
    toAdd_.push_back(l);
  } else if (std::find(listeners_.begin(), listeners_.end(), l) == listeners_.end()) {
    listeners_.push_back(l);
  }
}

void Clock::RemoveListener(ClockListener* l) {
  if (ticking_) {
    std::erase(toAdd_, l);
    toRemove_.push_back(l);
  } else {
    std::erase(listeners_, l);
  }
}

}  // namespace gui::Animation
