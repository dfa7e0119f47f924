#include "persist/patch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/instrument/zelvane.h"
#include "persist/streams.h"
#include "persist/wave_record.h"
#include "shell/message_box.h"

namespace patch {

namespace {

constexpr int kMaxRows = 1024;            // more rows than this is damage, not a patch
constexpr std::uint32_t kMaxValuesPerPoint = 64;
// Breakpoint times (frames: over six hours), values and amounts beyond this
// are damage, as is anything that is not a number: such a value reaches the
// sound, and arithmetic on it overflows into NaN, which then stays in every
// smoothed or filtered value it passes through.
constexpr float kMaxMagnitude = 1.0e9f;

float ReadInRange(Reader& r) {
  const float v = r.ReadFloat();
  if (!(std::fabs(v) <= kMaxMagnitude)) throw StreamError("a value out of range");
  return v;
}

void WritePerformSource(PerformModSource& p, Writer& w) {
  w.WriteFloat(p.amount(0));
  w.WriteFloat(p.amount(1));
  w.WriteFloat(p.x().rawValue());
  w.WriteFloat(p.y().rawValue());
  for (int axis = 0; axis < 2; ++axis) {
    const PerformModSource::Assignment& a = p.assignment(axis);
    w.WriteBool(a.assigned);
    w.WriteInt(a.voice);
    w.WriteInt(a.target);
  }
}

void ReadPerformSource(PerformModSource& p, Reader& r) {
  const float amounts[2] = {ReadInRange(r), ReadInRange(r)};
  p.amount(0) = amounts[0];
  p.amount(1) = amounts[1];
  p.x().SetValue(r.ReadFloat());
  p.y().SetValue(r.ReadFloat());
  for (int axis = 0; axis < 2; ++axis) {
    PerformModSource::Assignment& a = p.assignment(axis);
    a.assigned = r.ReadBool();
    a.voice = r.ReadInt();
    a.target = r.ReadInt();
  }
}

void WriteVoice(VoiceSettings& v, Writer& w) {
  w.WriteFloat(kVersion);
  for (int i = 0; i < VoiceSettings::kSettingCount; ++i) w.WriteFloat(v.setting(i).rawValue());
  WriteVoiceContents(v, VoiceSettings::kRoutingRows, w);
}

}  // namespace

void WriteVoiceContents(VoiceSettings& v, int rows, Writer& w) {
  w.WriteFloat(1.0f);
  w.WriteInt(rows);
  for (int row = 0; row < rows; ++row) {
    const ModRouting& r = v.routing(row);
    w.WriteFloat(1.0f);
    w.WriteBool(r.enabled);
    w.WriteInt(r.sourceOutput);
    w.WriteInt(r.targetInput);
    w.WriteFloat(r.amount);
    w.WriteBool(r.amountFromLine);
  }
  for (int lane = 0; lane < WaveSet::kLanes; ++lane) WriteWaveRecord(v.waveSet(), lane, w);
  w.WriteFloat(v.loop().start);
  w.WriteFloat(v.loop().end);
  w.WriteBool(v.loop().on);
  for (int l = 0; l < VoiceSettings::kLineCount; ++l) WriteLine(v.line(l), w);
}

void ReadLine(EventEnvelope& line, Reader& r) {
  r.ReadFloat();
  const std::uint32_t count = r.ReadCount();
  const std::uint32_t values = r.ReadCount();
  if (values == 0 || values > kMaxValuesPerPoint) throw StreamError("bad values per breakpoint");
  // Every breakpoint takes (values + 1) floats: a count the data cannot hold is damage.
  if (static_cast<std::uint64_t>(count) * (values + 1) * 4 > r.Remaining()) {
    throw StreamError("breakpoint count past the end of the data");
  }
  // The line keeps its own width, which everything that plays or edits it
  // relies on: stored values beyond it are dropped, missing ones are zero.
  const auto width = static_cast<std::uint32_t>(line.valuesPerPoint());
  line.Clear();
  for (std::uint32_t i = 0; i < count; ++i) {
    Breakpoint& p = line.Append(ReadInRange(r), 0.0f);
    for (std::uint32_t k = 0; k < values; ++k) {
      const float value = ReadInRange(r);
      if (k < width) p.values[k] = value;
    }
  }
}

void WriteLine(const EventEnvelope& line, Writer& w) {
  w.WriteFloat(1.0f);
  w.WriteCount(static_cast<std::uint32_t>(line.size()));
  w.WriteCount(static_cast<std::uint32_t>(line.valuesPerPoint()));
  for (int i = 0; i < line.size(); ++i) {
    w.WriteFloat(line[i].time);
    for (float value : line[i].values) w.WriteFloat(value);
  }
}

namespace {

void ReadVoice(VoiceSettings& v, Reader& r) {
  const float version = r.ReadFloat();
  const int level = Level(version);
  for (int i = 0; i <= 7; ++i) v.setting(i).SetValue(r.ReadFloat());
  for (int i : {8, 9}) v.setting(i).SetValue(version >= 0.004f ? r.ReadFloat() : 0.0f);
  for (int i : {10, 11}) v.setting(i).SetValue(level >= 11 ? r.ReadFloat() : 0.0f);
  if (level >= 10) v.setting(VoiceSettings::kTimelineSync).SetValue(r.ReadFloat());
  v.setting(VoiceSettings::kLevel).SetValue(r.ReadFloat());
  r.ReadFloat();
  const int rows = r.ReadInt();
  if (rows < 0 || rows > kMaxRows) throw StreamError("bad routing row count");
  for (int row = 0; row < VoiceSettings::kRoutingRows; ++row) v.routing(row) = ModRouting{};
  for (int row = 0; row < rows; ++row) {
    ModRouting read;
    r.ReadFloat();
    read.enabled = r.ReadBool();
    read.sourceOutput = r.ReadInt();
    read.targetInput = r.ReadInt();
    read.amount = ReadInRange(r);
    read.amountFromLine = r.ReadBool();
    read.voiceTarget = read.targetInput < 7;
    // A table of more rows than ours keeps the ones it has room for.
    if (row < VoiceSettings::kRoutingRows) v.routing(row) = read;
  }
  for (int lane = 0; lane < WaveSet::kLanes; ++lane) ReadWaveRecord(v.waveSet(), lane, r);
  v.loop().start = r.ReadFloat();
  v.loop().end = r.ReadFloat();
  v.loop().on = r.ReadBool();
  for (int l = 0; l < VoiceSettings::kLineCount; ++l) ReadLine(v.line(l), r);
  if (version < 0.003f) {
    EventEnvelope& voice = v.line(VoiceSettings::kVoice);
    for (int i = 0; i < voice.size(); ++i) voice[i].values[0] *= 12.0f;
  }
}

// The rows of a voice reach the sounding notes; fixed amounts go into the
// Modulation line at the edit time.
void ApplyRows(Zelvane& z, int layer) {
  VoiceSettings& v = z.voiceSettings(layer);
  EventEnvelope& line = v.line(VoiceSettings::kModulation);
  for (int row = 0; row < VoiceSettings::kRoutingRows; ++row) {
    const ModRouting& s = v.routing(row);
    const int value = RoutingTable::kFirstAmountValue + row;
    if (s.amountFromLine || z.EditingLocked() || value >= line.valuesPerPoint()) continue;
    const float t = z.editTime();
    int found = -1;
    for (int i = 0; i < line.size() && line[i].time <= t && found < 0; ++i) {
      if (line[i].time == t) found = i;
    }
    if (found < 0) {
      int hint = 0;
      found = line.Insert(t, true, hint);
    }
    line[found].values[static_cast<std::size_t>(value)] = s.amount;
  }
  for (int i = 0; i < Zelvane::kNoteCount; ++i) z.znote(i).layer(layer).SyncRoutings();
}

void ReadEffects(Zelvane& z, Reader& r, float version, int level) {
  if (version < 0.002f) return;
  DelayEffect& d = z.delay();
  if (level >= 11) {
    r.ReadInt();
    d.ReadParameters(r);
  } else {
    for (Parameter* p : {&d.bypass(), &d.enabled(), &d.time(), &d.feedback(), &d.mix(), &d.amplitude()}) {
      p->SetValue(r.ReadFloat());
    }
    if (level <= 4) {
      d.stereo().SetValue(1.0f);
    } else {
      d.stereo().SetValue(r.ReadFloat());
      d.syncToHost().SetValue(1.0f);
    }
  }
  z.reverb().ReadParameters(r);
  auto defaultFilters = [&z] {
    z.masterFilter(0).enabled().SetValue(0.0f);
    z.masterFilter(1).enabled().SetValue(0.0f);
    z.masterFilter(0).cutoff().SetValue(0.0f);
    z.masterFilter(1).cutoff().SetValue(22000.0f);
  };
  if (level <= 6) {
    for (int i = 0; i < 6; ++i) r.ReadFloat();
    if (level <= 4) {
      z.ResetDistortion();
    } else {
      z.distortion().ReadParameters(r);
    }
    defaultFilters();
    return;
  }
  z.distortion().ReadParameters(r);
  if (level == 8) z.distortion().crunch().SetValue(0.7f);
  z.masterFilter(0).ReadParameters(r);
  z.masterFilter(1).ReadParameters(r);
}

}  // namespace

int Level(float version) {
  // Damaged data may hold any float: keep the conversion defined.
  const float level = std::floor(version * 1000.0f + 0.5f);
  if (std::isnan(level)) return 0;
  return static_cast<int>(std::clamp(level, -1.0e6f, 1.0e6f));
}

bool WritePatch(Zelvane& z, Writer& w) {
  // Every writer of what is saved here holds the edit lock; the audio thread
  // changes none of it, so saving never holds up a block.
  std::lock_guard edit(z.editMutex());
  w.WriteFloat(kVersion);
  w.WriteString(kTag);
  w.WriteBool(false);
  w.WriteString(z.patchName());
  w.WriteFloat(z.timeFreeze().rawValue());
  w.WriteFloat(z.keyMode().rawValue());
  w.WriteFloat(z.polyphony().rawValue());
  w.WriteFloat(z.portamentoTime().rawValue());
  w.WriteFloat(1.0f);
  for (int i = 0; i < Zelvane::kPerformSources; ++i) WritePerformSource(z.performSource(i), w);
  for (int k = 0; k < Zelvane::kVoices; ++k) WriteVoice(z.voiceSettings(k), w);
  DelayEffect& d = z.delay();
  w.WriteInt(1);
  d.WriteParameters(w);
  z.reverb().WriteParameters(w);
  z.distortion().WriteParameters(w);
  z.masterFilter(0).WriteParameters(w);
  z.masterFilter(1).WriteParameters(w);
  w.WriteFloat(z.masterVolume().rawValue());
  w.WriteFloat(z.pitchBendRange().rawValue());
  w.WriteString(z.category());
  return true;
}

bool ReadPatch(Zelvane& z, Reader& r) {
  Zelvane::DeferredAutomation deferred(z);  // the host hears of changes after the lock
  std::lock_guard edit(z.editMutex());
  z.enabled().SetValue(0.0f);  // cuts every note; blocks stay silent meanwhile
  std::lock_guard lock(z.mutex());
  struct Reenable {
    Zelvane& z;
    ~Reenable() { z.enabled().SetValue(1.0f); }
  } reenable{z};
  try {
    const float version = r.ReadFloat();
    if (!(version <= kVersion)) return false;  // newer, or not a number
    const int level = Level(version);
    if (r.ReadString(kStringCapacity) != kTag) return false;
    if (level >= 12) r.ReadBool();
    z.SetPatchName(r.ReadString(kStringCapacity));
    z.timeFreeze().SetValue(r.ReadFloat());
    if (level < 10) {
      const bool sync = r.ReadFloat() >= 0.5f;
      for (int k = 0; k < Zelvane::kVoices; ++k) {
        z.voiceSettings(k).setting(VoiceSettings::kTimelineSync).SetValue(sync ? 1.0f : 0.0f);
      }
    }
    z.keyMode().SetValue(r.ReadFloat());
    z.polyphony().SetValue(r.ReadFloat());
    z.portamentoTime().SetValue(r.ReadFloat());
    r.ReadFloat();
    for (int i = 0; i < Zelvane::kPerformSources; ++i) ReadPerformSource(z.performSource(i), r);
    for (int k = 0; k < Zelvane::kVoices; ++k) {
      ReadVoice(z.voiceSettings(k), r);
      ApplyRows(z, k);
    }
    ReadEffects(z, r, version, level);
    z.masterVolume().SetValue(level >= 5 && version >= 0.002f ? r.ReadFloat() : 1.0f);
    z.pitchBendRange().SetValue(level >= 8 ? r.ReadFloat() : 2.0f);
    z.SetCategory(level >= 6 ? r.ReadString(kStringCapacity) : std::string(Zelvane::kUntitled));
    return true;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Zelvane: patch body refused: %s\n", e.what());
    ShowMessageBox("Error while loading patch. Aborting", "", MessageBoxButtons::kOk);
    return false;
  }
}

}  // namespace patch
