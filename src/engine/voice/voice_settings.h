// The persistent part of one layer: its fourteen switches and levels, its
// routing rows, its six timeline lines, its wave set and its loop.
// Thread: parameters from any thread; lines, rows and waves are changed
// under the instrument's mutex.
#pragma once

#include <array>

#include "engine/envelope/envelope.h"
#include "engine/envelope/loop_record.h"
#include "engine/modulation/mod_routing.h"
#include "engine/oscillators/wave_set.h"
#include "params/parameter_host.h"

class VoiceSettings : public ParameterHost {
 public:
  // What each of the fourteen parameters does.
  enum Setting {
    kLayerOn = 0, kUnisonCount, kFilterOn, kKeyFollow, kReleaseLength, kLoopAfterRelease,
    kLfo1Sync, kLfo2Sync, kLfo1Positive, kLfo2Positive, kLfo1Continuity, kLfo2Continuity,
    kTimelineSync, kLevel, kSettingCount
  };
  enum Line { kAmplitude = 0, kVoice, kWave, kFilter, kModulation, kEffects, kLineCount };
  static constexpr int kRoutingRows = 16;
  static constexpr std::array<int, kLineCount> kValuesPerLine = {1, 5, 3, 3, 23, 4};
  static constexpr float kMinimumLoopLength = 512.0f;

  VoiceSettings();

  Parameter& setting(int i) { return settings_[static_cast<std::size_t>(i)]; }
  const Parameter& setting(int i) const { return settings_[static_cast<std::size_t>(i)]; }
  EventEnvelope& line(int i) { return lines_[static_cast<std::size_t>(i)]; }
  const EventEnvelope& line(int i) const { return lines_[static_cast<std::size_t>(i)]; }
  ModRouting& routing(int row) { return routings_[static_cast<std::size_t>(row)]; }
  WaveSet& waveSet() { return waveSet_; }
  LoopRecord& loop() { return loop_; }

  // Last breakpoint time minus first over the six lines, the largest (0 when
  // every line is empty or has a single breakpoint).
  float LongestLine() const;

 private:
  std::array<Parameter, kSettingCount> settings_;
  std::array<ModRouting, kRoutingRows> routings_;
  std::array<EventEnvelope, kLineCount> lines_;
  WaveSet waveSet_;
  LoopRecord loop_;
};
