// The audio thread learning and feeding controllers while the editor's timer
// stores the mappings: no data race (run under the thread sanitizer), and the
// file ends up holding every mapping learned.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "learnables.h"
#include "support/temp_dir.h"

namespace {

TEST(MidiLearnThreads, AudioThreadLearnsWhileTheEditorStoresTheFile) {
  TempDir dir;
  const std::string path = dir.File("MidiLearnMappings.dat");
  Learnables a;
  a.manager.SetFilePath(path);
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    for (int i = 0; !stop.load(); ++i) {
      a.manager.HandleEvent(i % 16, 0xB0, i % 128, (i * 7) % 128, 0);
      if (i % 16 == 0) a.manager.ApplyPendingValues();
    }
  });
  for (int k = 0; k < 300; ++k) {
    Parameter* p = a.all()[static_cast<std::size_t>(k % 5)];
    a.manager.SetLearnTarget(p);
    if (k % 3 == 0) {
      a.manager.CancelLearn(p);  // may come too late: then it was learned
    } else {
      while (a.manager.learnTarget() != nullptr) std::this_thread::yield();
      EXPECT_TRUE(a.manager.HasMapping(p));
      EXPECT_TRUE(a.manager.WriteIfPending());
    }
    a.manager.WriteIfPending();
  }
  stop.store(true);
  audio.join();
  a.manager.WriteIfPending();

  const auto learned = a.manager.Mappings();
  ASSERT_GE(learned.size(), 200u);  // two rounds in three wait for their controller
  ASSERT_LE(learned.size(), 300u);
  Learnables b;
  b.manager.SetFilePath(path);
  const auto loaded = b.manager.Mappings();
  ASSERT_EQ(loaded.size(), learned.size());
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    EXPECT_EQ(loaded[i].controller, learned[i].controller);
    EXPECT_EQ(loaded[i].parameter->HostName(), learned[i].parameter->HostName());
  }
}

}  // namespace
