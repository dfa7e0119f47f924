// The noise source of a voice: reads one program-wide table of white noise
// sequentially and adds it, panned and scaled, to a stereo buffer. The level
// and pan are held within each run of the block's lists, so they move in
// steps at breakpoints and block boundaries.
// Thread: construction and destruction on any thread (the shared table is
// guarded there); Process on the audio thread, where it never allocates,
// locks or throws.
#pragma once

#include "engine/envelope/envelope.h"
#include "engine/oscillators/dsp_component.h"

class ZNoiseOsc : public DSPComponent {
 public:
  static constexpr int kTableSize = 1 << 17;

  ZNoiseOsc();
  ~ZNoiseOsc() override;
  ZNoiseOsc(const ZNoiseOsc&) = delete;
  ZNoiseOsc& operator=(const ZNoiseOsc&) = delete;

  // The inputs are not read; adds the frames described by the lists to the
  // outputs. Does nothing with fewer than two amplitude points.
  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               int frames) override;

  // Per-block breakpoint lists, refilled by the voice before every block;
  // times are frame offsets from the block start.
  Envelope& amplitude() { return amplitude_; }  // linear level
  Envelope& pan() { return pan_; }              // -1 left ... +1 right

  // Next table position to play: 0 at construction, never reset at note-on.
  int readIndex() const { return index_; }
  const float* table() const { return table_; }

  // The shared table while any noise oscillator exists (else null), and how
  // many exist. They lock, so not for the audio thread.
  static const float* SharedTable();
  static int InstanceCount();

 private:
  Envelope amplitude_{1, Envelope::kBlockCapacity};
  Envelope pan_{1, Envelope::kBlockCapacity};
  const float* table_;  // alive as long as this oscillator
  int index_ = 0;
};
