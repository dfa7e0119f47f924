// One oscillator of a voice's unison stack: plays the four corner waves of a
// layer's wave set at once, mixes them with four weights and adds the panned,
// amplitude-shaped result to a stereo buffer. Weights, pan and pitch change
// only where a wave cycle starts, so no cycle is split between two mixtures;
// the amplitude moves every frame.
// Thread: the voice fills the lists and calls Process on the audio thread;
// Process never allocates, locks or throws.
#pragma once

#include <cstdint>

#include "engine/envelope/envelope.h"
#include "engine/oscillators/dsp_component.h"
#include "engine/oscillators/wave_set.h"

class VectorOsc : public DSPComponent {
 public:
  VectorOsc();

  // The inputs are not read; adds the frames described by the lists to the
  // outputs. Does nothing with fewer than two amplitude points, or without
  // tables to play.
  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;

  // Per-block breakpoint lists, refilled by the voice before every block;
  // times are frame offsets from the block start and all four span the block.
  Envelope& weights() { return weights_; }      // four corner weights
  Envelope& amplitude() { return amplitude_; }  // linear level
  Envelope& frequency() { return frequency_; }  // Hz
  Envelope& pan() { return pan_; }              // -1 left ... +1 right

  // Linked at layer start; the tables are read once per block. Null plays nothing.
  void SetWaveSet(const WaveSet* set) { waveSet_ = set; }
  const WaveSet* waveSet() const { return waveSet_; }

  // Position in wave samples, 0 <= phase < length; set at note-on and
  // carried from block to block.
  float phase() const { return static_cast<float>(phase_); }
  void SetPhase(float phase) { phase_ = phase; }

 private:
  // The current segment of one list: start values, slopes per frame and the
  // frames it covers in the block.
  struct Segment {
    float start[4] = {};
    float slope[4] = {};
    int begin = 0;
    int end = 0;
    int next = 0;  // index of the segment's end point
  };
  // Per-cycle values in the form the inner loop uses them.
  struct CycleValues {
    float weights[4] = {};
    float leftGain = 0.5f;
    float rightGain = 0.5f;
    float step = 0.0f;
    std::uint64_t delta = 0;  // 16.16 step, reduced below one cycle
  };

  enum List { kAmplitude = 0, kWeights, kFrequency, kPan, kListCount };

  static void StartSegment(const Envelope& list, int values, int first, int at, Segment& s);
  void StartAmplitude(int first, int at);
  void UpdateWeights(int frame);
  void UpdatePan(int frame);
  void UpdateStep(int frame, std::uint64_t wrap);
  void Render(const float* table, int length, std::uint64_t& phase, int begin, int frames,
              float amplitude, float amplitudeSlope, float* left, float* right);

  Envelope weights_{4, Envelope::kBlockCapacity};
  Envelope amplitude_{1, Envelope::kBlockCapacity};
  Envelope frequency_{1, Envelope::kBlockCapacity};
  Envelope pan_{1, Envelope::kBlockCapacity};
  const WaveSet* waveSet_ = nullptr;
  double phase_ = 0.0;  // double keeps the 16.16 phase exact between blocks

  // Where the current block's walk stands.
  Segment segments_[kListCount];
  CycleValues cycle_;
  float ratePerHz_ = 0.0f;  // wave samples per frame per Hz
};
