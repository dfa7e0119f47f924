// Events and their handlers' lifetimes, and the process-wide timer table.
#include "gui/event.h"
#include "gui_fixture.h"

namespace {

struct Handler : gui::EventHandler {
  std::vector<int> heard;
  void One() { heard.push_back(1); }
  void Two() { heard.push_back(2); }
};

TEST(Events, DisconnectRemovesOnlyTheFirstTargetAndGoneHandlersLeave) {
  gui::Event<void()> event;
  Handler a;
  event.Connect(&a, &Handler::One);
  event.Connect(&a, &Handler::Two);
  event.Fire();
  EXPECT_EQ(a.heard, (std::vector<int>{1, 2}));
  event.Disconnect(&a);  // the first target only
  event.Fire();
  EXPECT_EQ(a.heard, (std::vector<int>{1, 2, 2}));
  {
    Handler b;
    event.Connect(&b, &Handler::One);
    EXPECT_EQ(event.size(), 2u);
  }
  EXPECT_EQ(event.size(), 1u) << "a destroyed handler disconnects itself";
  // A handler outliving its event does nothing when it goes.
  auto shortLived = std::make_unique<gui::Event<void(int)>>();
  Handler c;
  shortLived->Connect(&c, [&](int v) { c.heard.push_back(v); });
  shortLived->Fire(7);
  shortLived.reset();
  EXPECT_EQ(c.heard, (std::vector<int>{7}));
}

TEST(Events, ATargetDisconnectedWhileFiringIsNotCalled) {
  gui::Event<void()> event;
  Handler first;
  auto second = std::make_unique<Handler>();
  event.Connect(&first, [&] { second.reset(); });
  event.Connect(second.get(), [&] { ADD_FAILURE() << "called after its handler went"; });
  event.Fire();
  EXPECT_EQ(event.size(), 1u);
}

struct Ticker : gui::TimerListener {
  std::vector<std::intptr_t> ticks;
  void OnTimer(void* context) override { ticks.push_back(reinterpret_cast<std::intptr_t>(context)); }
};

TEST_F(GuiTest, StartingATimerAgainChangesItsPeriodAndKeepsOneEntry) {
  const int before = gui::timers::EntryCount();
  Ticker t;
  void* context = reinterpret_cast<void*>(std::intptr_t{5});
  t.StartTimer(context, 100);
  t.StartTimer(context, 20);
  EXPECT_EQ(gui::timers::EntryCount(), before + 1);
  headless.Advance(100);
  EXPECT_GE(t.ticks.size(), 4u) << "the new period holds";
  EXPECT_EQ(t.ticks.front(), 5);
  t.StopTimer(context);
  const std::size_t n = t.ticks.size();
  headless.Advance(100);
  EXPECT_EQ(t.ticks.size(), n);
  {
    Ticker gone;
    gone.StartTimer(&gone, 10);
  }
  EXPECT_EQ(gui::timers::EntryCount(), before) << "a destroyed listener's timers stop";
  headless.Advance(50);
}

}  // namespace
