// Timeline preset bodies: which lines are written, and which are applied.
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "instrument/instrument_fixture.h"
#include "persist/streams.h"
#include "persist/timeline_preset.h"

namespace {

TEST_F(InstrumentTest, TimelinePresetsCarryOnlyTheChosenLines) {
  VoiceSettings& source = z->voiceSettings(0);
  source.line(VoiceSettings::kWave).Append(500.0f, 0.3f);
  source.line(VoiceSettings::kFilter).Append(700.0f, 0.9f);
  std::string body;
  StringWriter w(body);
  WriteTimelinePreset(*z, {false, false, true, true, false, false}, w);
  // Six flags, then two line records: Wave's (2 points of 3 values) first.
  EXPECT_EQ(body.size(), 6u + (12 + 2 * 16) + (12 + 2 * 16));
  EXPECT_EQ(body.substr(0, 6), std::string("\0\0\1\1\0\0", 6));

  z->SelectVoice(2);  // a preset saved from voice 1 loads into voice 3
  VoiceSettings& target = z->voiceSettings(2);
  const int amplitudePoints = target.line(VoiceSettings::kAmplitude).size();
  StringReader flagsOnly(body.data(), body.size());
  EXPECT_EQ(ReadTimelineItemFlags(flagsOnly), (TimelineItemFlags{false, false, true, true, false, false}));

  StringReader r(body.data(), body.size());
  ReadTimelinePreset(*z, {true, true, false, true, true, true}, r);  // Wave switched off
  EXPECT_EQ(target.line(VoiceSettings::kWave).size(), 1);           // read and dropped
  ASSERT_EQ(target.line(VoiceSettings::kFilter).size(), 2);         // still applied in step
  EXPECT_FLOAT_EQ(target.line(VoiceSettings::kFilter)[1].time, 700.0f);
  EXPECT_EQ(target.line(VoiceSettings::kAmplitude).size(), amplitudePoints);  // not in the file

  const std::string cut = body.substr(0, body.size() - 3);
  StringReader damaged(cut.data(), cut.size());
  EXPECT_THROW(ReadTimelinePreset(*z, {true, true, true, true, true, true}, damaged), StreamError);
  EXPECT_EQ(target.line(VoiceSettings::kWave).size(), 2);    // the whole first record arrived
  EXPECT_EQ(target.line(VoiceSettings::kFilter).size(), 2);  // the damaged one changed nothing
  EXPECT_FLOAT_EQ(target.line(VoiceSettings::kFilter)[1].time, 700.0f);
}

// A breakpoint that is not a number, or one so large that arithmetic on it
// overflows, would make every sample after it NaN.
TEST_F(InstrumentTest, TimelinePresetsWithBreakpointsOutOfRangeChangeNothing) {
  EventEnvelope& voice = z->voiceSettings(0).line(VoiceSettings::kVoice);
  const int points = voice.size();
  for (bool inTime : {true, false}) {
    for (float bad : {NAN, INFINITY, -INFINITY, -2.7e38f, 2.0e9f}) {
      std::string body;
      StringWriter w(body);
      for (bool flag : {false, true, false, false, false, false}) w.WriteBool(flag);
      w.WriteFloat(1.0f);
      w.WriteCount(2);
      w.WriteCount(5);
      for (float time : {0.0f, 1000.0f}) {
        w.WriteFloat(inTime && time > 0.0f ? bad : time);
        for (int i = 0; i < 5; ++i) w.WriteFloat(!inTime && i == 3 ? bad : 0.1f);
      }
      StringReader r(body.data(), body.size());
      EXPECT_THROW(ReadTimelinePreset(*z, {true, true, true, true, true, true}, r), StreamError);
      EXPECT_EQ(voice.size(), points);
    }
  }
  z->NoteOn(0, 60, 100, 0);
  std::vector<float> l(256), r(256);
  float* out[2] = {l.data(), r.data()};
  z->processReplacing(nullptr, out, 256);
  for (std::size_t i = 0; i < l.size(); ++i) ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i]));
}

// One line record: every breakpoint at its time, all values set to value.
std::string LineRecord(int line, int width, std::initializer_list<float> times, float value) {
  std::string body;
  StringWriter w(body);
  for (int i = 0; i < 6; ++i) w.WriteBool(i == line);
  w.WriteFloat(1.0f);
  w.WriteCount(static_cast<std::uint32_t>(times.size()));
  w.WriteCount(static_cast<std::uint32_t>(width));
  for (float t : times) {
    w.WriteFloat(t);
    for (int i = 0; i < width; ++i) w.WriteFloat(value + static_cast<float>(i));
  }
  return body;
}

// Editing and playing rely on each line's own width.
TEST_F(InstrumentTest, LineRecordsOfAnotherWidthKeepTheLinesWidth) {
  EventEnvelope& voice = z->voiceSettings(0).line(VoiceSettings::kVoice);
  for (int width : {64, 2}) {
    const std::string body = LineRecord(VoiceSettings::kVoice, width, {0.0f, 500.0f}, 0.25f);
    StringReader r(body.data(), body.size());
    ReadTimelinePreset(*z, {true, true, true, true, true, true}, r);
    ASSERT_EQ(voice.valuesPerPoint(), 5);
    ASSERT_EQ(voice.size(), 2);
    EXPECT_FLOAT_EQ(voice[1].values[1], 1.25f);
    EXPECT_FLOAT_EQ(voice[1].values[4], width > 4 ? 4.25f : 0.0f);  // missing values are zero
    EXPECT_FLOAT_EQ(z->ReadEditedValue(0, VoiceSettings::kVoice, 4), width > 4 ? 4.25f : 0.0f);
  }
}

// Vector positions far outside the square, as far as a line record may hold.
TEST_F(InstrumentTest, FarOffVectorPositionsPlayCleanly) {
  for (float far : {1.0e8f, -1.0e8f}) {
    const std::string body = LineRecord(VoiceSettings::kWave, 3, {0.0f, 3000.0f}, far);
    StringReader r(body.data(), body.size());
    ReadTimelinePreset(*z, {true, true, true, true, true, true}, r);
    z->NoteOn(0, 60, 100, 0);
    std::vector<float> l(512), rr(512);
    float* out[2] = {l.data(), rr.data()};
    z->processReplacing(nullptr, out, 512);
    for (std::size_t i = 0; i < l.size(); ++i) {
      ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(rr[i])) << far << " at " << i;
    }
    z->CutAllNotes();
  }
}

}  // namespace
