#include "fuzz_support.h"

#include <sanitizer/common_interface_defs.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "engine/instrument/zelvane.h"
#include "engine/oscillators/wave_set.h"
#include "shell/message_box.h"

// The default quarantine (256 MB) alone would fill the fuzzers' memory
// limit; 32 MB still keeps freed blocks poisoned for many inputs.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
  return "quarantine_size_mb=32:detect_leaks=1";
}

namespace fuzz {
namespace {

constexpr int kBlock = 512;

MessageBoxAnswer Silent(const std::string&, const std::string&, MessageBoxButtons buttons) {
  return buttons == MessageBoxButtons::kYesNo ? MessageBoxAnswer::kNo : MessageBoxAnswer::kOk;
}

std::string& DataHome() {
  static std::string path;
  return path;
}

void RemoveDataHome() {
  std::error_code ignored;
  if (!DataHome().empty()) std::filesystem::remove_all(DataHome(), ignored);
}

vst2::VstIntPtr Host(vst2::AEffect*, vst2::VstInt32 opcode, vst2::VstInt32, vst2::VstIntPtr, void*,
                     float) {
  return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

struct Made {
  std::unique_ptr<Zelvane> z;
  std::string initialState;
  // Hold the initial built-in tables: shared tables live only while some
  // set uses them, and a reset would otherwise build them all again.
  std::array<WaveSet, Zelvane::kVoices> keepers;
};

Made& TheInstrument() {
  static Made m;
  if (m.z != nullptr) return m;
  m.z = std::make_unique<Zelvane>(Host, InstanceOptions{""});
  vst2::AEffect* e = m.z->getAeffect();
  e->dispatcher(e, vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
  e->dispatcher(e, vst2::effSetBlockSize, 0, kBlock, nullptr, 0.0f);
  e->dispatcher(e, vst2::effMainsChanged, 0, 1, nullptr, 0.0f);
  m.initialState = m.z->GetState();
  for (int k = 0; k < Zelvane::kVoices; ++k) {
    const WaveSet& set = m.z->voiceSettings(k).waveSet();
    WaveSet& keeper = m.keepers[static_cast<std::size_t>(k)];
    keeper.Resize(set.length(), set.levelCount());
    keeper.BuildBuiltIns({set.kind(0), set.kind(1), set.kind(2), set.kind(3)});
  }
  return m;
}

}  // namespace

void QuietProcess() {
  SetMessageBoxHandler(Silent);
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") +
                        "/zelvane-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) Fail("cannot make a temporary data folder");
  DataHome() = pattern;
  setenv("XDG_DATA_HOME", pattern.c_str(), 1);
  std::atexit(RemoveDataHome);
}

int InitializeWithInstrument() {
  QuietProcess();
  TheInstrument();
  return 0;
}

Zelvane& FreshInstrument() {
  Made& m = TheInstrument();
  m.z->CutAllNotes();
  // Comparing costs far less than loading: most inputs are refused early.
  if (m.z->GetState() == m.initialState) return *m.z;
  {
    // Back to the initial tables without building any at a size larger than
    // the initial one (the largest is 128 MiB a set), and without first
    // rebuilding user lanes at the initial size only to replace them, as
    // loading the state at once would: the initial kinds at a size no larger
    // than the initial one are cheap, and the kept tables make the initial
    // size free.
    std::lock_guard edit(m.z->editMutex());
    for (int k = 0; k < Zelvane::kVoices; ++k) {
      const WaveSet& keeper = m.keepers[static_cast<std::size_t>(k)];
      WaveSet& set = m.z->voiceSettings(k).waveSet();
      const std::array<WaveSet::Kind, WaveSet::kLanes> kinds = {keeper.kind(0), keeper.kind(1),
                                                                keeper.kind(2), keeper.kind(3)};
      const bool larger = static_cast<long>(set.length()) * set.levelCount() >
                          static_cast<long>(keeper.length()) * keeper.levelCount();
      if (!larger) set.BuildBuiltIns(kinds);
      set.Resize(keeper.length(), keeper.levelCount());
      set.BuildBuiltIns(kinds);
    }
  }
  if (!m.z->SetState(m.initialState.data(), m.initialState.size()) ||
      m.z->GetState() != m.initialState) {
    Fail("the instrument's own state did not load back");
  }
  return *m.z;
}

void SendMidi(Zelvane& z, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  vst2::VstMidiEvent midi{};
  midi.type = vst2::kVstMidiType;
  midi.byteSize = sizeof midi;
  midi.midiData[0] = static_cast<char>(status);
  midi.midiData[1] = static_cast<char>(data1);
  midi.midiData[2] = static_cast<char>(data2);
  vst2::VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<vst2::VstEvent*>(&midi);
  vst2::AEffect* e = z.getAeffect();
  e->dispatcher(e, vst2::effProcessEvents, 0, 0, &events, 0.0f);
}

void RenderAndCheck(Zelvane& z, int frames) {
  static std::vector<float> left(kBlock), right(kBlock);
  vst2::AEffect* e = z.getAeffect();
  for (int done = 0; done < frames; done += kBlock) {
    float* out[2] = {left.data(), right.data()};
    e->processReplacing(e, nullptr, out, kBlock);
    for (int i = 0; i < kBlock; ++i) {
      if (!std::isfinite(left[static_cast<std::size_t>(i)]) ||
          !std::isfinite(right[static_cast<std::size_t>(i)])) {
        Fail("the instrument rendered a sample that is not finite");
      }
    }
  }
}

void PlayAndCheck(Zelvane& z) {
  SendMidi(z, 0x90, 60, 100);
  SendMidi(z, 0x90, 67, 40);
  RenderAndCheck(z, 3 * kBlock);
  SendMidi(z, 0x80, 60, 0);
  SendMidi(z, 0x80, 67, 0);
  RenderAndCheck(z, 2 * kBlock);
}

void CheckLaneFinite(const WaveSet& set, int lane) {
  const WaveTables* t = set.tables();
  if (t == nullptr) return;
  for (int m = 0; m < t->levels(); ++m) {
    const float* level = t->level(m);
    for (int k = 0; k < t->length(); ++k) {
      if (!std::isfinite(level[4 * k + lane])) Fail("a wave table holds a value that is not finite");
    }
  }
}

void Fail(const char* what) {
  // Through the sanitizers' report channel: still seen when libFuzzer has
  // closed stderr (-close_fd_mask=2) to quieten the instrument.
  __sanitizer_report_error_summary((std::string("SUMMARY: fuzz: ") + what).c_str());
  std::abort();
}

}  // namespace fuzz
