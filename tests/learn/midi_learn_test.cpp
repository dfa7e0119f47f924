// Learning controllers and applying their values at the start of a block.
#include <gtest/gtest.h>

#include "learnables.h"
#include "params/recorder.h"

namespace {

TEST(MidiLearn, FirstControllerAfterLearnWins) {
  Learnables l;
  l.manager.SetLearnTarget(&l.x1);
  l.manager.HandleEvent(9, 0xB0, 64, 127, 0);  // a pedal, not a controller change
  l.manager.HandleEvent(9, 0xB0, 123, 0, 0);   // all notes off
  EXPECT_EQ(l.manager.learnTarget(), &l.x1);
  EXPECT_TRUE(Tied(l.manager).empty());

  l.manager.HandleEvent(9, 0xB0, 20, 99, 17);  // any channel, any offset
  l.manager.HandleEvent(3, 0xB0, 21, 99, 0);
  EXPECT_EQ(Tied(l.manager), (Pairs{{&l.x1, 20}}));
  EXPECT_EQ(l.manager.learnTarget(), nullptr);
  EXPECT_TRUE(l.manager.HasMapping(&l.x1));
  EXPECT_FALSE(l.manager.HasMapping(&l.y1));
  l.manager.ApplyPendingValues();  // the learning value is not applied
  EXPECT_EQ(l.x1.rawValue(), 0.0f);

  // Cancelling clears only the parameter's own pending learn.
  l.manager.SetLearnTarget(&l.y1);
  l.manager.CancelLearn(&l.x1);
  EXPECT_EQ(l.manager.learnTarget(), &l.y1);
  l.manager.CancelLearn(&l.y1);
  l.Move(22, 5);
  EXPECT_EQ(l.manager.learnTarget(), nullptr);
  EXPECT_EQ(Tied(l.manager).size(), 1u);

  // Full storage: further learning is dropped, the mappings already made work.
  for (int i = 1; i <= MidiLearnManager::kMaxMappings; ++i) l.Learn(l.y2, i % 64);
  EXPECT_EQ(Tied(l.manager).size(), static_cast<std::size_t>(MidiLearnManager::kMaxMappings));
  EXPECT_EQ(l.manager.learnTarget(), nullptr);
  l.Move(20, 127);
  l.manager.ApplyPendingValues();
  EXPECT_EQ(l.x1.rawValue(), 1.0f);
}

TEST(MidiLearn, AppliesTheLastValueOfABlockAcrossTheRange) {
  Learnables l;
  Parameter wide("W", 2.0f, 10.0f), steps("S", 0.0f, 4.0f, Parameter::kInteger),
      cubic("C", 0.0f, 1.0f, Parameter::kContinuous, 1, Parameter::kCubic);
  Recorder heard;
  wide.Subscribe(&heard);
  l.Learn(wide, 7);
  l.Learn(steps, 7);  // one controller, two parameters
  l.Learn(cubic, 8);

  l.Move(7, 127);
  EXPECT_EQ(wide.rawValue(), 2.0f);  // only at the start of the next block
  l.manager.ApplyPendingValues();
  EXPECT_EQ(wide.rawValue(), 10.0f);
  EXPECT_EQ(steps.rawValue(), 4.0f);
  l.Move(7, 0);
  l.manager.ApplyPendingValues();
  EXPECT_EQ(wide.rawValue(), 2.0f);
  EXPECT_EQ(wide.previousValue(), 10.0f);

  heard.heard.clear();
  l.Move(7, 30);
  l.Move(7, 64);
  l.Move(8, 64);
  l.manager.ApplyPendingValues();
  l.manager.ApplyPendingValues();  // nothing left for a second block
  const float n = 64.0f / 127.0f;
  ASSERT_EQ(heard.heard.size(), 1u);
  EXPECT_FLOAT_EQ(heard.heard[0].first, 2.0f + 8.0f * n);
  EXPECT_EQ(steps.rawValue(), 2.0f);
  EXPECT_FLOAT_EQ(cubic.rawValue(), n * n * n);

  // Two controllers on one parameter in one block: the later mapping wins.
  l.Learn(wide, 9);
  l.Move(9, 127);
  l.Move(7, 0);
  l.manager.ApplyPendingValues();
  EXPECT_EQ(wide.rawValue(), 10.0f);

  l.manager.Disconnect(&wide);
  EXPECT_FALSE(l.manager.HasMapping(&wide));
  EXPECT_EQ(Tied(l.manager), (Pairs{{&steps, 7}, {&cubic, 8}}));
  l.Move(7, 127);
  l.manager.ApplyPendingValues();
  EXPECT_EQ(wide.rawValue(), 10.0f);
  EXPECT_EQ(steps.rawValue(), 4.0f);
}

}  // namespace
