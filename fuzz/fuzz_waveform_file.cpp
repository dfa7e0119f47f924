// Waveform files: the library header ("Waveform", version 1.0), then one wave
// record read into a lane of the selected voice, which must play cleanly.
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "engine/instrument/zelvane.h"
#include "fuzz_support.h"
#include "persist/preset_library.h"
#include "persist/streams.h"
#include "persist/wave_record.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return fuzz::InitializeWithInstrument(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zelvane& z = fuzz::FreshInstrument();
  FileImageReader reader(data, size);
  FileKind kind = WaveformLibraryKind();
  if (!ReadFileHeader(reader, kind)) return 0;
  // The file does not say which lane it goes to: vary it with the input.
  const int lane = static_cast<int>(size % WaveSet::kLanes);
  WaveSet& set = z.voiceSettings(z.selectedVoice()).waveSet();
  {
    std::lock_guard edit(z.editMutex());  // as Zelvane::LoadWaveform
    try {
      ReadWaveRecord(set, lane, reader);
    } catch (const StreamError&) {
      return 0;  // refused, the lane as it was
    }
  }
  fuzz::CheckLaneFinite(set, lane);
  fuzz::PlayAndCheck(z);
  return 0;
}
