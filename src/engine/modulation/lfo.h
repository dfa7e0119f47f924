// A voice's low-frequency oscillator: sine, square, falling ramp or held
// random, its depth, rate and shape read from the voice's Modulation list,
// free-running or in step with the host's tempo. Its inputs let routings
// move its depth (0) and rate (1).
// Thread: audio thread.
#pragma once

#include <cstdint>

#include "engine/modulation/mod_routing.h"
#include "params/parameter_host.h"
#include "shell/host_sources.h"

class ZLFO : public ParameterHost,
             public ZModTarget,
             public ZModSource,
             public SampleRateListener,
             public TempoListener {
 public:
  static constexpr int kStepFrames = 32;

  // firstValue: where depth, rate and shape start in the Modulation list.
  ZLFO(int firstValue, std::uint32_t seed);

  void ComputeOutput(ZModValues& list, int frames, int output) override;

  // A new random sequence for the held-random shape.
  void Seed(std::uint32_t seed) {
    random_ = seed | 1u;
    held_ = NextRandom();
  }
  void SetModulationList(const Envelope* list) { modulationList_ = list; }
  void SetTempoSync(bool on) { tempoSync_ = on; }
  void SetPositiveOnly(bool on) { positiveOnly_ = on; }
  float phase() const { return phase_; }
  void SetPhase(float radians) { phase_ = radians; }

 private:
  float NextRandom();
  static float InputAt(ZModValues& input, float t, int& hint);

  int firstValue_;
  const Envelope* modulationList_ = nullptr;
  float phase_ = 0.0f;
  float held_;
  bool tempoSync_ = false;
  bool positiveOnly_ = false;
  std::uint32_t random_;
};
