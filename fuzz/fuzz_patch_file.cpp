// Patch files: the library header ("ZelvanePatch", version 1.0) checked as
// the patch library checks it, then the patch body with file framing.
#include <cstddef>
#include <cstdint>

#include "engine/instrument/zelvane.h"
#include "fuzz_support.h"
#include "persist/patch.h"
#include "persist/preset_library.h"
#include "persist/streams.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return fuzz::InitializeWithInstrument(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zelvane& z = fuzz::FreshInstrument();
  FileImageReader reader(data, size);
  FileKind kind = PatchLibraryKind();
  if (!ReadFileHeader(reader, kind)) return 0;
  patch::ReadPatch(z, reader);
  fuzz::PlayAndCheck(z);
  return 0;
}
