// The patch body: the whole sound of the instrument as one byte stream, used
// both for patch files (after the library header) and for the host's state
// chunk. Every level from 1 to the current 12 reads.
// Thread: the caller's (user-interface thread, or the host's for the state
// chunk); reading holds the edit lock and the block mutex throughout,
// writing the edit lock only.
#pragma once

class Zelvane;
class EventEnvelope;
class Reader;
class VoiceSettings;
class Writer;

namespace patch {

inline constexpr float kVersion = 0.012f;
inline constexpr const char* kTag = "ZELVANE_STATE";
inline constexpr int kStringCapacity = 512;

// Always succeeds.
bool WritePatch(Zelvane& z, Writer& writer);
// True when a patch was taken over; false for a newer body, a body without
// the tag, or damaged data (then with a message, the values read so far
// staying in effect).
bool ReadPatch(Zelvane& z, Reader& reader);

// One timeline line: marker, breakpoint count, values per breakpoint, then
// each breakpoint's time and values. Reading replaces the line's breakpoints
// and keeps its values per breakpoint (extra stored values are dropped,
// missing ones are zero); damaged data, a time or value that is not a number
// within +-1e9 included, throws StreamError.
void WriteLine(const EventEnvelope& line, Writer& writer);
void ReadLine(EventEnvelope& line, Reader& reader);

// The part of a voice block that every level stores alike, after the
// settings: the routing table's marker, the first `rows` rows, the four
// waves, the loop and the lines.
void WriteVoiceContents(VoiceSettings& v, int rows, Writer& writer);

// The integer level of a stored version float: round(v x 1000), halves up;
// 0 for NaN, and within +-1e6 whatever the float.
int Level(float version);

}  // namespace patch
