#include "engine/modulation/lfo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {
constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kSyncFactors[6] = {0.25f, 1.0f, 2.0f, 4.0f, 8.0f, 16.0f};
}  // namespace

ZLFO::ZLFO(int firstValue, std::uint32_t seed)
    : ZModTarget(3), ZModSource(1), firstValue_(firstValue), random_(seed | 1u) {
  held_ = NextRandom();
}

float ZLFO::NextRandom() {
  // xorshift32: cheap, lock-free and per-LFO, unlike the C library's rand().
  random_ ^= random_ << 13;
  random_ ^= random_ >> 17;
  random_ ^= random_ << 5;
  return static_cast<float>(random_ % 32768u) / 32767.0f * 2.0f - 1.0f;
}

float ZLFO::InputAt(ZModValues& input, float t, int& hint) {
  float v = 0.0f;
  input.Evaluate(t, hint, &v);
  return v;
}

void ZLFO::ComputeOutput(ZModValues& list, int frames, int /*output*/) {
  ZModValues& depthInput = input(0);
  ZModValues& rateInput = input(1);
  const bool depthModulated = depthInput.hasModulation;
  const bool rateModulated = rateInput.hasModulation;
  int lineHint = 0, depthHint = 0, rateHint = 0;
  std::array<float, 23> values{};
  const auto n = static_cast<float>(frames);
  for (float t = 0.0f;;) {
    float depth = 0.0f, rate = 0.0f;
    int shape = 0;
    if (modulationList_ != nullptr && modulationList_->valuesPerPoint() >= firstValue_ + 3) {
      modulationList_->Evaluate(t, lineHint, values.data());
      depth = values[static_cast<std::size_t>(firstValue_)];
      rate = values[static_cast<std::size_t>(firstValue_ + 1)];
      shape = static_cast<int>(std::floor(values[static_cast<std::size_t>(firstValue_ + 2)] + 0.5f));
    }
    float wave;
    switch (shape) {
      case 0: wave = std::sin(phase_); break;
      case 1: wave = phase_ <= std::numbers::pi_v<float> ? 1.0f : -1.0f; break;
      case 2: wave = 1.0f - phase_ / std::numbers::pi_v<float>; break;
      case 3: wave = held_; break;
      default: wave = 0.0f; break;
    }
    float g = wave * depth;
    if (depthModulated) {
      g *= InputAt(depthInput, t, depthHint) * 0.5f + 0.5f;
      g = std::clamp(g, -1.0f, 1.0f);
    }
    if (positiveOnly_ && g < 0.0f) g = 0.0f;
    list.Append(t, g);
    if (t >= n) break;
    // A point every 32 frames, but never more than 33 in a block: long
    // blocks take longer steps so the lists keep their size.
    const float stride = std::max(static_cast<float>(kStepFrames), std::ceil(n / kStepFrames));
    const float step = std::min(stride, n - t);
    t += step;
    if (rateModulated) {
      const float q = 4.0f * InputAt(rateInput, t, rateHint);
      rate *= std::min(q >= 0.0f ? q + 1.0f : 1.0f / (std::fabs(q) + 1.0f), 2.0f);
    }
    if (tempoSync_) {
      const int index = static_cast<int>(std::floor(rate + 0.5f));
      if (index >= 0 && index <= 5) {
        const float perFrame = tempo() * kTwoPi / (sampleRate() * 60.0f);
        phase_ += step * perFrame * kSyncFactors[index];
      }
    } else {
      // A free rate counts per 44.1 kHz frame, so it sounds the same at any
      // sample rate.
      phase_ += step * 0.0005f * rate * (44100.0f / sampleRate());
    }
    // One division however far a huge rate ran the phase; a phase that is
    // no longer a number starts again.
    if (!std::isfinite(phase_)) phase_ = 0.0f;
    if (phase_ > kTwoPi) {
      phase_ = std::fmod(phase_, kTwoPi);
      held_ = NextRandom();
    }
  }
}
