// WAV import from the bytes of a file: frame reading, the fundamental search
// and the lane built from it, whose tables must hold finite values only.
#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/oscillators/wave_set.h"
#include "fuzz_support.h"
#include "persist/wav_import.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QuietProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static WaveSet set;
  // Lane 0 is built over every level on each import, so no input sees
  // another's wave.
  if (ImportWav(set, 0, std::span<const std::uint8_t>(data, size))) fuzz::CheckLaneFinite(set, 0);
  return 0;
}
