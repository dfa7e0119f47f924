// Signals and slots: an Event holds an ordered list of targets, each a
// callable and the EventHandler that connected it. Handlers remember the
// events they connected to through a liveness token, so a handler destroyed
// first disconnects itself, and one outliving its event does nothing.
// Thread: user-interface thread.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace gui {

class EventHandler;

// What every event offers its handlers, whatever its signature.
class EventBase {
 public:
  virtual ~EventBase() = default;
  virtual void Disconnect(EventHandler* handler) = 0;
};

class EventHandler {
 public:
  EventHandler() = default;
  EventHandler(const EventHandler&) = delete;
  EventHandler& operator=(const EventHandler&) = delete;
  virtual ~EventHandler() {
    for (const std::weak_ptr<EventBase*>& token : tokens_) {
      if (std::shared_ptr<EventBase*> live = token.lock()) (*live)->Disconnect(this);
    }
  }
  void RememberEvent(const std::shared_ptr<EventBase*>& token) { tokens_.push_back(token); }

 private:
  std::vector<std::weak_ptr<EventBase*>> tokens_;
};

template <class Signature>
class Event;

template <class... Args>
class Event<void(Args...)> : public EventBase {
 public:
  Event() : token_(std::make_shared<EventBase*>(this)) {}
  ~Event() override { *token_ = nullptr; }
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void Connect(EventHandler* handler, std::function<void(Args...)> target) {
    targets_.push_back({handler, std::move(target), ++nextId_});
    if (handler != nullptr) handler->RememberEvent(token_);
  }
  // A member function of the handler itself.
  template <class H>
  void Connect(H* handler, void (H::*member)(Args...)) {
    Connect(handler, [handler, member](Args... args) { (handler->*member)(args...); });
  }
  // Removes the first target of handler only.
  void Disconnect(EventHandler* handler) override {
    auto it = std::find_if(targets_.begin(), targets_.end(),
                           [&](const Target& t) { return t.handler == handler; });
    if (it != targets_.end()) targets_.erase(it);
  }
  // Targets connected while firing wait for the next time; one disconnected
  // meanwhile (its handler destroyed, say) is not called.
  void Fire(Args... args) {
    const std::vector<Target> targets = targets_;
    const auto alive = token_;  // the event itself may go while a target runs
    for (const Target& t : targets) {
      if (*alive == nullptr) return;
      const bool connected = std::any_of(targets_.begin(), targets_.end(),
                                         [&](const Target& c) { return c.id == t.id; });
      if (connected) t.call(args...);
    }
  }
  std::size_t size() const { return targets_.size(); }

 private:
  struct Target {
    EventHandler* handler;
    std::function<void(Args...)> call;
    unsigned id;
  };
  std::vector<Target> targets_;
  unsigned nextId_ = 0;
  std::shared_ptr<EventBase*> token_;
};

}  // namespace gui
