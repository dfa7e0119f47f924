// Timeline presets: any subset of the six timeline lines of the selected
// voice, as the six item flags followed by one line record per flagged item.
// Thread: user-interface thread; each line is saved under the edit lock and
// replaced under both locks, one at a time.
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
