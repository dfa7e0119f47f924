// What the fuzz targets share: a quiet process (no message boxes, a data
// folder of its own under the temporary directory), one instrument per
// process made as a host makes it, and the check that it still plays.
// Thread: the fuzzing thread only.
#pragma once

#include <cstdint>

class Zelvane;
class WaveSet;

namespace fuzz {

// Silences message boxes and points XDG_DATA_HOME at a fresh temporary
// folder (removed at exit), so nothing reads or writes the real home.
// Call first, from LLVMFuzzerInitialize.
void QuietProcess();

// QuietProcess, then the process's instrument made at 44.1 kHz, blocks of
// 512, so that no input is charged with building it. Returns 0, as
// LLVMFuzzerInitialize does.
int InitializeWithInstrument();

// The process's instrument with its notes cut and the state it had when it
// was made loaded back, so every input starts from the same sound and a
// crash reproduces from its input alone.
Zelvane& FreshInstrument();

// One MIDI message through the host's event call.
void SendMidi(Zelvane& z, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
// Renders frames through processReplacing and aborts with a message when an
// output sample is not finite.
void RenderAndCheck(Zelvane& z, int frames);
// A short phrase rendered and checked: two notes, then their release.
void PlayAndCheck(Zelvane& z);

// Aborts when a value of the lane, at any level of the set's tables, is not
// finite.
void CheckLaneFinite(const WaveSet& set, int lane);

// Prints the message and aborts: libFuzzer keeps the input that did it.
[[noreturn]] void Fail(const char* what);

}  // namespace fuzz
