// WAV files through libsndfile: what goes in comes back out within the
// resolution of the format, at the rate given, channels in order.
#include "wav_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "support/temp_dir.h"

using namespace zhost;

namespace {

struct FormatCase {
  WavSampleFormat format;
  int sampleRate;
  float tolerance;  // largest error a round trip may add
  const char* name;
};

class WavRoundTrip : public ::testing::TestWithParam<FormatCase> {};

TEST_P(WavRoundTrip, KeepsRateChannelsAndSamplesWithinResolution) {
  const FormatCase& c = GetParam();
  constexpr std::size_t kFrames = 9000;  // spans more than one internal chunk
  std::vector<float> left(kFrames), right(kFrames);
  for (std::size_t i = 0; i < kFrames; ++i) {
    left[i] = 0.8f * static_cast<float>(
                         std::sin(2.0 * std::numbers::pi * 997.0 * double(i) / c.sampleRate));
    right[i] = -1.0f + 2.0f * static_cast<float>(i) / kFrames;  // a ramp across full scale
  }
  TempDir dir;
  const std::string path = dir.File("round.wav");
  WriteWav(path, left, right, c.sampleRate, c.format);

  const WavData read = ReadWav(path);
  EXPECT_EQ(read.sampleRate, c.sampleRate);
  ASSERT_EQ(read.channels.size(), 2u);
  ASSERT_EQ(read.frames(), kFrames);
  ASSERT_TRUE(read.format.has_value());
  EXPECT_EQ(*read.format, c.format);
  float worst = 0.0f;
  for (std::size_t i = 0; i < kFrames; ++i) {
    worst = std::max({worst, std::fabs(read.channels[0][i] - left[i]),
                      std::fabs(read.channels[1][i] - right[i])});
  }
  EXPECT_LE(worst, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WavRoundTrip,
    ::testing::Values(FormatCase{WavSampleFormat::kPcm16, 44100, 2.0f / 32768, "Pcm16"},
                      FormatCase{WavSampleFormat::kPcm24, 96000, 2.0f / 8388608, "Pcm24"},
                      FormatCase{WavSampleFormat::kFloat32, 22050, 0.0f, "Float32"},
                      FormatCase{WavSampleFormat::kPcm24, 12345, 2.0f / 8388608, "OddRate"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WavFile, PcmClipsBeyondFullScaleAndFloatKeepsIt) {
  const std::vector<float> hot = {1.5f, -1.5f, 4.0f, -4.0f, 0.5f};
  TempDir dir;
  for (WavSampleFormat format : {WavSampleFormat::kPcm16, WavSampleFormat::kPcm24}) {
    const std::string path = dir.File("hot.wav");
    WriteWav(path, hot, hot, 48000, format);
    const WavData read = ReadWav(path);
    ASSERT_EQ(read.frames(), hot.size());
    for (std::size_t i = 0; i < hot.size(); ++i) {
      const float expected = std::clamp(hot[i], -1.0f, 1.0f);
      EXPECT_NEAR(read.channels[0][i], expected, 1e-4f) << "sample " << i;
    }
  }
  const std::string path = dir.File("float.wav");
  WriteWav(path, hot, hot, 48000, WavSampleFormat::kFloat32);
  EXPECT_EQ(ReadWav(path).channels[1], hot);
}

TEST(WavFile, WritingInPiecesEqualsWritingAtOnce) {
  std::vector<float> left(10000), right(10000);
  for (std::size_t i = 0; i < left.size(); ++i) {
    left[i] = static_cast<float>(i) / 10000.0f;
    right[i] = -left[i];
  }
  TempDir dir;
  const std::string path = dir.File("pieces.wav");
  {
    WavWriter writer(path, 44100, WavSampleFormat::kFloat32);
    std::size_t at = 0;
    for (std::size_t piece : {std::size_t{1}, std::size_t{4095}, std::size_t{4097}, std::size_t{0},
                              left.size() - 8193}) {
      writer.Write(left.data() + at, right.data() + at, piece);
      at += piece;
    }
    EXPECT_EQ(writer.framesWritten(), static_cast<std::int64_t>(left.size()));
    writer.Close();
    EXPECT_THROW(writer.Write(left.data(), right.data(), 1), WavError);
  }
  const WavData read = ReadWav(path);
  EXPECT_EQ(read.channels[0], left);
  EXPECT_EQ(read.channels[1], right);
  const std::vector<float> interleaved = read.Interleaved();
  ASSERT_EQ(interleaved.size(), 2 * left.size());
  EXPECT_EQ(interleaved[2 * 777], left[777]);
  EXPECT_EQ(interleaved[2 * 777 + 1], right[777]);
}

TEST(WavFile, FailuresThrowWithTheReason) {
  TempDir dir;
  const std::string nowhere = dir.File("no-such-folder/out.wav");
  const std::vector<float> one = {0.0f};
  try {
    WriteWav(nowhere, one, one, 44100, WavSampleFormat::kPcm16);
    ADD_FAILURE() << "wrote into a missing folder";
  } catch (const WavError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find(nowhere), std::string::npos) << what;
    EXPECT_GT(what.size(), nowhere.size() + 16) << "libsndfile's reason is missing: " << what;
  }
  EXPECT_THROW(ReadWav(dir.File("missing.wav")), WavError);
  EXPECT_THROW(WavWriter(dir.File("zero-rate.wav"), 0, WavSampleFormat::kPcm16), WavError);
  const std::vector<float> two = {0.0f, 0.0f};
  EXPECT_THROW(WriteWav(dir.File("uneven.wav"), one, two, 44100, WavSampleFormat::kPcm16),
               std::invalid_argument);
}

}  // namespace
