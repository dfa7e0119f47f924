#include "engine/voice/voice_settings.h"

#include <algorithm>

namespace {

struct SettingSpec {
  float start, end;
  int type;
  float initial;
};

// Range, kind and first value of each setting, in creation order.
constexpr std::array<SettingSpec, VoiceSettings::kSettingCount> kSpecs = {{
    {0, 1, Parameter::kInteger, 0},         // layer on
    {1, 4, Parameter::kInteger, 1},         // unison count
    {0, 1, Parameter::kInteger, 1},         // filter on
    {0, 1, Parameter::kInteger, 0},         // key follow
    {256, 352800, Parameter::kContinuous, 352800 - 256},  // release length, frames
    {0, 1, Parameter::kInteger, 1},         // loop continues after note-off
    {0, 1, Parameter::kInteger, 1},         // LFO1 tempo sync
    {0, 1, Parameter::kInteger, 1},         // LFO2 tempo sync
    {0, 1, Parameter::kInteger, 0},         // LFO1 positive only
    {0, 1, Parameter::kInteger, 0},         // LFO2 positive only
    {0, 1, Parameter::kInteger, 0},         // LFO1 phase continuity
    {0, 1, Parameter::kInteger, 0},         // LFO2 phase continuity
    {0, 1, Parameter::kInteger, 0},         // timeline tempo sync
    {0, 1, Parameter::kContinuous, 0},      // layer level
}};

}  // namespace

VoiceSettings::VoiceSettings()
    : lines_{EventEnvelope(kValuesPerLine[0]), EventEnvelope(kValuesPerLine[1]),
             EventEnvelope(kValuesPerLine[2]), EventEnvelope(kValuesPerLine[3]),
             EventEnvelope(kValuesPerLine[4]), EventEnvelope(kValuesPerLine[5])} {
  for (std::size_t i = 0; i < kSpecs.size(); ++i) {
    settings_[i].Init("", kSpecs[i].start, kSpecs[i].end, kSpecs[i].type, 0);
    AddParameter(&settings_[i]);
    settings_[i].SetValue(kSpecs[i].initial);
  }
}

float VoiceSettings::LongestLine() const {
  float longest = 0.0f;
  for (const EventEnvelope& l : lines_) {
    if (l.empty()) continue;
    longest = std::max(longest, l.last().time - l[0].time);
  }
  return longest;
}
