// Rebuilding lanes while another thread reads the tables, as the audio thread
// does: every table it sees is complete, none is freed under it.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/oscillators/wave_set.h"

TEST(WaveSetThreads, AReaderOnlyEverSeesCompleteTables) {
  WaveSet set;
  std::mutex block;  // held for a whole block, as the instrument's is
  set.SetBlockFence([&] { std::lock_guard lock(block); });
  set.BuildFromPartials(1, std::vector<float>{0.5f, 0.0f});

  std::atomic<bool> done{false};
  int seen = 0, wrong = 0;
  std::thread reader([&] {
    while (!done.load(std::memory_order_relaxed)) {
      std::lock_guard lock(block);
      const WaveTables* t = set.tables();
      // A quarter cycle in: lane 0 is a sine (1) or silent (0); lane 1 stays
      // 0.5 in the levels its fundamental fits.
      for (int level = 0; level < 124; level += 9) {
        const float* x = t->level(level) + 4 * (t->length() / 4);
        const bool ok =
            (std::fabs(x[0] - 1.0f) < 1e-5f || x[0] == 0.0f) && std::fabs(x[1] - 0.5f) < 1e-5f;
        wrong += ok ? 0 : 1;
      }
      ++seen;
    }
  });
  for (int i = 0; i < 6; ++i) {
    set.BuildBuiltIn(0, i % 2 == 0 ? WaveSet::kSine : WaveSet::kSilence);
    set.BuildFromPartials(1, std::vector<float>{0.5f, 0.0f});
  }
  done = true;
  reader.join();
  EXPECT_GT(seen, 0);
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(set.kind(0), WaveSet::kSilence);
}
