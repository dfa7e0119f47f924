// The reverb fed by the voices' reverb sends: eight combs with negative
// feedback over their own lengths, all fed by one input made of the inputs
// and every comb's output; three combs feed the left side, five the right.
// Thread: Process on the audio thread inside the instrument's lock;
// parameter changes only recompute lengths, feedback and levels.
#pragma once

#include <array>
#include <atomic>
#include <vector>

#include "engine/oscillators/dsp_component.h"

class ReverbEffect : public DSPComponent {
 public:
  static constexpr int kLines = 8;
  static constexpr int kLineFrames = 5000;
  static constexpr std::array<int, kLines> kBaseLengths = {1120, 1124, 1468, 1934,
                                                           1234, 1534, 1584, 1834};
  static constexpr std::array<bool, kLines> kFeedsLeft = {false, true, false, true,
                                                          false, true, false, false};

  ReverbEffect();

  // Writes the outputs: the dry inputs and the wet sums.
  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;
  void ParameterChanged(float value, Parameter* which) override;

  int lineLength(int j) const { return lengths_[static_cast<std::size_t>(j)].load(); }
  float feedbackFactor() const { return feedback_.load(); }

  Parameter& enabled() { return enabled_; }
  Parameter& time() { return time_; }
  Parameter& size() { return size_; }
  Parameter& mix() { return mix_; }

 private:
  void RecomputeLengths();

  Parameter enabled_, time_, size_, mix_;
  struct Line {
    std::vector<float> buffer = std::vector<float>(kLineFrames, 0.0f);
    int read = 0;
    int write = 0;
    int length = kBaseLengths[0];
  };
  std::array<Line, kLines> lines_;
  std::array<std::atomic<int>, kLines> lengths_{};
  std::atomic<float> feedback_{0.68f};
  std::atomic<float> wet_{0.0f};
  std::atomic<float> dry_{1.0f};
};
