// One audio thread renders busy MIDI while other threads do what hosts and
// the editor do at the same time: host parameter changes, state chunks both
// ways, timeline edits through the edit proxies, voice selection, patch and
// waveform loads, MIDI learn. The sound must stay clean throughout; under
// ThreadSanitizer any data race fails the run.
#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

#include "instrument/instrument_fixture.h"
#include "shell/message_box.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

class InstrumentThreads : public InstrumentTest {
 protected:
  InstrumentThreads() : xdg_("XDG_DATA_HOME", home_.path().string()) {
    previous_ = SetMessageBoxHandler([](const std::string&, const std::string&, MessageBoxButtons) {
      return MessageBoxAnswer::kYes;
    });
    z = std::make_unique<Zelvane>(Host, InstanceOptions{""});
    z->dispatcher(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    z->dispatcher(vst2::effMainsChanged, 0, 1, nullptr, 0.0f);
    // Something to load: a patch with user waves and a waveform file.
    std::vector<float> cycle(4096);
    for (std::size_t i = 0; i < cycle.size(); ++i) cycle[i] = std::sin(0.0046f * static_cast<float>(i));
    z->voiceSettings(0).waveSet().BuildFromSamples(1, cycle);
    z->voiceSettings(1).setting(VoiceSettings::kLayerOn).SetValue(1.0f);
    EXPECT_TRUE(z->SavePatch("Threads", "Busy"));
    EXPECT_TRUE(z->SaveWaveform("Threads", "Sine", 1));
    chunk_ = z->GetState();
  }
  ~InstrumentThreads() override { SetMessageBoxHandler(previous_); }

  // Runs body repeatedly on its own thread until the audio thread is done.
  void Worker(std::vector<std::thread>& threads, unsigned seed, auto body) {
    threads.emplace_back([this, seed, body]() mutable {
      std::mt19937 random(seed);
      while (!stop_.load(std::memory_order_relaxed)) body(random);
    });
  }

  TempDir home_;
  ScopedEnv xdg_;
  MessageBoxHandler previous_ = nullptr;
  std::string chunk_;
  std::atomic<bool> stop_{false};
};

TEST_F(InstrumentThreads, EverythingAtOnceKeepsTheSoundClean) {
  std::atomic<long> bad{0}, blocks{0};
  std::vector<std::thread> threads;

  Worker(threads, 1, [&](std::mt19937& r) {  // the host's automation
    z->setParameter(static_cast<int>(r() % Zelvane::kNumParams),
                    std::uniform_real_distribution<float>(0, 1)(r));
  });
  Worker(threads, 2, [&](std::mt19937& r) {  // autosave and undo
    const std::string& state = z->GetState();
    const std::string copy = state;
    if (r() % 4 == 0) z->dispatcher(vst2::effSetChunk, 0, static_cast<vst2::VstIntPtr>(chunk_.size()),
                                    chunk_.data(), 0.0f);
    else if (copy.size() < 16) ++bad;
  });
  Worker(threads, 3, [&](std::mt19937& r) {  // the editor
    switch (r() % 8) {
      case 0: z->SelectVoice(static_cast<int>(r() % 4)); break;
      case 1: z->LoadPatch("Threads", "Busy(User)"); break;
      case 2: z->LoadWaveform("Threads", "Sine(User)", static_cast<int>(r() % 4)); break;
      case 3: z->learnManager().SetLearnTarget(&z->performSource(static_cast<int>(r() % 6)).x()); break;
      case 4: z->UserInterfaceIdle(); break;
      case 5: z->SetEditTime(static_cast<float>(r() % 200000)); break;
      case 6: z->GetPlayingTime(); break;
      default: z->sustainEmulator().sustain().SetBool(r() % 2 == 0); break;
    }
  });
  Worker(threads, 4, [&](std::mt19937& r) {  // dragging timeline values
    ZParam& p = z->proxy(static_cast<int>(r() % Zelvane::kProxies));
    p.SetNormalized(std::uniform_real_distribution<float>(0, 1)(r), nullptr);
    z->bridge(1 + static_cast<int>(r() % Zelvane::kBridges)).SetValue(static_cast<float>(r() % 3));
  });

  std::thread audio([&] {
    std::mt19937 r(5);
    std::vector<float> l(256), right(256);
    float* out[2] = {l.data(), right.data()};
    const auto end = Clock::now() + std::chrono::milliseconds(1500);
    while (Clock::now() < end || blocks < 200) {
      for (int e = 0; e < 4; ++e) {
        const int kind = std::array{0x90, 0x80, 0xB0, 0xE0, 0xD0}[r() % 5];
        const int data1 = kind == 0xB0 ? static_cast<int>(r() % 128) : 36 + static_cast<int>(r() % 48);
        z->HandleEvent(static_cast<int>(r() % 16), kind, data1, static_cast<int>(r() % 128),
                       static_cast<int>(r() % 256));
      }
      z->processReplacing(nullptr, out, 1 + static_cast<int>(r() % 256));
      for (float v : l) bad += std::isfinite(v) ? 0 : 1;
      ++blocks;
    }
    stop_ = true;
  });
  audio.join();
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(bad.load(), 0);
  EXPECT_GE(blocks.load(), 200);
}

}  // namespace
