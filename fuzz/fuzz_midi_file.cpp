// The host's Standard MIDI File reader: any bytes either parse into events in
// time order at finite times, or are refused with MidiFileError.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "midi_file.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QuietProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zhost::MidiSequence sequence;
  try {
    sequence = zhost::ParseMidi(std::span<const std::uint8_t>(data, size));
  } catch (const zhost::MidiFileError&) {
    return 0;
  }
  double last = 0.0;
  for (const zhost::MidiEvent& e : sequence.events) {
    if (!std::isfinite(e.seconds) || e.seconds < last) fuzz::Fail("events out of time order");
    if (e.status < 0x80 || e.status >= 0xF0 || (e.data1 | e.data2) & 0x80) {
      fuzz::Fail("an event that is not a channel message");
    }
    last = e.seconds;
  }
  if (!std::isfinite(sequence.InitialTempoBpm()) || !(sequence.InitialTempoBpm() > 0.0)) {
    fuzz::Fail("a tempo that is not a positive number");
  }
  return 0;
}
