// The tempo-syncable stereo delay fed by the voices' delay sends: two
// cross-fed lines (right in to left out, left to right) recirculating every
// L frames; with "DELAY_STEREO" one side repeats at half the length.
// Thread: Process on the audio thread inside the instrument's lock;
// parameter, tempo and rate changes only recompute the length and positions.
#pragma once

#include <atomic>
#include <vector>

#include "engine/oscillators/dsp_component.h"

class DelayEffect : public DSPComponent {
 public:
  static constexpr int kLineFrames = 441000;
  static constexpr int kChunkFrames = 64;

  DelayEffect();

  // Adds the echoes of the inputs to the outputs.
  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;
  void ParameterChanged(float value, Parameter* which) override;

  // The recirculation length in frames for a time setting.
  int LengthFor(float time) const;
  int length() const { return length_.load(std::memory_order_relaxed); }

  Parameter& enabled() { return enabled_; }
  Parameter& time() { return time_; }
  Parameter& feedback() { return feedback_; }
  Parameter& mix() { return mix_; }
  Parameter& amplitude() { return amplitude_; }
  Parameter& stereo() { return stereo_; }
  Parameter& syncToHost() { return syncToHost_; }

 protected:
  void TempoChanged() override { Recompute(); }
  // A delay set in seconds or beats keeps its time at a new rate.
  void SampleRateChanged() override { Recompute(); }

 private:
  void Recompute();
  void SetPositions(int length);

  Parameter enabled_, time_, feedback_, mix_, amplitude_, stereo_, syncToHost_;
  std::vector<float> lineA_, lineB_;
  // Written by the parameter thread, picked up by the audio thread at its
  // next chunk, so positions are only ever moved by the audio thread.
  std::atomic<int> length_{2};
  std::atomic<bool> lengthChanged_{true};
  int activeLength_ = 2;
  int readA_ = 0, writeA_ = 0, readB_ = 0, writeB_ = 0;
  int modulatedTimeIndex_ = -1;
};
