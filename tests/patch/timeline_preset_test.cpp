// Timeline preset bodies: which lines are written, and which are applied.
#include <cmath>
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

// A breakpoint that is not a number would make every sample after it one too.
TEST_F(InstrumentTest, TimelinePresetsWithBreakpointsThatAreNotNumbersChangeNothing) {
  EventEnvelope& voice = z->voiceSettings(0).line(VoiceSettings::kVoice);
  const int points = voice.size();
  for (bool inTime : {true, false}) {
    for (float bad : {NAN, INFINITY, -INFINITY}) {
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

}  // namespace
