// One layer of one sounding note: walks the layer's six timeline lines for
// each block, applies the routings, drives the unison stack of vector and
// noise oscillators into a work buffer, filters it in 32-frame chunks,
// applies release and fades, feeds the effect sends and adds the result to
// the note's output.
// Thread: audio thread; set up once when the note pool is filled.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/envelope/envelope.h"
#include "engine/filter/stereo_filter.h"
#include "engine/modulation/lfo.h"
#include "engine/modulation/routing_table.h"
#include "engine/oscillators/noise_osc.h"
#include "engine/oscillators/vector_osc.h"
#include "engine/voice/voice_settings.h"

class Zelvane;

class Voice : public DSPComponent, public ZModSource, public ZModTarget {
 public:
  static constexpr int kUnison = 4;
  static constexpr int kMaxFrames = 8192;
  static constexpr int kFadeFrames = 400;

  Voice();

  // Layer start: links the layer's settings and registers with the instrument.
  void Start(Zelvane& instrument, int layer, std::uint32_t seed);

  // The playing state for a new note; lfoPhases are the starting phases.
  void NoteOn(int key, int velocity, float lfo1Phase, float lfo2Phase);
  // Fills the release list from 1.0 to 0 over the layer's release length,
  // starting at the event's frame offset.
  void Release(int offset);
  // Ramps from the current level to 0 over 400 frames after the offset.
  void Fade(int offset);
  // Slides the pitch from `from` semitones to 0 over `frames`, from the offset.
  void Glide(float from, int offset, int frames);

  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;
  void ComputeOutput(ZModValues& list, int frames, int output) override;
  void ParameterChanged(float value, Parameter* which) override;

  // The pitch offset of the glide at its current position, semitones.
  float GlideOffset() const;
  bool finished() const { return finished_; }
  void SetFinished(bool f) { finished_ = f; }
  bool released() const { return released_; }
  float position() const { return position_; }
  float frozenPosition() const { return currentFrozen_; }
  const Envelope& releaseList() const { return release_; }
  int key() const { return key_; }
  void SetKey(int key) { key_ = key; }
  ZLFO& lfo(int i) { return i == 0 ? lfo1_ : lfo2_; }
  RoutingTable& routing() { return routing_; }
  StereoFilter& filter() { return filter_; }
  VectorOsc& oscillator(int k) { return *oscillators_[static_cast<std::size_t>(k)]; }
  // Resolves the settings' routing rows into this voice's rows.
  void SyncRoutings();

 private:
  struct Work {
    std::vector<float> left = std::vector<float>(kMaxFrames, 0.0f);
    std::vector<float> right = std::vector<float>(kMaxFrames, 0.0f);
  };

  float Random01();
  // The block's window of a timeline line, in frames from the block start.
  void ExtractLine(int line, Envelope& out, bool zeroAfterEnd);
  void ToFrames(Envelope& list, float start, float step) const;
  void ComputeWeights();
  static void ToRatios(ZModValues& input);
  void RenderOscillators(int frames, int count, bool vector, bool mixed);
  void RenderFilter(int frames);
  void ApplyRelease(int frames);
  void FeedSends(int frames);
  void UpdatePitchBendAmount();

  Zelvane* instrument_ = nullptr;
  VoiceSettings* settings_ = nullptr;
  int layer_ = 0;
  StereoFilter filter_;
  ZLFO lfo1_;
  ZLFO lfo2_;
  RoutingTable routing_;
  std::array<std::unique_ptr<VectorOsc>, kUnison> oscillators_;
  std::array<std::unique_ptr<ZNoiseOsc>, kUnison> noises_;

  static constexpr int kList = Envelope::kBlockCapacity;
  Envelope amplitude_{1, kList}, voiceList_{5, kList}, wave_{3, kList}, weights_{4, kList},
      filterList_{3, kList}, effects_{4, kList}, modulation_{23, kList}, vectorX_{1, kList},
      vectorY_{1, kList}, balance_{1, kList}, release_{1, kList}, glide_{1, kList},
      glideExtract_{1, kList}, spare_{1, kList};
  std::array<int, VoiceSettings::kLineCount> hints_{};
  Work work_;

  int key_ = 60;
  int velocity_ = 100;
  float position_ = 0.0f;
  float previousFrozen_ = 0.0f;
  float currentFrozen_ = 0.0f;
  bool released_ = false;
  float releaseElapsed_ = 0.0f;
  bool gliding_ = false;
  float glideElapsed_ = 0.0f;
  int glideHint_ = 0;
  int releaseHint_ = 0;
  bool frozen_ = false;
  int blockFrames_ = 0;
  float step_ = 1.0f;
  float blockStart_ = 0.0f;
  float blockEnd_ = 0.0f;
  LoopRecord blockLoop_;
  bool finished_ = true;
  std::uint32_t random_ = 1;
};
