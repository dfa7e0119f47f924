// Offline rendering: event placement in blocks, render length, and a real
// third-party instrument played through the render loop and the job.
#include "render_job.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "support/audio_analysis.h"
#include "support/temp_dir.h"
#include "third_party.h"

using namespace zhost;

namespace {

MidiEvent At(double seconds, std::uint8_t status, std::uint8_t data1, std::uint8_t data2 = 0) {
  MidiEvent e;
  e.seconds = seconds;
  e.status = status;
  e.data1 = data1;
  e.data2 = data2;
  return e;
}

// A single note from `on` to `off` seconds.
MidiSequence HeldNote(std::uint8_t note, double on, double off) {
  MidiSequence s;
  s.events = {At(on, 0x90, note, 100), At(off, 0x80, note, 0)};
  return s;
}

TEST(EventScheduling, EachEventArrivesOnceInItsBlockAtItsOffset) {
  // At 1000 Hz an event at f/1000 s falls on frame f.
  const int frames[] = {0, 511, 512, 1000, 1023, 1024, 1500};
  MidiSequence s;
  for (int i = 0; i < 7; ++i) s.events.push_back(At(frames[i] / 1000.0, 0x90, std::uint8_t(i), 1));
  EventScheduler scheduler(s, 1000);

  std::vector<std::vector<std::pair<int, int>>> blocks;  // (offset, note) per block
  while (scheduler.position() < 2048) {
    std::vector<std::pair<int, int>> block;
    for (const MidiMessage& m : scheduler.NextBlock(512)) {
      EXPECT_EQ(m.bytes[0], 0x90);
      EXPECT_EQ(m.bytes[2], 1);
      block.emplace_back(m.deltaFrames, m.bytes[1]);
    }
    blocks.push_back(block);
  }
  using B = std::vector<std::pair<int, int>>;
  EXPECT_EQ(blocks, (std::vector<B>{
                        {{0, 0}, {511, 1}}, {{0, 2}, {488, 3}, {511, 4}}, {{0, 5}, {476, 6}}, {}}));
}

TEST(EventScheduling, RoundsToTheNearestFrameAndHandlesUnevenBlocks) {
  MidiSequence s;
  s.events = {At(2.4 / 48000, 0x90, 1, 1), At(2.6 / 48000, 0x90, 2, 1), At(7.0 / 48000, 0xC0, 3)};
  EventScheduler scheduler(s, 48000);
  const auto first = scheduler.NextBlock(3);  // frames 0..2
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].deltaFrames, 2);
  const auto second = scheduler.NextBlock(5);  // frames 3..7
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[0].deltaFrames, 0);  // 2.6 rounds up to frame 3
  EXPECT_EQ(second[1].deltaFrames, 4);
  EXPECT_EQ(second[1].bytes[2], 0) << "a two-byte message has no third byte";
  EXPECT_TRUE(scheduler.NextBlock(100).empty());
}

TEST(RenderLength, IsTheLastEventPlusTheTail) {
  const MidiSequence note = HeldNote(60, 0.25, 1.5);
  EXPECT_EQ(RenderLengthFrames(note, {1000, 64, 0.25}), 1500 + 250);
  // With no tail the last event still needs its own frame.
  EXPECT_EQ(RenderLengthFrames(note, {1000, 64, 0.0}), 1501);
  EXPECT_EQ(RenderLengthFrames(MidiSequence{}, {1000, 64, 2.0}), 2000);
}

TEST(ParameterAssignments, ParseIndexOrNameAndRefuseBadValues) {
  const ParameterAssignment byIndex = ParseParameterAssignment("3=0.5");
  EXPECT_EQ(byIndex.target, "3");
  EXPECT_FLOAT_EQ(byIndex.value, 0.5f);
  const ParameterAssignment byName = ParseParameterAssignment("Filter Cutoff=1");
  EXPECT_EQ(byName.target, "Filter Cutoff");
  EXPECT_FLOAT_EQ(byName.value, 1.0f);
  EXPECT_EQ(ParseParameterAssignment("a=b=0").target, "a=b");
  for (const char* bad :
       {"novalue", "=0.5", "x=", "x=1.5", "x=-0.1", "x=abc", "x=0.5junk", "x=nan"}) {
    EXPECT_THROW(ParseParameterAssignment(bad), RenderError) << bad;
  }
}

// A real instrument from outside the project, played through our host.
class ThirdPartyRender : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = ThirdPartyLibrary();
    if (library_ == nullptr) {
      GTEST_SKIP() << kThirdPartyPlugin << " is missing; install the amsynth package";
    }
  }

  struct Audio {
    std::vector<float> left, right;
    RenderStats stats;
  };
  Audio Render(const MidiSequence& sequence, const RenderSettings& settings) {
    PluginInstance plugin(*library_);
    plugin.Start(settings.sampleRate, settings.blockSize);
    Audio audio;
    int calls = 0;
    audio.stats = RenderSequence(
        plugin, sequence, settings,
        [&](const float* l, const float* r, int n) {
          EXPECT_LE(n, settings.blockSize);
          audio.left.insert(audio.left.end(), l, l + n);
          audio.right.insert(audio.right.end(), r, r + n);
        },
        [&](std::int64_t done, std::int64_t total) {
          ++calls;
          EXPECT_EQ(done, static_cast<std::int64_t>(audio.left.size()));
          EXPECT_EQ(total, RenderLengthFrames(sequence, settings));
        });
    EXPECT_GT(calls, 0);
    EXPECT_DOUBLE_EQ(plugin.transport().samplePos, static_cast<double>(audio.left.size()));
    return audio;
  }

  PluginLibrary* library_ = nullptr;
};

struct RateCase {
  int rate;
  int block;
};

class ThirdPartyPitch : public ThirdPartyRender, public ::testing::WithParamInterface<RateCase> {};

TEST_P(ThirdPartyPitch, HeldA4SoundsAt440Hz) {
  const RenderSettings settings{GetParam().rate, GetParam().block, 0.25};
  const Audio audio = Render(HeldNote(69, 0.0, 2.0), settings);
  const auto expected =
      static_cast<std::size_t>(RenderLengthFrames(HeldNote(69, 0.0, 2.0), settings));
  ASSERT_EQ(audio.left.size(), expected);
  EXPECT_EQ(audio.stats.frames, static_cast<std::int64_t>(expected));
  EXPECT_FALSE(analysis::HasNonFinite(audio.left));
  EXPECT_FALSE(analysis::HasNonFinite(audio.right));
  EXPECT_EQ(audio.stats.nonFinite, 0);
  EXPECT_FALSE(audio.stats.silent);
  EXPECT_FLOAT_EQ(audio.stats.peak,
                  std::max(analysis::Peak(audio.left), analysis::Peak(audio.right)));

  // The middle second, after any attack.
  const std::span<const float> middle(audio.left.data() + settings.sampleRate / 2,
                                      static_cast<std::size_t>(settings.sampleRate));
  EXPECT_GT(analysis::Rms(middle), 0.01);
  EXPECT_NEAR(analysis::EstimateFundamental(middle, settings.sampleRate), 440.0, 1.0);
}

INSTANTIATE_TEST_SUITE_P(RatesAndBlocks, ThirdPartyPitch,
                         ::testing::Values(RateCase{44100, 512}, RateCase{48000, 100}),
                         [](const auto& info) {
                           return std::to_string(info.param.rate) + "_" +
                                  std::to_string(info.param.block);
                         });

TEST_F(ThirdPartyRender, NoteStartsOnItsFrameNotAtItsBlock) {
  // Frame 13230 lies 430 frames into the 26th block of 512.
  const RenderSettings settings{44100, 512, 0.1};
  const Audio audio = Render(HeldNote(69, 0.3, 0.6), settings);
  const std::size_t onset = 13230;
  const std::span<const float> before(audio.left.data(), onset);
  EXPECT_EQ(analysis::Peak(before), 0.0f) << "sound before the note-on frame";
  const std::span<const float> after(audio.left.data() + onset, 2205);
  EXPECT_GT(analysis::Peak(after), 0.0f) << "no sound within 50 ms of the note-on";
}

TEST_F(ThirdPartyRender, JobAppliesParametersAndWritesWhatItMeasured) {
  TempDir dir;
  RenderJobOptions options;
  options.pluginPath = kThirdPartyPlugin;
  options.outputPath = dir.File("job.wav");
  options.settings = {32000, 256, 0.2};
  options.format = WavSampleFormat::kFloat32;
  {
    RenderJob probe(options);
    const auto parameters = probe.Parameters();
    ASSERT_GE(parameters.size(), 2u);
    options.parameters = {{"1", 0.25f}, {parameters[0].name, 0.75f}};
  }
  RenderJob job(options);
  const auto parameters = job.Parameters();
  EXPECT_NEAR(parameters[1].value, 0.25f, 1e-3f);
  EXPECT_NEAR(parameters[0].value, 0.75f, 1e-3f);

  const MidiSequence note = HeldNote(57, 0.0, 0.5);
  const RenderReport report = job.Render(note);
  EXPECT_EQ(report.outputPath, options.outputPath);
  EXPECT_EQ(report.stats.frames, RenderLengthFrames(note, options.settings));
  EXPECT_GT(report.wallSeconds, 0.0);
  EXPECT_GT(report.RealTimeFactor(), 1.0);
  EXPECT_DOUBLE_EQ(report.AudioSeconds(), double(report.stats.frames) / 32000);

  const WavData wav = ReadWav(options.outputPath);
  EXPECT_EQ(wav.sampleRate, 32000);
  ASSERT_EQ(wav.frames(), static_cast<std::size_t>(report.stats.frames));
  const float peak = std::max(analysis::Peak(wav.channels[0]), analysis::Peak(wav.channels[1]));
  EXPECT_FLOAT_EQ(peak, report.stats.peak);
  EXPECT_NEAR(report.PeakDbfs(), 20.0 * std::log10(peak), 1e-6);
}

TEST_F(ThirdPartyRender, JobRefusesUnknownParametersAndMissingPlugins) {
  RenderJobOptions options;
  options.pluginPath = kThirdPartyPlugin;
  options.parameters = {{"no such parameter", 0.5f}};
  EXPECT_THROW(RenderJob{options}, RenderError);
  options.parameters = {{"100000", 0.5f}};
  EXPECT_THROW(RenderJob{options}, RenderError);
  options.parameters.clear();
  options.pluginPath = "/nonexistent/plugin.so";
  EXPECT_THROW(RenderJob{options}, HostError);
}

TEST_F(ThirdPartyRender, FailedOutputLeavesNoFileBehind) {
  TempDir dir;
  RenderJobOptions options;
  options.pluginPath = kThirdPartyPlugin;
  options.outputPath = dir.File("missing-folder/out.wav");
  RenderJob job(options);
  EXPECT_THROW(job.Render(HeldNote(60, 0.0, 0.1)), WavError);
  EXPECT_FALSE(std::filesystem::exists(options.outputPath));
}

}  // namespace
