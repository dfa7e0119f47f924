// Tweens, sequences and players on the manual clock.
#include "gui/animation/player.h"
#include "gui_fixture.h"

namespace {

using namespace gui::Animation;

TEST_F(GuiTest, ATweenRunsStraightToItsEndAndFinishesOnce) {
  struct Count : FinishedListener {
    int n = 0;
    void OnFinished(AnimationElement*) override { ++n; }
  } finished;
  Clock clock(25);
  auto tween = std::make_shared<TweenFloat>(2.0f, 4.0f, 200);
  std::vector<float> seen;
  tween->AddSetter(std::make_shared<CallSetter>([&](float v) { seen.push_back(v); }));
  tween->AddFinishedListener(&finished);
  tween->AttachTo(&clock);
  clock.Start();
  const std::int64_t t = platform::NowMs();
  tween->Start(t);
  clock.Tick();
  headless.Advance(100);
  clock.Tick();
  const float middle = seen.back();
  headless.Advance(100);
  clock.Tick();
  headless.Advance(100);
  clock.Tick();
  EXPECT_FLOAT_EQ(seen.front(), 2.0f);
  EXPECT_NEAR(middle, 3.0f, 0.11f);  // the timer ticks in between land near it
  EXPECT_FLOAT_EQ(seen.back(), 4.0f);
  EXPECT_EQ(finished.n, 1);
  EXPECT_FALSE(tween->running());
}

TEST_F(GuiTest, ListenersAddedDuringATickStartWithTheNext) {
  Clock clock;
  struct Late : ClockListener {
    int ticks = 0;
    void OnClockTick(const TimeInfo&) override { ++ticks; }
  } late;
  struct Adder : ClockListener {
    Clock* clock;
    ClockListener* late;
    void OnClockTick(const TimeInfo&) override { clock->AddListener(late); }
  } adder;
  adder.clock = &clock;
  adder.late = &late;
  clock.AddListener(&adder);
  clock.Tick();
  EXPECT_EQ(late.ticks, 0);
  clock.Tick();
  EXPECT_EQ(late.ticks, 1);
}

TEST_F(GuiTest, SequencesAndBlockingFadesFinishWhileTimersGoOn) {
  auto empty = std::make_shared<ParallelSequence>();
  empty->Start(platform::NowMs());
  EXPECT_FALSE(empty->running()) << "no children: finished at once";

  gui::Window faded;
  faded.Create(&root, 50, 50, 10, 10);
  faded.SetAlpha(0.0f);
  struct Other : gui::TimerListener {
    int ticks = 0;
    void OnTimer(void*) override { ++ticks; }
  } other;
  other.StartTimer(&other, 20);
  const std::int64_t before = platform::NowMs();
  EasyAnimation::Fade(faded, 0.0f, 1.0f, 200, true);
  EXPECT_FLOAT_EQ(faded.alpha, 1.0f);
  EXPECT_GE(platform::NowMs() - before, 200);
  EXPECT_GE(other.ticks, 8) << "other timers kept firing during the fade";

  // A moved window keeps its size and ends where it was sent.
  auto move = std::make_shared<WindowTween>(&faded, 10.0f, 10.0f, 10.0f, -83.0f, 1.0f, 1.0f, 200);
  EasyAnimation::Player::PlayBlocking(move, faded);
  EXPECT_EQ(faded.y, -83);
  EXPECT_EQ(faded.width, 50);

  // In the background: the player goes by itself once the fade is done.
  EasyAnimation::Fade(faded, 1.0f, 0.25f, 100, false);
  const int timersDuring = gui::timers::EntryCount();
  headless.Advance(400);
  EXPECT_FLOAT_EQ(faded.alpha, 0.25f);
  EXPECT_LT(gui::timers::EntryCount(), timersDuring);
}

}  // namespace
