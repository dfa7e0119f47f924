// The host's state chunk: any bytes handed to effSetChunk through the
// dispatcher, then the instrument must still play cleanly.
#include <cstddef>
#include <cstdint>

#include "engine/instrument/zelvane.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return fuzz::InitializeWithInstrument(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zelvane& z = fuzz::FreshInstrument();
  vst2::AEffect* e = z.getAeffect();
  e->dispatcher(e, vst2::effSetChunk, 0, static_cast<vst2::VstIntPtr>(size),
                const_cast<std::uint8_t*>(data), 0.0f);
  fuzz::PlayAndCheck(z);
  return 0;
}
