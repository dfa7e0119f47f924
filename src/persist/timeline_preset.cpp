#include "persist/timeline_preset.h"

#include <mutex>

#include "engine/instrument/zelvane.h"
#include "persist/patch.h"
#include "persist/streams.h"

void WriteTimelinePreset(Zelvane& z, const TimelineItemFlags& flags, Writer& w) {
  for (bool flag : flags) w.WriteBool(flag);
  for (int i = 0; i < VoiceSettings::kLineCount; ++i) {
    if (!flags[static_cast<std::size_t>(i)]) continue;
    // The edit lock keeps the line still; the sound plays on meanwhile.
    std::lock_guard edit(z.editMutex());
    patch::WriteLine(z.voiceSettings(z.selectedVoice()).line(i), w);
  }
}

TimelineItemFlags ReadTimelineItemFlags(Reader& r) {
  TimelineItemFlags flags{};
  for (bool& flag : flags) flag = r.ReadBool();
  return flags;
}

void ReadTimelinePreset(Zelvane& z, const TimelineItemFlags& selection, Reader& r) {
  const TimelineItemFlags stored = ReadTimelineItemFlags(r);
  for (int i = 0; i < VoiceSettings::kLineCount; ++i) {
    if (!stored[static_cast<std::size_t>(i)]) continue;
    if (selection[static_cast<std::size_t>(i)]) {
      // Read into a copy first: a damaged record leaves the line as it was.
      EventEnvelope read(VoiceSettings::kValuesPerLine[static_cast<std::size_t>(i)]);
      patch::ReadLine(read, r);
      Zelvane::EditLock lock(z);
      z.voiceSettings(z.selectedVoice()).line(i).CopyFrom(read);
    } else {
      EventEnvelope discarded(1);
      patch::ReadLine(discarded, r);
    }
  }
  if (z.editor() != nullptr) z.editor()->RefreshPage();
}
