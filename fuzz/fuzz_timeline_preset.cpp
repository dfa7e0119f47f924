// Timeline preset bodies: item flags and line records read into the selected
// voice, every item chosen, then the instrument must play cleanly.
#include <cstddef>
#include <cstdint>

#include "engine/instrument/zelvane.h"
#include "fuzz_support.h"
#include "persist/streams.h"
#include "persist/timeline_preset.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return fuzz::InitializeWithInstrument(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zelvane& z = fuzz::FreshInstrument();
  FileImageReader reader(data, size);
  try {
    ReadTimelinePreset(z, {true, true, true, true, true, true}, reader);
  } catch (const StreamError&) {
    // damaged: the lines read before the damage stay, and must play
  }
  fuzz::PlayAndCheck(z);
  return 0;
}
