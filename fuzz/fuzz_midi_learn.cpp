// The MIDI learn mappings file read into the instrument's manager; then every
// controller moves and the mapped parameters must take their values cleanly.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/instrument/zelvane.h"
#include "fuzz_support.h"
#include "persist/streams.h"

namespace {

// No mappings: what every input starts from.
void Forget(MidiLearnManager& m) {
  std::string none;
  StringWriter w(none);
  w.WriteFloat(MidiLearnManager::kFileVersion);
  w.WriteInt(0);
  FileImageReader r(none.data(), none.size());
  m.ReadMappings(r);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return fuzz::InitializeWithInstrument(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zelvane& z = fuzz::FreshInstrument();
  MidiLearnManager& m = z.learnManager();
  Forget(m);
  FileImageReader reader(data, size);
  m.ReadMappings(reader);
  for (const MidiLearnManager::Mapping& mapping : m.Mappings()) {
    if (mapping.parameter == nullptr || mapping.controller < 0 ||
        mapping.controller >= MidiLearnManager::kControllerCount) {
      fuzz::Fail("a loaded mapping has no parameter or a controller out of range");
    }
  }
  for (int cc = 0; cc < MidiLearnManager::kControllerCount; ++cc) {
    const auto value = static_cast<std::uint8_t>((cc * 37) & 0x7F);
    fuzz::SendMidi(z, 0xB0, static_cast<std::uint8_t>(cc), value);
  }
  fuzz::PlayAndCheck(z);
  return 0;
}
