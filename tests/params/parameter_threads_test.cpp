// Listeners that come and go on one thread while another thread notifies:
// nothing is lost or called after it has gone, and a listener leaving from
// inside its own notification does not wait for itself.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "params/parameter.h"

namespace {

struct Counting : ParamUpdateListener {
  std::atomic<int> heard{0};
  std::atomic<bool> alive{true};
  std::atomic<int> afterDeath{0};
  void ParameterChanged(float, Parameter*) override {
    if (!alive.load()) ++afterDeath;
    ++heard;
    std::this_thread::sleep_for(std::chrono::microseconds(50));  // a slow listener
  }
};

TEST(ParameterThreads, ListenersComeAndGoWhileAnotherThreadNotifies) {
  Parameter p("X", 0.0f, 1.0f);
  Counting steady;
  p.Subscribe(&steady);
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (int i = 0; !stop.load(); ++i) p.SetValue(static_cast<float>(i % 2));
  });
  int late = 0;
  for (int round = 0; round < 200; ++round) {
    auto passing = std::make_unique<Counting>();
    p.Subscribe(passing.get());
    std::this_thread::sleep_for(std::chrono::microseconds(100));
    p.UnsubscribeAndWait(passing.get());
    passing->alive = false;  // from here on it must not be called
    std::this_thread::sleep_for(std::chrono::microseconds(20));
    late += passing->afterDeath.load();
  }
  stop = true;
  writer.join();
  EXPECT_EQ(late, 0);
  EXPECT_GT(steady.heard.load(), 0);
  EXPECT_EQ(p.listeners().size(), 1u);
}

struct LeavesWhenTold : ParamUpdateListener {
  Parameter* from = nullptr;
  int heard = 0;
  void ParameterChanged(float, Parameter*) override {
    ++heard;
    from->UnsubscribeAndWait(this);  // must not wait for this very call
  }
};

TEST(ParameterThreads, ALeavingListenerDoesNotWaitForItself) {
  Parameter p("Y", 0.0f, 1.0f);
  LeavesWhenTold a, b;
  a.from = b.from = &p;
  p.Subscribe(&a);
  p.Subscribe(&b);
  p.SetValue(1.0f);  // both heard the copy taken before they left
  p.SetValue(0.0f);
  EXPECT_EQ(a.heard, 1);
  EXPECT_EQ(b.heard, 1);
  EXPECT_TRUE(p.listeners().empty());
}

}  // namespace
