// The audio callback as hosts really call it: odd block sizes, in-place
// buffers, no time information, calls before the plug-in is switched on.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <vector>

#include "support/audio_analysis.h"
#include "plugin_host.h"

using namespace zhost;

namespace {

PluginLibrary& Library() {
  static PluginLibrary library(ZELVANE_PLUGIN_PATH);
  return library;
}

class PluginProcessing : public ::testing::Test {
 protected:
  void SetUp() override { plugin.Start(44100.0, 512); }
  PluginInstance plugin{Library()};
};

// Poisoned buffers show whether every frame was written.
std::vector<float> Poisoned(int frames) { return std::vector<float>(frames + 16, 7.0f); }

TEST_F(PluginProcessing, EveryBlockSizeIsFilledExactlyAndNoFurther) {
  for (int frames : {0, 1, 17, 8192, 8193, 20000, 40000}) {
    std::vector<float> left = Poisoned(frames), right = Poisoned(frames);
    plugin.Process(left.data(), right.data(), frames);
    for (int i = 0; i < frames; ++i) {
      ASSERT_EQ(left[i], 0.0f) << frames << " frames, frame " << i;
      ASSERT_EQ(right[i], 0.0f) << frames << " frames, frame " << i;
    }
    for (int i = frames; i < frames + 16; ++i) {
      ASSERT_EQ(left[i], 7.0f) << "wrote past " << frames << " frames";
    }
  }
}

TEST_F(PluginProcessing, InPlaceAndSeparateBuffersGiveTheSameResult) {
  std::vector<float> a(300, 0.5f), b(300, -0.5f);
  float* io[2] = {a.data(), b.data()};
  plugin.ProcessRaw(io, io, 300);
  std::vector<float> l(300, 1.0f), r(300, 1.0f), inL(300, 0.5f), inR(300, -0.5f);
  float* in[2] = {inL.data(), inR.data()};
  float* out[2] = {l.data(), r.data()};
  plugin.ProcessRaw(in, out, 300);
  EXPECT_EQ(a, l);
  EXPECT_EQ(b, r);
  EXPECT_EQ(inL, std::vector<float>(300, 0.5f)) << "inputs are the host's, never written";
}

TEST_F(PluginProcessing, BadArgumentsAreSurvived) {
  std::vector<float> l(64, 3.0f), r(64, 3.0f);
  float* out[2] = {l.data(), r.data()};
  plugin.ProcessRaw(nullptr, out, -5);
  EXPECT_EQ(l[0], 3.0f) << "a negative length renders nothing";
  plugin.ProcessRaw(nullptr, nullptr, 64);
  float* halfOut[2] = {l.data(), nullptr};
  plugin.ProcessRaw(nullptr, halfOut, 64);
  EXPECT_EQ(l[0], 0.0f);
}

TEST_F(PluginProcessing, WorksWithoutTimeInformation) {
  plugin.transport().provideTimeInfo = false;
  std::vector<float> l(512), r(512);
  plugin.Process(l.data(), r.data(), 512);
  EXPECT_GE(plugin.timeRequests(), 1);
  EXPECT_EQ(analysis::Peak(l), 0.0f);
  EXPECT_FALSE(analysis::HasNonFinite(l));
}

TEST_F(PluginProcessing, HostFloatingPointModeIsRestored) {
  const unsigned before = _mm_getcsr();
  _mm_setcsr(before & ~0x8040u);  // flush-to-zero and denormals-are-zero off
  const unsigned hostMode = _mm_getcsr();
  std::vector<float> l(1000), r(1000);
  plugin.Process(l.data(), r.data(), 1000);
  EXPECT_EQ(_mm_getcsr(), hostMode);
  _mm_setcsr(before);
}

TEST(PluginProcessingLifecycle, ProcessingBeforeSwitchOnIsSafe) {
  PluginInstance plugin(Library());
  std::vector<float> l(256, 1.0f), r(256, 1.0f);
  plugin.Process(l.data(), r.data(), 256);
  EXPECT_EQ(analysis::Peak(l), 0.0f);
  plugin.Dispatch(vst2::effOpen);
  plugin.Process(l.data(), r.data(), 256);
  EXPECT_EQ(analysis::Peak(r), 0.0f);
}

}  // namespace

namespace {

TEST_F(PluginProcessing, AHeldKeyPlaysItsPitchAndSilenceFollowsTheRelease) {
  plugin.SendMidi({{0, {0x90, 69, 100}}});
  std::vector<float> l(44100), r(44100);
  for (int done = 0; done < 44100; done += 441) plugin.Process(l.data() + done, r.data() + done, 441);
  const std::span<const float> tail(l.data() + 8192, 32768);
  EXPECT_NEAR(analysis::EstimateFundamental(tail, 44100.0), 440.0, 1.0);
  EXPECT_GT(analysis::Rms(tail), 0.05);
  EXPECT_FALSE(analysis::HasNonFinite(l));
  EXPECT_LT(analysis::Peak(l), 1.0f);
  plugin.SendMidi({{0, {0x80, 69, 0}}});
  std::vector<float> after(512), afterR(512);
  for (int block = 0; block < 40; ++block) plugin.Process(after.data(), afterR.data(), 512);
  EXPECT_EQ(analysis::Peak(after), 0.0f);  // the initial patch releases in 256 frames
  EXPECT_EQ(analysis::CountSubnormals(after), 0u);
}

}  // namespace
