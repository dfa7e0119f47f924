// The built-in demo phrase zelvane-render plays when given no MIDI file:
// five bars at 120 BPM (about 10 s) of chords, bass and a melody on channel 1.
// Thread: any; builds fresh values on each call.
#pragma once

#include <cstdint>
#include <vector>

#include "midi_file.h"

namespace zhost {

// The demo as a format 1 Standard MIDI File (tempo track, chords, melody).
std::vector<std::uint8_t> DemoSongMidiFile();

// The same file parsed, exactly as if it had been read from disk.
MidiSequence DemoSong();

}  // namespace zhost
