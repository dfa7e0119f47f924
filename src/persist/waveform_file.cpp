#include "persist/waveform_file.h"

#include <cstdio>

#include "persist/preset_library.h"
#include "persist/streams.h"
#include "persist/wave_record.h"

bool SaveWaveform(PresetLibrary& library, const WaveSet& set, int lane,
                  const std::string& category, const std::string& name) {
  ParameterFileWriter writer;
  if (!library.OpenForWrite(category, name, writer)) return false;
  bool ok = true;
  try {
    WriteWaveRecord(set, lane, writer);
  } catch (const StreamError& e) {
    std::fprintf(stderr, "Zelvane: writing the waveform failed: %s\n", e.what());
    ok = false;
  }
  ok = writer.Close() && ok;
  library.Rescan();
  return ok;
}

WaveformLoad LoadWaveform(PresetLibrary& library, WaveSet& set, int lane,
                          const std::string& category, const std::string& name) {
  ParameterFileReader reader;
  if (!library.OpenForRead(category, name, reader)) return WaveformLoad::kNotOpened;
  WaveformLoad result = WaveformLoad::kLoaded;
  try {
    ReadWaveRecord(set, lane, reader);
  } catch (const StreamError& e) {
    std::fprintf(stderr, "Zelvane: waveform file %s/%s refused: %s\n", category.c_str(),
                 name.c_str(), e.what());
    result = WaveformLoad::kDamaged;
  }
  reader.Close();
  return result;
}
