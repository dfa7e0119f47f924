// What careless or odd hosts do, through the built .so: every sample rate,
// block sizes from 0 to beyond the plug-in's buffers, in place or not, no
// time information, a transport that keeps toggling, indices out of range,
// random and extreme parameter values. The output must stay finite, free of
// subnormals, silent without notes, and the host's floating-point mode must
// be what it was.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <random>
#include <vector>

#include "plugin_host.h"
#include "support/audio_analysis.h"

using namespace zhost;

namespace {

PluginLibrary& Library() {
  static PluginLibrary library(ZELVANE_PLUGIN_PATH);
  return library;
}

// Renders and checks one call: output clean, the host's MXCSR untouched.
struct Checked {
  explicit Checked(PluginInstance& p, bool inPlaceBuffers = false) : plugin(p), inPlace(inPlaceBuffers) {}
  PluginInstance& plugin;
  bool inPlace = false;
  std::vector<float> left, right;
  int calls = 0;
  float peak = 0.0f;

  void Render(int frames) {
    left.assign(static_cast<std::size_t>(frames) + 1, inPlace ? 0.25f : 9.0f);
    right.assign(static_cast<std::size_t>(frames) + 1, inPlace ? -0.25f : 9.0f);
    float* out[2] = {left.data(), right.data()};
    std::vector<float> inL(left), inR(right);
    float* in[2] = {inL.data(), inR.data()};
    const unsigned mode = _mm_getcsr();
    plugin.ProcessRaw(inPlace ? out : in, out, frames);
    ASSERT_EQ(_mm_getcsr(), mode) << "the host's floating-point mode changed";
    const std::span<const float> l(left.data(), static_cast<std::size_t>(frames));
    const std::span<const float> r(right.data(), static_cast<std::size_t>(frames));
    ASSERT_FALSE(analysis::HasNonFinite(l) || analysis::HasNonFinite(r)) << frames << " frames";
    ASSERT_EQ(analysis::CountSubnormals(l) + analysis::CountSubnormals(r), 0u) << frames << " frames";
    ASSERT_EQ(left[static_cast<std::size_t>(frames)], inPlace ? 0.25f : 9.0f) << "wrote past the block";
    peak = std::max({peak, analysis::Peak(l), analysis::Peak(r)});
    plugin.AdvanceTime(frames);
    ++calls;
  }
  void Silent(int frames) {
    const float before = peak;
    peak = 0.0f;
    Render(frames);
    ASSERT_EQ(peak, 0.0f) << "sound from nowhere in " << frames << " frames";
    peak = before;
  }
};

std::vector<MidiMessage> Chord(int offset) {
  return {{offset, {0x90, 48, 100}}, {offset, {0x90, 60, 90}}, {offset + 1, {0x91, 67, 127}},
          {offset, {0xB0, 1, 100}},  {offset, {0xE0, 0, 90}}};
}
std::vector<MidiMessage> Release() {
  return {{0, {0x80, 48, 0}}, {0, {0x90, 60, 0}}, {0, {0x81, 67, 0}}, {0, {0xB0, 123, 0}}};
}

TEST(HostAbuse, EverySampleRateAndBlockSizeInPlaceOrNot) {
  const std::vector<double> rates = {8000, 22050, 44100, 48000, 88200, 96000, 176400, 192000, 47999.37};
  std::mt19937 random(7);
  std::vector<int> sizes = {0, 1, 2, 3, 17, 64, 512, 1536, 2027, 8192, 16384, 20000};
  for (int i = 0; i < 6; ++i) sizes.push_back(1 + static_cast<int>(random() % 4096));
  for (double rate : rates) {
    for (bool inPlace : {false, true}) {
      SCOPED_TRACE(testing::Message() << rate << " Hz" << (inPlace ? ", in place" : ""));
      PluginInstance plugin(Library());
      plugin.Start(rate, 512);
      Checked c(plugin, inPlace);
      for (int frames : sizes) c.Silent(frames);  // nothing plays yet: exact silence
      for (int frames : sizes) {
        plugin.SendMidi(Chord(frames / 2));
        c.Render(frames);
        c.Render(frames);
        plugin.SendMidi(Release());
        c.Render(frames);
      }
      EXPECT_GT(c.peak, 0.0f) << "the chords were heard";
      EXPECT_LT(c.peak, 8.0f);
    }
  }
}

TEST(HostAbuse, NoTimeInformationATogglingTransportAndNoSwitchOn) {
  PluginInstance early(Library());
  Checked e(early);
  early.SendMidi(Chord(0));
  for (int i = 0; i < 8; ++i) e.Render(300);  // processReplacing before effMainsChanged

  PluginInstance plugin(Library());
  plugin.Start(44100, 256);
  Checked c(plugin);
  plugin.SendMidi(Chord(3));
  for (int i = 0; i < 200; ++i) {
    plugin.transport().provideTimeInfo = i % 3 != 0;
    plugin.transport().tempo = i % 7 == 0 ? 0.0 : 40.0 + i;
    plugin.SetPlaying(i % 2 == 0);
    c.Render(256);
    // A host may suspend and resume from the audio thread at any time.
    if (i % 50 == 25) {
      plugin.Dispatch(vst2::effMainsChanged, 0, 0);
      plugin.Dispatch(vst2::effMainsChanged, 0, 1);
      plugin.Dispatch(vst2::effMainsChanged, 0, 1);
    }
  }
  EXPECT_GT(c.peak, 0.0f);
}

TEST(HostAbuse, IndicesOutOfRangeAreIgnored) {
  PluginInstance plugin(Library());
  plugin.Start(44100, 512);
  for (int index : {-1, -1000, 40, 41, 1 << 30}) {
    plugin.SetParameter(index, 0.5f);
    EXPECT_EQ(plugin.GetParameter(index), 0.0f);
    EXPECT_EQ(plugin.ParameterName(index), "");
  }
  // Values outside 0..1 and not numbers are held to the range.
  for (float v : {-3.0f, 7.0f, std::numeric_limits<float>::quiet_NaN(),
                  std::numeric_limits<float>::infinity()}) {
    for (int i = 0; i < plugin.NumParams(); ++i) plugin.SetParameter(i, v);
    for (int i = 0; i < plugin.NumParams(); ++i) {
      const float n = plugin.GetParameter(i);
      EXPECT_TRUE(n >= 0.0f && n <= 1.0f) << "parameter " << i << " reads " << n;
    }
  }
  Checked c(plugin);
  plugin.SendMidi(Chord(0));
  for (int i = 0; i < 20; ++i) c.Render(512);
}

TEST(HostAbuse, RandomAndExtremeParameterSetsPlayCleanly) {
  PluginInstance plugin(Library());
  plugin.Start(48000, 512);
  Checked c(plugin);
  std::mt19937 random(11);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (int set = 0; set < 1002; ++set) {
    for (int i = 0; i < plugin.NumParams(); ++i) {
      plugin.SetParameter(i, set == 0 ? 0.0f : set == 1 ? 1.0f : unit(random));
    }
    plugin.SendMidi({{0, {0x90, static_cast<std::uint8_t>(24 + random() % 80), 100}},
                     {5, {0x90, static_cast<std::uint8_t>(24 + random() % 80), 1}}});
    c.Render(256);
    c.Render(97);
    plugin.SendMidi(Release());
    c.Render(256);
    if (::testing::Test::HasFatalFailure()) {
      ADD_FAILURE() << "parameter set " << set;
      return;
    }
  }
  EXPECT_LT(c.peak, 64.0f);
}

}  // namespace
