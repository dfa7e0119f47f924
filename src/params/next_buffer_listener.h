// Block ticks: objects that need a hook before and after every audio block,
// arranged as a tree (a parameter host passes the tick on to its parameters).
// Thread: audio thread for the ticks; the tree is built on the user-interface
// thread before processing starts.
#pragma once

#include <algorithm>
#include <vector>

class NextBufferListener {
 public:
  virtual ~NextBufferListener() = default;

  virtual void BeforeBlock() {}
  virtual void AfterBlock() {}

  // Own hook first, then every child in order of registration.
  void NotifyBeforeBlock() {
    BeforeBlock();
    for (NextBufferListener* child : bufferChildren_) child->NotifyBeforeBlock();
  }
  void NotifyAfterBlock() {
    AfterBlock();
    for (NextBufferListener* child : bufferChildren_) child->NotifyAfterBlock();
  }

  void AddBufferChild(NextBufferListener* child) { bufferChildren_.push_back(child); }
  void RemoveBufferChild(NextBufferListener* child) {
    std::erase(bufferChildren_, child);
  }

 private:
  std::vector<NextBufferListener*> bufferChildren_;
};

// A plain ordered list of listeners of one kind.
template <class Listener>
class ListenerHost {
 public:
  void AddListener(Listener* l) { listeners_.push_back(l); }
  void RemoveListener(Listener* l) { std::erase(listeners_, l); }
  const std::vector<Listener*>& listeners() const { return listeners_; }

 private:
  std::vector<Listener*> listeners_;
};
