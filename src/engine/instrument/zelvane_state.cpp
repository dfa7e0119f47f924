// The host's state chunk and the patch files.
#include <cstdio>
#include <cstring>

#include "engine/instrument/zelvane.h"
#include "persist/patch.h"
#include "persist/streams.h"
#include "shell/message_box.h"

const std::string& Zelvane::GetState() {
  stateText_.clear();  // the reserved storage is kept
  StringWriter writer(stateText_);
  patch::WritePatch(*this, writer);
  return stateText_;
}

bool Zelvane::SetState(const void* data, std::size_t size) {
  if (data == nullptr || size == 0) return false;
  try {
    // The host may free or reuse its buffer: read from our own copy.
    chunkCopy_.assign(static_cast<const char*>(data), size);
    const std::string header = std::string(PatchLibraryKind().typeWord) + "\r";
    if (chunkCopy_.compare(0, header.size(), header) == 0) {
      // A whole patch file handed over as a chunk (zelvane-render --patch).
      FileImageReader reader(chunkCopy_.data(), chunkCopy_.size());
      reader.ReadString(ParameterFileReader::kTypeWordCapacity);
      reader.ReadFloat();
      patch::ReadPatch(*this, reader);
    } else {
      StringReader reader(chunkCopy_.data(), chunkCopy_.size());
      patch::ReadPatch(*this, reader);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Zelvane: state chunk refused: %s\n", e.what());
    ShowMessageBox("Zelvane Error: Could not restore plug-in state", "", MessageBoxButtons::kOk);
  }
  if (editor() != nullptr) editor()->RefreshPage();
  return true;
}

bool Zelvane::LoadPatch(const std::string& category, const std::string& name) {
  ParameterFileReader reader;
  bool ok = false;
  try {
    if (!patchLibrary_.OpenForRead(category, name, reader)) return false;
    ok = patch::ReadPatch(*this, reader);
    if (ok) {
      SetPatchName(name);
      SetCategory(category);
      if (editor() != nullptr) editor()->RefreshPage();
    }
  } catch (const std::exception&) {
    ShowMessageBox("An exception occurred in Zelvane::LoadPatch", "Patch Load Error", MessageBoxButtons::kOk);
    ok = false;
  }
  reader.Close();
  return ok;
}

bool Zelvane::SavePatch(const std::string& category, const std::string& name) {
  const std::string suffix(PresetLibrary::kUserSuffix);
  const bool hasSuffix = name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
  const std::string saved = hasSuffix ? name : name + suffix;
  ParameterFileWriter writer;
  if (!patchLibrary_.OpenForWrite(category, saved, writer)) return false;
  SetPatchName(saved);
  SetCategory(category);
  bool ok = true;
  try {
    patch::WritePatch(*this, writer);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Zelvane: writing the patch failed: %s\n", e.what());
    ok = false;
  }
  ok = writer.Close() && ok;
  patchLibrary_.Rescan();
  return ok;
}

bool Zelvane::SaveWaveform(const std::string& category, const std::string& name, int lane) {
  std::lock_guard edit(editMutex_);
  return ::SaveWaveform(waveformLibrary_, voiceSettings(selectedVoice()).waveSet(), lane, category,
                        name);
}

WaveformLoad Zelvane::LoadWaveform(const std::string& category, const std::string& name, int lane) {
  std::lock_guard edit(editMutex_);
  return ::LoadWaveform(waveformLibrary_, voiceSettings(selectedVoice()).waveSet(), lane, category,
                        name);
}
