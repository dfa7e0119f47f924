// Waveform files: one corner wave kept in the waveform library, as the
// library's header followed by one wave record.
// Thread: the user-interface thread; the caller orders changes of the wave
// set (the instrument's wave lock).
#pragma once

#include <string>

class PresetLibrary;
class WaveSet;

enum class WaveformLoad {
  kLoaded,
  kNotOpened,  // missing, or another type word or version: nothing is said
  kDamaged,    // opened but unreadable: the lane is left as it was
};

// Saves the lane as category/name(User).wfm ("(User)" once), asking before
// it replaces a file. True when the file was written; the library rescans.
bool SaveWaveform(PresetLibrary& library, const WaveSet& set, int lane,
                  const std::string& category, const std::string& name);
// Reads category/name.wfm into the lane. The record is read whole before the
// lane is rebuilt, so a damaged file changes nothing.
WaveformLoad LoadWaveform(PresetLibrary& library, WaveSet& set, int lane,
                          const std::string& category, const std::string& name);
