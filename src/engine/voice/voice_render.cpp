// The block render of a voice layer.
#include <algorithm>
#include <cmath>

#include "engine/instrument/zelvane.h"
#include "engine/voice/voice.h"

namespace {

constexpr float kDetuneFactors[Voice::kUnison] = {1.0f, 1.1f, 0.9f, 1.05f};

float NoteToHz(float pitch) { return 13.75f * std::exp2((pitch - 9.0f) / 12.0f); }

float Ratio(float v) { return v >= 0.0f ? 1.0f + v : 1.0f / (1.0f + std::fabs(v)); }

float Column(const Envelope& list, float t, int& hint, int column) {
  std::array<float, 23> values{};
  list.Evaluate(t, hint, values.data());
  return values[static_cast<std::size_t>(column)];
}

// Corner weights of a vector position; corners at (-1,0), (0,-1), (1,0), (0,1).
void Weights(float x, float y, float epsilon, float* w) {
  const float d[4] = {(x + 1) * (x + 1) + y * y, x * x + (y + 1) * (y + 1),
                      (x - 1) * (x - 1) + y * y, x * x + (y - 1) * (y - 1)};
  float sum = 0.0f;
  for (int i = 0; i < 4; ++i) sum += (w[i] = 1.0f / (d[i] + epsilon));
  for (int i = 0; i < 4; ++i) w[i] /= sum;
}

}  // namespace

void Voice::ExtractLine(int line, Envelope& out, bool zeroAfterEnd) {
  const EventEnvelope& source = settings_->line(line);
  out.Clear();
  if (out.valuesPerPoint() != source.valuesPerPoint()) out.SetValuesPerPoint(source.valuesPerPoint());
  if (frozen_) {
    // Time freeze: the line's values at the frozen positions, held past its end.
    int hint = 0;
    Breakpoint& a = out.Append(0.0f);
    source.Evaluate(previousFrozen_, hint, a.values.data());
    hint = 0;
    Breakpoint& b = out.Append(static_cast<float>(blockFrames_));
    source.Evaluate(currentFrozen_, hint, b.values.data());
    return;
  }
  WindowExtract(source, out, blockStart_, blockEnd_, hints_[static_cast<std::size_t>(line)],
                zeroAfterEnd, &blockLoop_);
  ToFrames(out, blockStart_, step_);
}

void Voice::ToFrames(Envelope& list, float start, float step) const {
  if (start > 0.0f) list.Shift(-start);
  if (1.0f / step != 1.0f) list.Scale(1.0f / step);
}

void Voice::ToRatios(ZModValues& input) {
  for (int i = 0; i < input.size(); ++i) {
    float& v = input[i].values[0];
    v = std::clamp(Ratio(v), 0.0f, 2.0f);
  }
}

void Voice::ComputeWeights() {
  weights_.Clear();
  ZModValues& xIn = input(kVectorX);
  ZModValues& yIn = input(kVectorY);
  if (!xIn.hasModulation && !yIn.hasModulation) {
    for (int i = 0; i < wave_.size(); ++i) {
      const Breakpoint& p = wave_[i];
      Breakpoint& w = weights_.Append(p.time);
      // Into the square as the modulated path below: far outside it the
      // weights overflow.
      Weights(std::clamp(p.values[0], -1.0f, 1.0f), std::clamp(p.values[1], -1.0f, 1.0f), 0.00001f,
              w.values.data());
    }
    return;
  }
  vectorX_.Clear();
  vectorX_.ColumnExtract(wave_, 0, 0);
  if (xIn.hasModulation) vectorX_.Add(xIn);
  vectorX_.Clamp(-1.0f);
  vectorY_.Clear();
  vectorY_.ColumnExtract(wave_, 1, 1);
  if (yIn.hasModulation) vectorY_.Add(yIn);
  vectorY_.Clamp(-1.0f);
  // Every point time of either list, until the X list runs out.
  int i = 0, j = 0, xHint = 0, yHint = 0;
  while (i < vectorX_.size()) {
    const float tx = vectorX_[i].time;
    const float ty = j < vectorY_.size() ? vectorY_[j].time : tx + 1.0f;
    const float t = std::min(tx, ty);
    const float x = Column(vectorX_, t, xHint, 0);
    const float y = Column(vectorY_, t, yHint, 0);
    Breakpoint& w = weights_.Append(t);
    Weights(x, y, 0.01f, w.values.data());
    if (tx <= t) ++i;
    if (ty <= t) ++j;
  }
}

void Voice::Process(const float* /*leftIn*/, const float* /*rightIn*/, float* leftOut,
                    float* rightOut, int frames) {
  if (!bypass().GetBool() || settings_ == nullptr || frames <= 0) return;
  const int n = std::min(frames, kMaxFrames);
  Zelvane& z = *instrument_;
  VoiceSettings& s = *settings_;
  blockFrames_ = n;

  // 1-2: level, timeline step and window.
  const float level = s.setting(VoiceSettings::kLevel).GetValue() * z.masterVolume().GetValue();
  step_ = 44100.0f / sampleRate();
  if (s.setting(VoiceSettings::kTimelineSync).GetBool()) {
    step_ *= tempo() / 240.0f;  // 44100 units to a bar of four beats
  } else {
    position_ = std::floor(position_ + 0.5f);
  }
  blockStart_ = position_;
  blockEnd_ = position_ + step_ * static_cast<float>(n);

  // 3: time freeze eases the played position towards the edit time.
  frozen_ = z.timeFreeze().GetBool();
  if (frozen_) {
    previousFrozen_ = currentFrozen_;
    currentFrozen_ = std::trunc(currentFrozen_ + (z.editTime() - currentFrozen_) * 0.1f);
  }

  // 4: unison count and this block's loop.
  const int unison = std::clamp(s.setting(VoiceSettings::kUnisonCount).GetIntValue(), 1, kUnison);
  blockLoop_ = s.loop();
  if (released_ && !s.setting(VoiceSettings::kLoopAfterRelease).GetBool()) blockLoop_.on = false;

  // 5-6: modulation.
  ExtractLine(VoiceSettings::kModulation, modulation_, false);
  lfo1_.SetTempoSync(s.setting(VoiceSettings::kLfo1Sync).GetBool());
  lfo2_.SetTempoSync(s.setting(VoiceSettings::kLfo2Sync).GetBool());
  lfo1_.SetPositiveOnly(s.setting(VoiceSettings::kLfo1Positive).GetBool());
  lfo2_.SetPositiveOnly(s.setting(VoiceSettings::kLfo2Positive).GetBool());
  routing_.Evaluate(n, modulation_);

  // 7-8: pitch, pan and vector lines; the corner weights.
  ExtractLine(VoiceSettings::kVoice, voiceList_, false);
  ExtractLine(VoiceSettings::kWave, wave_, false);
  ComputeWeights();

  // 9-11: work buffer, ratios, amplitude.
  std::fill_n(work_.left.begin(), n, 0.0f);
  std::fill_n(work_.right.begin(), n, 0.0f);
  if (input(kOscAmp).hasModulation) ToRatios(input(kOscAmp));
  if (input(kOscPitch).hasModulation) ToRatios(input(kOscPitch));
  ExtractLine(VoiceSettings::kAmplitude, amplitude_, true);
  if (input(kOscAmp).hasModulation) {
    amplitude_.MultiplyBy(input(kOscAmp));
    amplitude_.Clamp(0.0f);
  }
  const float gain = static_cast<float>(velocity_) / 127.0f * level;
  for (int i = 0; i < amplitude_.size(); ++i) amplitude_[i].values[0] *= gain;

  // 12: balance between the vector oscillators and the noise.
  bool allOne = true, allZero = true;
  for (int i = 0; i < wave_.size(); ++i) {
    const float b = wave_[i].values[2];
    allOne = allOne && b == 1.0f;
    allZero = allZero && b == 0.0f;
  }
  const bool mixed = !allOne && !allZero;
  if (mixed) {
    balance_.Clear();
    balance_.ColumnExtract(wave_, 2, 2);
  }

  // 13-15: the unison stacks.
  if (gliding_) {
    glideExtract_.Clear();
    WindowExtract(glide_, glideExtract_, glideElapsed_, glideElapsed_ + static_cast<float>(n),
                  glideHint_, true, nullptr);
    glideExtract_.Shift(-glideElapsed_);
  }
  if (!allZero) RenderOscillators(n, unison, true, mixed);
  if (gliding_) {
    glideElapsed_ += static_cast<float>(n);
    if (glide_.size() < 2 || glideElapsed_ > glide_.last().time - glide_[0].time) gliding_ = false;
  }
  if (!allOne) RenderOscillators(n, unison, false, mixed);

  // 16-18: filter, release, effect sends.
  if (s.setting(VoiceSettings::kFilterOn).GetBool()) RenderFilter(n);
  if (released_) ApplyRelease(n);
  FeedSends(n);

  // 19-20: out, and on along the timeline.
  for (int i = 0; i < n; ++i) {
    leftOut[i] += work_.left[static_cast<std::size_t>(i)];
    rightOut[i] += work_.right[static_cast<std::size_t>(i)];
  }
  if (!frozen_ && blockLoop_.on) {
    position_ = blockLoop_.resumePosition;
    s.loop().resumePosition = position_;
  } else {
    position_ = blockEnd_;
  }
}

void Voice::RenderOscillators(int n, int count, bool vector, bool mixed) {
  const bool panModulated = input(kOscPan).hasModulation;
  const bool pitchModulated = input(kOscPitch).hasModulation;
  if (mixed && !vector) {
    // The noise takes what the vector oscillators leave.
    spare_.CopyFrom(balance_);
    for (int i = 0; i < spare_.size(); ++i) spare_[i].values[0] = 1.0f - spare_[i].values[0];
  }
  for (int k = 0; k < count; ++k) {
    Envelope& amplitude = vector ? oscillators_[static_cast<std::size_t>(k)]->amplitude()
                                 : noises_[static_cast<std::size_t>(k)]->amplitude();
    Envelope& pan = vector ? oscillators_[static_cast<std::size_t>(k)]->pan()
                           : noises_[static_cast<std::size_t>(k)]->pan();
    if (mixed) {
      Product(amplitude_, vector ? balance_ : spare_, amplitude);
    } else {
      amplitude.CopyFrom(amplitude_);
    }
    pan.Clear();
    VectorOsc* osc = vector ? oscillators_[static_cast<std::size_t>(k)].get() : nullptr;
    if (osc != nullptr) osc->frequency().Clear();
    for (int i = 0; i < voiceList_.size(); ++i) {
      const Breakpoint& p = voiceList_[i];
      const float centre = p.values[2], detune = p.values[3], spread = p.values[4];
      float panK = centre;
      if (count >= 2) {
        panK = std::clamp(centre - spread + 2.0f * spread * static_cast<float>(k) / static_cast<float>(count - 1),
                          -1.0f, 1.0f);
      }
      pan.Append(p.time, panK);
      if (osc != nullptr) {
        const float pitch = p.values[0] + static_cast<float>(key_) -
                            kDetuneFactors[k] * static_cast<float>(k) * detune / static_cast<float>(count) +
                            p.values[1];
        osc->frequency().Append(p.time, std::max(pitch, 0.0f));
      }
    }
    if (panModulated) {
      pan.Add(input(kOscPan));
      pan.Clamp(-1.0f);
    }
    if (osc != nullptr) {
      Envelope& f = osc->frequency();
      if (gliding_) f.Add(glideExtract_);
      for (int i = 0; i < f.size(); ++i) f[i].values[0] = NoteToHz(std::max(f[i].values[0], 0.0f));
      if (pitchModulated) f.MultiplyBy(input(kOscPitch));
      osc->weights().CopyFrom(weights_);
      osc->Process(nullptr, nullptr, work_.left.data(), work_.right.data(), n);
    } else {
      noises_[static_cast<std::size_t>(k)]->Process(nullptr, nullptr, work_.left.data(),
                                                     work_.right.data(), n);
    }
  }
}

void Voice::RenderFilter(int n) {
  ExtractLine(VoiceSettings::kFilter, filterList_, false);
  const float keyFrequency = settings_->setting(VoiceSettings::kKeyFollow).GetBool()
                                 ? NoteToHz(static_cast<float>(key_))
                                 : 0.0f;
  ZModValues& freqIn = input(kFilterFreq);
  ZModValues& resIn = input(kFilterRes);
  int freqHint = 0, resHint = 0;
  float* l = work_.left.data();
  float* r = work_.right.data();
  for (int i = 0; i + 1 < filterList_.size(); ++i) {
    const Breakpoint& a = filterList_[i];
    const Breakpoint& b = filterList_[i + 1];
    const int from = std::clamp(static_cast<int>(a.time), 0, n);
    const int to = std::clamp(static_cast<int>(b.time), 0, n);
    const int length = to - from;
    if (length <= 0) continue;
    filter_.type().SetValue(a.values[1]);
    float cutoff = a.values[0];
    float resonance = a.values[2];
    const float cutoffSlope = (b.values[0] - a.values[0]) / static_cast<float>(length);
    const float resonanceSlope = (b.values[2] - a.values[2]) / static_cast<float>(length);
    for (int done = 0; done < length; done += StereoFilter::kChunkFrames) {
      const int chunk = std::min(StereoFilter::kChunkFrames, length - done);
      const auto at = static_cast<float>(from + done);
      const float m = freqIn.hasModulation ? Ratio(Column(freqIn, at, freqHint, 0)) : 1.0f;
      const float mr = resIn.hasModulation ? Ratio(Column(resIn, at, resHint, 0)) : 1.0f;
      const float c = m * cutoff;
      filter_.cutoff().SetValue(c * c * c * 22000.0f + keyFrequency);
      filter_.resonance().SetValue(mr * resonance);
      filter_.Process(l + from + done, r + from + done, l + from + done, r + from + done, chunk);
      cutoff += cutoffSlope * static_cast<float>(chunk);
      resonance += resonanceSlope * static_cast<float>(chunk);
    }
  }
}

void Voice::ApplyRelease(int n) {
  spare_.Clear();
  WindowExtract(release_, spare_, releaseElapsed_, releaseElapsed_ + static_cast<float>(n),
                releaseHint_, true, nullptr);
  spare_.Shift(-releaseElapsed_);
  float* l = work_.left.data();
  float* r = work_.right.data();
  int done = 0;
  for (int i = 0; i + 1 < spare_.size(); ++i) {
    const Breakpoint& a = spare_[i];
    const Breakpoint& b = spare_[i + 1];
    const int from = std::clamp(static_cast<int>(a.time), 0, n);
    const int to = std::clamp(static_cast<int>(b.time), 0, n);
    const float span = b.time - a.time;
    for (int f = from; f < to; ++f) {
      const float g = span > 0.0f ? a.values[0] + (b.values[0] - a.values[0]) * (static_cast<float>(f) - a.time) / span
                                  : b.values[0];
      l[f] *= g;
      r[f] *= g;
    }
    done = std::max(done, to);
  }
  // Frames the list did not cover have ended: silence.
  for (int f = done; f < n; ++f) l[f] = r[f] = 0.0f;
  if (spare_.size() >= 2) releaseElapsed_ += spare_.last().time - spare_[0].time;
  const float duration = release_.size() >= 2 ? release_.last().time - release_[0].time : 0.0f;
  if (releaseElapsed_ > duration) finished_ = true;
}

void Voice::FeedSends(int n) {
  Zelvane& z = *instrument_;
  const bool reverb = z.reverb().enabled().GetBool();
  const bool delay = z.delay().enabled().GetBool();
  const bool distortion = z.distortion().enabled().GetBool();
  if (!reverb && !delay && !distortion) return;
  ExtractLine(VoiceSettings::kEffects, effects_, false);
  float* l = work_.left.data();
  float* r = work_.right.data();
  for (int i = 0; i + 1 < effects_.size(); ++i) {
    const Breakpoint& a = effects_[i];
    const Breakpoint& b = effects_[i + 1];
    const int from = std::clamp(static_cast<int>(a.time), 0, n);
    const int to = std::clamp(static_cast<int>(b.time), 0, n);
    if (to <= from) continue;
    const float span = static_cast<float>(to - from);
    auto send = [&](int value, float* busL, float* busR) {
      const float s0 = a.values[static_cast<std::size_t>(value)];
      const float s1 = b.values[static_cast<std::size_t>(value)];
      if (!(s0 > 0.0f && s1 > 0.0f)) return false;
      for (int f = from; f < to; ++f) {
        const float g = s0 + (s1 - s0) * static_cast<float>(f - from) / span;
        busL[f] += l[f] * g;
        busR[f] += r[f] * g;
      }
      return true;
    };
    if (reverb) send(1, z.sendLeft(Zelvane::kReverbSend), z.sendRight(Zelvane::kReverbSend));
    if (delay) send(2, z.sendLeft(Zelvane::kDelaySend), z.sendRight(Zelvane::kDelaySend));
    if (distortion && send(3, z.sendLeft(Zelvane::kDistortionSend), z.sendRight(Zelvane::kDistortionSend))) {
      // An insert: what goes to the distortion leaves the dry signal.
      const float s0 = a.values[3], s1 = b.values[3];
      for (int f = from; f < to; ++f) {
        const float g = 1.0f - (s0 + (s1 - s0) * static_cast<float>(f - from) / span);
        l[f] *= g;
        r[f] *= g;
      }
    }
  }
}
