// Timeline presets: any subset of the six timeline lines of the selected
// voice, as the six item flags followed by one line record per flagged item.
// Thread: user-interface thread; each line is read or written under the
// instrument's mutex, one at a time.
#pragma once

#include <array>

class Reader;
class Writer;
class Zelvane;

using TimelineItemFlags = std::array<bool, 6>;

void WriteTimelinePreset(Zelvane& z, const TimelineItemFlags& flags, Writer& writer);
// Reads the lines the file holds into the selected voice where the selection
// asks for them; the others are read and dropped to stay aligned.
void ReadTimelinePreset(Zelvane& z, const TimelineItemFlags& selection, Reader& reader);
TimelineItemFlags ReadTimelineItemFlags(Reader& reader);
