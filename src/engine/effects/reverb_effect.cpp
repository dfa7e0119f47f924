#include "engine/effects/reverb_effect.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr float kDenormalOffset = 1e-17f;
}

ReverbEffect::ReverbEffect() {
  // Every parameter shares the kind of the switch, so a saved block starts with it.
  SetComponentName("REVERB");
  enabled_.Init("REVERB_ENABLED", 0.0f, 1.0f, Parameter::kInteger, 1);
  time_.Init("REVERB_TIME", 0.0f, 1.0f, Parameter::kContinuous, 1);
  size_.Init("REVERB_SIZE", 0.0f, 1.0f, Parameter::kContinuous, 1);
  mix_.Init("REVERB_MIX", 0.0f, 1.0f, Parameter::kContinuous, 1);
  for (Parameter* p : {&enabled_, &time_, &size_, &mix_}) AddParameter(p);
  for (int j = 0; j < kLines; ++j) lines_[static_cast<std::size_t>(j)].length = kBaseLengths[static_cast<std::size_t>(j)];
  RecomputeLengths();
}

void ReverbEffect::RecomputeLengths() {
  const int extra = static_cast<int>(size_.GetValue() * 3000.0f);
  for (std::size_t j = 0; j < lengths_.size(); ++j) {
    lengths_[j].store(std::clamp(kBaseLengths[j] + extra, 1, kLineFrames));
  }
  feedback_.store(time_.GetValue() * 0.3f + 0.68f);
}

void ReverbEffect::ParameterChanged(float /*value*/, Parameter* which) {
  if (which == &time_ || which == &size_) {
    RecomputeLengths();
  } else if (which == &mix_) {
    wet_.store(mix_.GetValue());
    dry_.store(1.0f - mix_.GetValue());
  }
}

void ReverbEffect::Process(const float* leftIn, const float* rightIn, float* leftOut,
                           float* rightOut, int frames) {
  if (!enabled_.GetBool()) {
    PassThrough(leftIn, rightIn, leftOut, rightOut, frames);
    return;
  }
  // New lengths take effect at a block start; positions fold into them.
  for (std::size_t j = 0; j < lines_.size(); ++j) {
    Line& line = lines_[j];
    const int length = lengths_[j].load(std::memory_order_relaxed);
    if (length != line.length) {
      line.length = length;
      line.read %= length;
      line.write %= length;
    }
  }
  const float feedback = feedback_.load(std::memory_order_relaxed);
  const float wet = wet_.load(std::memory_order_relaxed);
  const float dry = dry_.load(std::memory_order_relaxed);
  for (int i = 0; i < frames; ++i) {
    float sums[2] = {0.0f, 0.0f};
    for (std::size_t j = 0; j < lines_.size(); ++j) {
      Line& line = lines_[j];
      sums[kFeedsLeft[j] ? 0 : 1] += line.buffer[static_cast<std::size_t>(line.read)];
      if (++line.read == line.length) line.read = 0;
    }
    const float l = leftIn[i];
    const float r = rightIn[i];
    const float x = (sums[0] + sums[1] + l + r) / 16.0f + kDenormalOffset;
    for (Line& line : lines_) {
      float& v = line.buffer[static_cast<std::size_t>(line.write)];
      v = -feedback * v + x;
      if (++line.write == line.length) line.write = 0;
    }
    leftOut[i] = l * dry + sums[0] * wet;
    rightOut[i] = r * dry + sums[1] * wet;
  }
}
