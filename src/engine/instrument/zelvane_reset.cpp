// The initial patch and the reset state of a voice.
#include "engine/instrument/zelvane.h"

namespace {

void SetLine(EventEnvelope& line, std::initializer_list<std::pair<float, std::vector<float>>> points) {
  line.Clear();
  for (const auto& [time, values] : points) {
    Breakpoint& p = line.Append(time, 0.0f);
    for (std::size_t i = 0; i < values.size() && i < p.values.size(); ++i) p.values[i] = values[i];
  }
}

}  // namespace

void Zelvane::ResetPatch() {
  DeferredAutomation deferred(*this);
  EditLock lock(*this);
  patchName_ = kUntitled;
  category_.clear();
  for (int k = 0; k < kVoices; ++k) ResetVoice(k);
  for (int k = 0; k < kVoices; ++k) {
    voiceSettings(k).setting(VoiceSettings::kLayerOn).SetValue(k == 0 ? 1.0f : 0.0f);
  }
  keyMode_.SetValue(0.0f);
  polyphony_.SetValue(8.0f);
  portamentoTime_.SetValue(0.0f);
  masterVolume_.SetValue(1.0f);
  pitchBendRange_.SetValue(2.0f);
  bridge(13).SetValue(0.0f);   // timeline tempo sync of the selected voice
  bridge(11).SetValue(0.2f);   // its release length, clamped into range
  timeFreeze_.SetValue(0.0f);
  for (int k = 0; k < kVoices; ++k) ClearRoutings(k);
  for (auto& source : performSources_) source->Reset();

  delay_.enabled().SetValue(0.0f);
  delay_.time().SetValue(0.0f);
  delay_.mix().SetValue(0.5f);
  delay_.feedback().SetValue(0.5f);
  delay_.amplitude().SetValue(1.0f);
  delay_.stereo().SetValue(1.0f);
  reverb_.enabled().SetValue(0.0f);
  reverb_.time().SetValue(0.5f);
  reverb_.size().SetValue(0.5f);
  reverb_.mix().SetValue(0.5f);
  ResetDistortion();
  filter1_.enabled().SetValue(0.0f);
  filter2_.enabled().SetValue(0.0f);
  filter1_.cutoff().SetValue(filter1_.cutoff().GetMinimum());
  filter2_.cutoff().SetValue(22000.0f);

  if (InstrumentEditor* ed = editor()) {
    ed->IdleRefresh();
    NotifyParameters(1, false);
  }
}

void Zelvane::ResetVoice(int k) {
  EditLock lock(*this);
  VoiceSettings& v = voiceSettings(k);
  v.waveSet().BuildBuiltIns({WaveSet::kRamp, WaveSet::kSilence, WaveSet::kSquare, WaveSet::kSilence});

  SetLine(v.line(VoiceSettings::kAmplitude), {{0.0f, {0.7f}}, {220500.0f, {0.7f}}, {264600.0f, {0.0f}}});
  SetLine(v.line(VoiceSettings::kVoice), {{0.0f, {0, 0, 0, 0.1f, 0.1f}}});
  SetLine(v.line(VoiceSettings::kWave), {{0.0f, {-1.0f, 0, 1.0f}}});
  SetLine(v.line(VoiceSettings::kFilter), {{0.0f, {1.0f, 0, 5.0f}}});
  SetLine(v.line(VoiceSettings::kEffects), {{0.0f, {0, 0, 0, 0}}});
  std::vector<float> modulation = {1.0f, 0.05f, 0.0f, 1.0f, 0.05f, 0.0f};
  modulation.resize(11, 0.5f);   // the five matrix amounts
  modulation.resize(23, 1.0f);   // the twelve perform amounts
  SetLine(v.line(VoiceSettings::kModulation), {{0.0f, modulation}});

  LoopRecord& loop = v.loop();
  loop.on = false;
  loop.start = 0.0f;
  loop.end = 132300.0f;

  v.setting(VoiceSettings::kLevel).SetValue(0.7f);
  v.setting(VoiceSettings::kFilterOn).SetValue(1.0f);
  v.setting(VoiceSettings::kKeyFollow).SetValue(0.0f);
  v.setting(VoiceSettings::kUnisonCount).SetValue(1.0f);
  for (int s : {VoiceSettings::kTimelineSync, VoiceSettings::kLfo1Sync, VoiceSettings::kLfo2Sync,
                VoiceSettings::kLfo1Continuity, VoiceSettings::kLfo2Continuity}) {
    v.setting(s).SetValue(0.0f);
  }
}

void Zelvane::ResetDistortion() {
  distortion_.enabled().SetValue(0.0f);
  distortion_.drive().SetValue(1.0f);
  distortion_.crunch().SetValue(0.5f);
  distortion_.output().SetValue(1.0f);
  distortion_.highCut().SetValue(1.0f);
}
