#include "engine/voice/voice.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "engine/instrument/zelvane.h"

namespace {

float ValueAt(const Envelope& list, float t, int& hint, int column = 0) {
  std::array<float, 23> values{};
  list.Evaluate(t, hint, values.data());
  return values[static_cast<std::size_t>(column)];
}

}  // namespace

Voice::Voice() : ZModSource(2), ZModTarget(7), lfo1_(0, 1), lfo2_(3, 2), routing_(ModulationContext{}) {
  SetComponentName("ZELVANE_VOICE");
  for (auto& o : oscillators_) o = std::make_unique<VectorOsc>();
  for (auto& n : noises_) n = std::make_unique<ZNoiseOsc>();
  filter_.enabled().SetValue(1.0f);
  filter_.cutoff().SetValue(80.0f);
  filter_.resonance().SetValue(10.0f);
  filter_.type().SetValue(StereoFilter::kLowPass);
  lfo1_.SetModulationList(&modulation_);
  lfo2_.SetModulationList(&modulation_);
}

void Voice::Start(Zelvane& instrument, int layer, std::uint32_t seed) {
  instrument_ = &instrument;
  layer_ = layer;
  settings_ = &instrument.voiceSettings(layer);
  random_ = seed | 1u;
  lfo1_.Seed(seed * 3u + 1u);
  lfo2_.Seed(seed * 7u + 5u);

  ModulationContext context;
  context.lfoSource[0] = &lfo1_;
  context.lfoSource[1] = &lfo2_;
  context.lfoTarget[0] = &lfo1_;
  context.lfoTarget[1] = &lfo2_;
  context.voiceSource = this;
  context.voiceTarget = this;
  for (int i = 0; i < Zelvane::kPerformSources; ++i) context.performSource[i] = &instrument.performSource(i);
  context.modWheel = &instrument.modWheelSource();
  context.aftertouch = &instrument.aftertouchSource();
  routing_ = RoutingTable(context);

  const WaveSet* waves = &settings_->waveSet();
  for (auto& o : oscillators_) {
    o->SetWaveSet(waves);
    o->SetPhase(Random01() * static_cast<float>(waves->length()));
  }
  std::vector<SampleRateListener*> rateListeners = {this, &filter_, &lfo1_, &lfo2_};
  std::vector<TempoListener*> tempoListeners = {this, &filter_, &lfo1_, &lfo2_};
  for (auto& o : oscillators_) rateListeners.push_back(o.get()), tempoListeners.push_back(o.get());
  for (auto& n : noises_) rateListeners.push_back(n.get()), tempoListeners.push_back(n.get());
  for (SampleRateListener* l : rateListeners) {
    instrument.sampleRateSource().AddSampleRateListener(l);
    l->SetSampleRate(instrument.sampleRateSource().currentSampleRate());
  }
  for (TempoListener* l : tempoListeners) instrument.tempoSource().AddTempoListener(l);
  instrument.pitchBendRange().Subscribe(this);
  SyncRoutings();
}

float Voice::Random01() {
  random_ ^= random_ << 13;
  random_ ^= random_ >> 17;
  random_ ^= random_ << 5;
  return static_cast<float>(random_ % 32768u) / 32767.0f;
}

void Voice::SyncRoutings() {
  if (settings_ == nullptr) return;
  for (int r = 0; r < VoiceSettings::kRoutingRows; ++r) {
    const ModRouting& s = settings_->routing(r);
    ModRouting& row = routing_.row(r);
    row.enabled = s.enabled;
    row.amount = s.amount;
    row.amountFromLine = s.amountFromLine;
    routing_.SetSource(r, s.sourceOutput);
    routing_.SetTarget(r, s.targetInput);
  }
  // The sixth pad's Y axis has no settings row: its own assignment holds it.
  PerformModSource& pad = instrument_->performSource(Zelvane::kPerformSources - 1);
  const PerformModSource::Assignment& a = pad.assignment(1);
  ModRouting& last = routing_.row(RoutingTable::kPitchBendRow - 1);
  const bool ours = a.assigned && (a.voice == layer_ || a.voice == 4);
  last.enabled = ours;
  last.amount = 1.0f;
  last.amountFromLine = false;
  routing_.SetSource(RoutingTable::kPitchBendRow - 1, ours ? 11 : -1);
  routing_.SetTarget(RoutingTable::kPitchBendRow - 1, ours ? a.target : -1);

  ModRouting& bend = routing_.row(RoutingTable::kPitchBendRow);
  bend.enabled = true;
  bend.source = &instrument_->pitchBendSource();
  bend.sourceOutput = 0;
  bend.target = this;
  bend.targetInput = kOscPitch;
  bend.amountFromLine = false;
  bend.voiceTarget = true;
  UpdatePitchBendAmount();
}

void Voice::UpdatePitchBendAmount() {
  const float range = instrument_->pitchBendRange().GetValue();
  routing_.row(RoutingTable::kPitchBendRow).amount = std::exp2(range / 12.0f) - 1.0f;
}

void Voice::ParameterChanged(float /*value*/, Parameter* which) {
  if (instrument_ == nullptr || which != &instrument_->pitchBendRange()) return;
  // The range may change on any thread; the row is read by the block.
  std::lock_guard lock(instrument_->mutex());
  UpdatePitchBendAmount();
}

void Voice::ComputeOutput(ZModValues& list, int frames, int output) {
  const float v = (output == 0 ? velocity_ : key_) / 64.0f - 1.0f;
  list.Append(0.0f, v);
  list.Append(static_cast<float>(frames), v);
}

void Voice::NoteOn(int key, int velocity, float lfo1Phase, float lfo2Phase) {
  key_ = key;
  velocity_ = velocity;
  position_ = 0.0f;
  previousFrozen_ = currentFrozen_ = instrument_->editTime();
  hints_.fill(0);
  const auto length = static_cast<float>(settings_->waveSet().length());
  for (int k = 0; k < kUnison; ++k) {
    oscillators_[static_cast<std::size_t>(k)]->SetPhase(k == 0 ? 0.0f : Random01() * length);
  }
  lfo1_.SetPhase(lfo1Phase);
  lfo2_.SetPhase(lfo2Phase);
  released_ = false;
  releaseElapsed_ = 0.0f;
  releaseHint_ = 0;
  gliding_ = false;
  glideElapsed_ = 0.0f;
  glideHint_ = 0;
  filter_.ClearState();
  finished_ = false;
}

void Voice::Release(int offset) {
  const int length = static_cast<int>(std::floor(settings_->setting(VoiceSettings::kReleaseLength).GetValue() + 0.5f));
  const auto a = static_cast<float>(offset);
  release_.Clear();
  release_.Append(0.0f, 1.0f);
  if (offset > 0) release_.Append(a, 1.0f);
  if (length < 1024) {
    release_.Append(a + static_cast<float>(length), 0.0f);
  } else {
    for (int t = 1024; t <= length; t += 1024) {
      const float x = static_cast<float>(t) / static_cast<float>(length);
      release_.Append(a + static_cast<float>(t), (1.0f - x) / (1.0f + 3.0f * x));
    }
    // The curve ends at the release length, and at silence there.
    release_.last().time = a + static_cast<float>(length);
    release_.last().values[0] = 0.0f;
  }
  released_ = true;
  releaseElapsed_ = 0.0f;
  releaseHint_ = 0;
}

void Voice::Fade(int offset) {
  int hint = 0;
  const float b = released_ ? ValueAt(release_, releaseElapsed_, hint) : 1.0f;
  const auto a = static_cast<float>(offset);
  release_.Clear();
  release_.Append(0.0f, b);
  if (offset > 0) release_.Append(a, b);
  release_.Append(a + kFadeFrames, 0.0f);
  released_ = true;
  releaseElapsed_ = 0.0f;
  releaseHint_ = 0;
}

void Voice::Glide(float from, int offset, int frames) {
  const auto a = static_cast<float>(offset);
  glide_.Clear();
  glide_.Append(0.0f, from);
  if (offset > 0) glide_.Append(a, from);
  glide_.Append(a + static_cast<float>(frames), 0.0f);
  gliding_ = true;
  glideElapsed_ = 0.0f;
  glideHint_ = 0;
}

float Voice::GlideOffset() const {
  if (!gliding_ || glide_.empty()) return 0.0f;
  int hint = 0;
  return ValueAt(glide_, glideElapsed_, hint);
}
