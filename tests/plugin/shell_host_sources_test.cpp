// Tempo and transport as the shell reads them from the host at each block.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <memory>
#include <vector>

#include "shell/instrument_base.h"

namespace {

vst2::VstTimeInfo timeInfo{};
bool provideTime = true;

vst2::VstIntPtr HostCallback(vst2::AEffect*, vst2::VstInt32 opcode, vst2::VstInt32,
                             vst2::VstIntPtr, void*, float) {
  if (opcode == vst2::audioMasterVersion) return 2400;
  if (opcode == vst2::audioMasterGetTime) {
    return provideTime ? reinterpret_cast<vst2::VstIntPtr>(&timeInfo) : 0;
  }
  return 0;
}

struct Watcher : TempoListener, TransportListener {
  int tempoCalls = 0, starts = 0, stops = 0;
  void TempoChanged() override { ++tempoCalls; }
  void TransportStarted() override { ++starts; }
  void TransportStopped() override { ++stops; }
};

class Instrument : public InstrumentBase {
 public:
  Instrument() : InstrumentBase(HostCallback, PluginIdentity{}, 1) { CreateNotes(); }
  void RenderBlock(float*, float*, int, int) override {}
  std::unique_ptr<Note> CreateNote(int) override { return std::make_unique<Note>(); }
  void Block() {
    float l[32], r[32];
    float* out[2] = {l, r};
    processReplacing(nullptr, out, 32);
  }
};

class ShellHostSources : public ::testing::Test {
 protected:
  void SetUp() override {
    timeInfo = {};
    provideTime = true;
    instrument.tempoSource().AddTempoListener(&watcher);
    instrument.transportSource().AddTransportListener(&watcher);
  }
  Instrument instrument;
  Watcher watcher;
};

TEST_F(ShellHostSources, TempoIsReadEachBlockAndNotifiedOnlyWhenItChanges) {
  timeInfo.tempo = 90.0;
  instrument.Block();
  instrument.Block();
  EXPECT_EQ(watcher.tempoCalls, 1);
  EXPECT_FLOAT_EQ(watcher.tempo(), 90.0f);
  timeInfo.tempo = 140.0;
  instrument.Block();
  EXPECT_EQ(watcher.tempoCalls, 2);
  EXPECT_FLOAT_EQ(instrument.tempoSource().currentTempo(), 140.0f);
}

TEST_F(ShellHostSources, MissingOrNonsenseTempoMeans120) {
  timeInfo.tempo = 100.0;
  instrument.Block();
  provideTime = false;
  instrument.Block();
  EXPECT_FLOAT_EQ(watcher.tempo(), 120.0f);
  provideTime = true;
  for (double bad : {0.0, -50.0, std::numeric_limits<double>::quiet_NaN()}) {
    timeInfo.tempo = 100.0;
    instrument.Block();
    timeInfo.tempo = bad;
    instrument.Block();
    EXPECT_FLOAT_EQ(watcher.tempo(), 120.0f) << bad;
  }
}

TEST_F(ShellHostSources, TransportChangesStartAndStopListenersAndCallbacks) {
  int callbacks = 0;
  instrument.transportSource().SubscribeStart([&] { ++callbacks; });
  timeInfo.flags = vst2::kVstTransportPlaying;  // playing, but no change flagged
  instrument.Block();
  EXPECT_EQ(watcher.starts, 0);
  timeInfo.flags = vst2::kVstTransportPlaying | vst2::kVstTransportChanged;
  instrument.Block();
  EXPECT_EQ(watcher.starts, 1);
  EXPECT_EQ(callbacks, 1);
  timeInfo.flags = vst2::kVstTransportChanged;
  instrument.Block();
  EXPECT_EQ(watcher.stops, 1);
  EXPECT_EQ(watcher.starts, 1);
}

TEST_F(ShellHostSources, SampleRateReachesListenersOnlyWhenValid) {
  struct RateWatcher : SampleRateListener {
    int calls = 0;
    void SampleRateChanged() override { ++calls; }
  } rate;
  instrument.sampleRateSource().AddSampleRateListener(&rate);
  instrument.dispatcher(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  instrument.dispatcher(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(rate.calls, 1);
  EXPECT_FLOAT_EQ(rate.sampleRate(), 48000.0f);
  for (float bad : {0.0f, -1.0f, std::numeric_limits<float>::infinity()}) {
    instrument.dispatcher(vst2::effSetSampleRate, 0, 0, nullptr, bad);
  }
  EXPECT_EQ(rate.calls, 1);
  EXPECT_FLOAT_EQ(rate.sampleRate(), 48000.0f);
}

}  // namespace
