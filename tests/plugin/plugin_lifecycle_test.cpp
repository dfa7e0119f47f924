// Instances and the library coming and going many times in one process, and
// several instances playing on several threads at once: nothing is left
// behind (files, threads; leaks are LeakSanitizer's under the asan preset)
// and no instance hears another.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "plugin_host.h"
#include "support/audio_analysis.h"

using namespace zhost;

namespace {

std::size_t Count(const char* folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}
std::size_t OpenFiles() { return Count("/proc/self/fd"); }
std::size_t Threads() { return Count("/proc/self/task"); }

// A short phrase with notes, bend, pedal and a release, block by block.
std::vector<float> Play(PluginInstance& plugin, int blocks = 40) {
  std::vector<float> out;
  std::vector<float> l(333), r(333);
  for (int b = 0; b < blocks; ++b) {
    if (b % 10 == 0) {
      plugin.SendMidi({{b, {0x90, static_cast<std::uint8_t>(50 + b / 10), 100}},
                       {7, {0xE0, 0, static_cast<std::uint8_t>(40 + b)}},
                       {9, {0xB0, 64, static_cast<std::uint8_t>(b % 20 == 0 ? 127 : 0)}}});
    }
    if (b % 10 == 6) plugin.SendMidi({{3, {0x80, static_cast<std::uint8_t>(50 + b / 10), 0}}});
    plugin.Process(l.data(), r.data(), 333);
    plugin.AdvanceTime(333);
    out.insert(out.end(), l.begin(), l.end());
    out.insert(out.end(), r.begin(), r.end());
  }
  return out;
}

TEST(PluginLifecycle, AThousandInstancesComeAndGoLeavingNothingBehind) {
  PluginLibrary library(ZELVANE_PLUGIN_PATH);
  { PluginInstance warm(library); }  // first use may open what lives for the process
  const std::size_t files = OpenFiles(), threads = Threads();
  for (int i = 0; i < 1000; ++i) {
    PluginInstance plugin(library);
    plugin.Start(i % 2 ? 44100 : 48000, 128);
    std::vector<float> l(128), r(128);
    plugin.SendMidi({{0, {0x90, 60, 100}}});
    plugin.Process(l.data(), r.data(), 128);
    ASSERT_FALSE(analysis::HasNonFinite(l));
    if (i % 100 == 0) {
      ASSERT_EQ(OpenFiles(), files) << "after " << i << " instances";
    }
  }
  EXPECT_EQ(OpenFiles(), files);
  EXPECT_EQ(Threads(), threads);
}

TEST(PluginLifecycle, TheLibraryLoadsAndUnloadsTwoHundredTimes) {
  const std::size_t files = OpenFiles(), threads = Threads();
  std::vector<float> first;
  for (int i = 0; i < 200; ++i) {
    PluginLibrary library(ZELVANE_PLUGIN_PATH);
    PluginInstance plugin(library);
    plugin.Start(44100, 333);
    // The same sound every time: nothing of an earlier load lingers.
    const std::vector<float> sound = Play(plugin, i % 50 == 0 ? 20 : 1);
    if (i == 0) first = sound;
    if (i % 50 == 0) {
      ASSERT_EQ(sound, first) << "load " << i;
    }
  }
  EXPECT_EQ(OpenFiles(), files);
  EXPECT_EQ(Threads(), threads);
}

TEST(PluginLifecycle, EightInstancesOnEightThreadsSoundAsEachDoesAlone) {
  PluginLibrary library(ZELVANE_PLUGIN_PATH);
  std::vector<float> alone;
  {
    PluginInstance plugin(library);
    plugin.Start(44100, 333);
    alone = Play(plugin);
  }
  ASSERT_GT(analysis::Peak(alone), 0.0f);
  std::vector<std::vector<float>> heard(8);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      PluginInstance plugin(library);
      plugin.Start(44100, 333);
      heard[static_cast<std::size_t>(t)] = Play(plugin);
    });
  }
  for (std::thread& t : threads) t.join();
  for (int t = 0; t < 8; ++t) EXPECT_EQ(heard[static_cast<std::size_t>(t)], alone) << "thread " << t;
}

}  // namespace
