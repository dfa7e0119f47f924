// One wave as it is stored: in waveform files and, four times, in the voice
// blocks of patches. Marker float 1.0, count N, int M, int kind, then for a
// user wave (kind 5) the N samples of the lane's table 0.
// Thread: the thread that owns the wave set's changes (user interface or
// loader).
#pragma once

class Reader;
class Writer;
class WaveSet;

void WriteWaveRecord(const WaveSet& set, int lane, Writer& writer);
// Resizes the set to the record's N and M and rebuilds the lane: a user wave
// from its samples, a built-in shape only when the lane held another kind.
// Unknown kinds leave the lane as it is. A record with an impossible size, a
// sample that is not a number within +-1024, or shorter than it announces
// throws StreamError and changes nothing.
void ReadWaveRecord(WaveSet& set, int lane, Reader& reader);
