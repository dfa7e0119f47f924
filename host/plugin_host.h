// A small VST 2 host: loads a plug-in library, creates instances and drives
// them through the published interface. Used by zelvane-render and the tests.
// Thread: a PluginInstance is driven from one thread at a time, except that
// tests may call Process from an "audio" thread while another thread uses the
// dispatcher, as real hosts do.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/vst2_abi.h"

namespace zhost {

class HostError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One MIDI message for a block: three bytes at a frame offset.
struct MidiMessage {
  std::int32_t deltaFrames = 0;
  std::uint8_t bytes[3] = {0, 0, 0};
};

// A loaded plug-in library. Unloads on destruction; every instance made from
// it must be gone by then.
class PluginLibrary {
 public:
  explicit PluginLibrary(const std::string& path);  // throws HostError
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  using EntryProc = vst2::AEffect* (*)(vst2::audioMasterCallback);
  EntryProc entry() const { return entry_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  void* handle_ = nullptr;
  EntryProc entry_ = nullptr;
};

// What the host answers to audioMasterGetTime.
struct TransportState {
  double tempo = 120.0;
  double samplePos = 0.0;
  bool playing = true;
  bool provideTimeInfo = true;  // false: answer null
};

// One plug-in instance with the host state it needs: time information,
// automation log, versions.
class PluginInstance {
 public:
  // Calls the entry point and runs nothing else; throws HostError when the
  // plug-in refuses to be created.
  explicit PluginInstance(const PluginLibrary& library);
  ~PluginInstance();  // effClose
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  // The usual start-up: effOpen, sample rate, block size, mains on.
  void Start(double sampleRate, int blockSize);

  vst2::AEffect* effect() const { return effect_; }
  vst2::VstIntPtr Dispatch(vst2::VstInt32 opcode, vst2::VstInt32 index = 0,
                           vst2::VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);

  std::string EffectName();
  std::string VendorString();
  std::string ProductString();
  std::string ParameterName(int index);
  int CanDo(const std::string& what);

  int NumParams() const { return effect_->numParams; }
  void SetParameter(int index, float normalised);
  float GetParameter(int index);
  // Index of the first parameter whose host name equals name, or -1.
  int FindParameter(const std::string& name);

  // Sends the messages as one VstEvents record (effProcessEvents).
  void SendMidi(const std::vector<MidiMessage>& messages);
  // processReplacing into the two outputs (frames samples each).
  void Process(float* left, float* right, int frames);
  // processReplacing with explicit pointers, for in-place tests.
  void ProcessRaw(float** inputs, float** outputs, int frames);

  TransportState& transport() { return transport_; }
  // Advances the time information after a block, as a host does.
  void AdvanceTime(int frames);
  // Flags of the next time information; kVstTransportChanged is added once
  // after SetPlaying changes the state.
  void SetPlaying(bool playing);

  struct AutomationEvent {
    int index;
    float value;
  };
  std::vector<AutomationEvent> TakeAutomation();
  int wantMidiCount() const { return wantMidi_.load(); }
  int timeRequests() const { return timeRequests_.load(); }

  // Host version answered to audioMasterVersion (2400; 0 makes plug-ins refuse).
  static void SetVersionAnswer(vst2::VstIntPtr version);

 private:
  static vst2::VstIntPtr Callback(vst2::AEffect* effect, vst2::VstInt32 opcode,
                                  vst2::VstInt32 index, vst2::VstIntPtr value, void* ptr,
                                  float opt);
  vst2::VstIntPtr HandleCallback(vst2::VstInt32 opcode, vst2::VstInt32 index,
                                 vst2::VstIntPtr value, void* ptr, float opt);

  vst2::AEffect* effect_ = nullptr;
  vst2::VstTimeInfo timeInfo_{};
  TransportState transport_;
  bool transportChanged_ = false;
  std::atomic<int> wantMidi_{0};
  std::atomic<int> timeRequests_{0};
  std::mutex automationMutex_;
  std::vector<AutomationEvent> automation_;
  std::vector<unsigned char> eventStorage_;
};

}  // namespace zhost
