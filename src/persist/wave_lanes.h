// One lane of a wave set in a patch: its cycle length, table count, kind and,
// for a user wave, the samples of its first table.
// Thread: user-interface thread (patch load and save).
#pragma once

class Reader;
class Writer;
class WaveSet;

void WriteWaveLane(const WaveSet& set, int lane, Writer& writer);
// Built-in lanes are rebuilt only when their kind changed; a user lane is
// rebuilt from its samples. Damaged data throws StreamError and leaves the
// lane as it was.
void ReadWaveLane(WaveSet& set, int lane, Reader& reader);
