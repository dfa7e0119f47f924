#include "engine/effects/delay_effect.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr float kDenormalOffset = 1e-17f;
constexpr float kBeatFactors[5] = {0.5f, 1.0f, 2.0f, 4.0f, 8.0f};
}  // namespace

DelayEffect::DelayEffect() : lineA_(kLineFrames, 0.0f), lineB_(kLineFrames, 0.0f) {
  // Every parameter shares the kind of the switch, so a saved block starts with it.
  SetComponentName("DELAY");
  enabled_.Init("DELAY_ENABLED", 0.0f, 1.0f, Parameter::kInteger, 1);
  time_.Init("DELAY_TIME", 0.0f, 4.0f, Parameter::kContinuous, 1);
  time_.SetOwnerAppliesModulation(true);
  feedback_.Init("DELAY_FEEDBACK", 0.0f, 1.0f, Parameter::kContinuous, 1);
  mix_.Init("DELAY_MIX", 0.0f, 1.0f, Parameter::kContinuous, 1);
  amplitude_.Init("DELAY_AMPLITUDE", 0.0f, 1.0f, Parameter::kContinuous, 1);
  amplitude_.SetOwnerAppliesModulation(true);
  stereo_.Init("DELAY_STEREO", 0.0f, 1.0f, Parameter::kInteger, 1);
  syncToHost_.Init("SYNC_TO_HOST", 0.0f, 1.0f, Parameter::kInteger, 1);
  for (Parameter* p : {&enabled_, &time_, &feedback_, &mix_, &amplitude_, &stereo_, &syncToHost_}) {
    AddParameter(p);
  }
  Recompute();
}

int DelayEffect::LengthFor(float time) const {
  double frequency;
  if (syncToHost_.GetBool()) {
    const int index = std::clamp(static_cast<int>(time), 0, 4);
    frequency = tempo() / 60.0 * kBeatFactors[index];
  } else {
    frequency = time * 3.0 + 0.5;
  }
  const double length = frequency > 0.0 ? sampleRate() / frequency : kLineFrames;
  // Slow tempi at high rates would run past the lines: hold at their size.
  return static_cast<int>(std::clamp(length, 2.0, static_cast<double>(kLineFrames)));
}

void DelayEffect::Recompute() {
  length_.store(LengthFor(time_.rawValue()), std::memory_order_relaxed);
  lengthChanged_.store(true, std::memory_order_release);
}

void DelayEffect::ParameterChanged(float /*value*/, Parameter* which) {
  if (which == &syncToHost_) {
    // Synced, the time picks one of five note lengths; free, it is a rate.
    time_.SetType(syncToHost_.GetBool() ? Parameter::kInteger : Parameter::kContinuous);
    time_.NotifyListeners();
    Recompute();
  } else if (which == &time_ || which == &stereo_) {
    Recompute();
  }
}

void DelayEffect::SetPositions(int length) {
  activeLength_ = length;
  readB_ %= length;
  readA_ = readB_;
  writeB_ = (readB_ + length - 1) % length;
  writeA_ = stereo_.GetBool() ? (readB_ + length / 2) % length : writeB_;
}

void DelayEffect::Process(const float* leftIn, const float* rightIn, float* leftOut,
                          float* rightOut, int frames) {
  if (!enabled_.GetBool()) {
    PassThrough(leftIn, rightIn, leftOut, rightOut, frames);
    return;
  }
  if (lengthChanged_.exchange(false, std::memory_order_acquire)) SetPositions(length_.load());
  const float feedback = feedback_.GetValue();
  const float level = mix_.GetValue();
  ParameterModulationInput& timeMod = time_.modulationInput();
  ParameterModulationInput& ampMod = amplitude_.modulationInput();
  for (int done = 0, chunk = 0; done < frames; done += kChunkFrames, ++chunk) {
    const int n = std::min(kChunkFrames, frames - done);
    const auto slot = static_cast<std::size_t>(std::min(chunk, ParameterModulationInput::kCapacity - 1));
    if (timeMod.active.load(std::memory_order_relaxed)) {
      const int index = std::clamp(static_cast<int>(2.0f * timeMod.buffer[slot] + 2.0f), 0, 4);
      if (index != modulatedTimeIndex_) {
        modulatedTimeIndex_ = index;
        SetPositions(LengthFor(static_cast<float>(index)));
      }
    }
    const float inputGain =
        ampMod.active.load(std::memory_order_relaxed) ? ampMod.buffer[slot] * 0.5f + 0.5f : 1.0f;
    const int length = activeLength_;
    for (int i = done; i < done + n; ++i) {
      float& a = lineA_[static_cast<std::size_t>(writeA_)];
      float& b = lineB_[static_cast<std::size_t>(writeB_)];
      a = a * feedback + rightIn[i] * inputGain + kDenormalOffset;
      b = b * feedback + leftIn[i] * inputGain + kDenormalOffset;
      leftOut[i] += lineA_[static_cast<std::size_t>(readA_)] * level;
      rightOut[i] += lineB_[static_cast<std::size_t>(readB_)] * level;
      if (++readA_ == length) readA_ = 0;
      if (++writeA_ == length) writeA_ = 0;
      if (++readB_ == length) readB_ = 0;
      if (++writeB_ == length) writeB_ = 0;
    }
  }
}
