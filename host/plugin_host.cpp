#include "plugin_host.h"

#include <dlfcn.h>

#include <cstring>

namespace zhost {
namespace {

std::atomic<vst2::VstIntPtr> gVersionAnswer{2400};

// The instance whose entry point is running: the plug-in calls back before
// its AEffect is known to us.
thread_local PluginInstance* tConstructing = nullptr;

std::string Terminated(const char* buffer, std::size_t size) {
  return std::string(buffer, strnlen(buffer, size));
}

}  // namespace

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = dlerror();
    throw HostError("cannot load plug-in " + path + ": " + (why ? why : "unknown error"));
  }
  void* symbol = dlsym(handle_, "VSTPluginMain");
  if (symbol == nullptr) symbol = dlsym(handle_, "main");
  if (symbol == nullptr) {
    dlclose(handle_);
    handle_ = nullptr;
    throw HostError(path + " is not a VST 2 plug-in (no VSTPluginMain or main)");
  }
  entry_ = reinterpret_cast<EntryProc>(symbol);
}

PluginLibrary::~PluginLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

void PluginInstance::SetVersionAnswer(vst2::VstIntPtr version) { gVersionAnswer = version; }

PluginInstance::PluginInstance(const PluginLibrary& library) {
  tConstructing = this;
  vst2::AEffect* effect = library.entry()(&PluginInstance::Callback);
  tConstructing = nullptr;
  if (effect == nullptr) throw HostError("the plug-in " + library.path() + " refused to start");
  if (effect->magic != vst2::kEffectMagic) throw HostError("the plug-in's AEffect has a bad magic");
  effect_ = effect;
  effect_->resvd1 = reinterpret_cast<vst2::VstIntPtr>(this);
}

PluginInstance::~PluginInstance() {
  if (effect_ != nullptr) effect_->dispatcher(effect_, vst2::effClose, 0, 0, nullptr, 0.0f);
}

void PluginInstance::Start(double sampleRate, int blockSize) {
  timeInfo_.sampleRate = sampleRate;
  Dispatch(vst2::effOpen);
  Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(vst2::effSetBlockSize, 0, blockSize);
  Dispatch(vst2::effMainsChanged, 0, 1);
}

vst2::VstIntPtr PluginInstance::Dispatch(vst2::VstInt32 opcode, vst2::VstInt32 index,
                                         vst2::VstIntPtr value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginInstance::EffectName() {
  char buffer[vst2::kVstMaxStringLength + 64] = {};
  Dispatch(vst2::effGetEffectName, 0, 0, buffer);
  return Terminated(buffer, sizeof buffer);
}

std::string PluginInstance::VendorString() {
  char buffer[vst2::kVstMaxStringLength + 64] = {};
  Dispatch(vst2::effGetVendorString, 0, 0, buffer);
  return Terminated(buffer, sizeof buffer);
}

std::string PluginInstance::ProductString() {
  char buffer[vst2::kVstMaxStringLength + 64] = {};
  Dispatch(vst2::effGetProductString, 0, 0, buffer);
  return Terminated(buffer, sizeof buffer);
}

std::string PluginInstance::ParameterName(int index) {
  char buffer[vst2::kVstMaxStringLength + 64] = {};
  Dispatch(vst2::effGetParamName, index, 0, buffer);
  return Terminated(buffer, sizeof buffer);
}

int PluginInstance::CanDo(const std::string& what) {
  return static_cast<int>(Dispatch(vst2::effCanDo, 0, 0, const_cast<char*>(what.c_str())));
}

void PluginInstance::SetParameter(int index, float normalised) {
  effect_->setParameter(effect_, index, normalised);
}

float PluginInstance::GetParameter(int index) { return effect_->getParameter(effect_, index); }

int PluginInstance::FindParameter(const std::string& name) {
  for (int i = 0; i < NumParams(); ++i) {
    if (ParameterName(i) == name) return i;
  }
  return -1;
}

void PluginInstance::SendMidi(const std::vector<MidiMessage>& messages) {
  // One contiguous allocation: the VstEvents header with its pointer array,
  // then the events themselves.
  const std::size_t count = messages.size();
  const std::size_t pointers = count < 2 ? 2 : count;
  const std::size_t header = offsetof(vst2::VstEvents, events) + pointers * sizeof(vst2::VstEvent*);
  const std::size_t headerAligned = (header + 15) & ~std::size_t{15};
  eventStorage_.assign(headerAligned + count * sizeof(vst2::VstMidiEvent), 0);
  auto* events = reinterpret_cast<vst2::VstEvents*>(eventStorage_.data());
  events->numEvents = static_cast<vst2::VstInt32>(count);
  auto* midi = reinterpret_cast<vst2::VstMidiEvent*>(eventStorage_.data() + headerAligned);
  for (std::size_t i = 0; i < count; ++i) {
    midi[i].type = vst2::kVstMidiType;
    midi[i].byteSize = sizeof(vst2::VstMidiEvent);
    midi[i].deltaFrames = messages[i].deltaFrames;
    for (int b = 0; b < 3; ++b) midi[i].midiData[b] = static_cast<char>(messages[i].bytes[b]);
    events->events[i] = reinterpret_cast<vst2::VstEvent*>(&midi[i]);
  }
  Dispatch(vst2::effProcessEvents, 0, 0, events);
}

void PluginInstance::Process(float* left, float* right, int frames) {
  float* outputs[2] = {left, right};
  ProcessRaw(nullptr, outputs, frames);
}

void PluginInstance::ProcessRaw(float** inputs, float** outputs, int frames) {
  effect_->processReplacing(effect_, inputs, outputs, frames);
}

void PluginInstance::AdvanceTime(int frames) { transport_.samplePos += frames; }

void PluginInstance::SetPlaying(bool playing) {
  if (playing != transport_.playing) transportChanged_ = true;
  transport_.playing = playing;
}

std::vector<PluginInstance::AutomationEvent> PluginInstance::TakeAutomation() {
  std::lock_guard lock(automationMutex_);
  std::vector<AutomationEvent> taken;
  taken.swap(automation_);
  return taken;
}

vst2::VstIntPtr PluginInstance::Callback(vst2::AEffect* effect, vst2::VstInt32 opcode,
                                         vst2::VstInt32 index, vst2::VstIntPtr value, void* ptr,
                                         float opt) {
  if (opcode == vst2::audioMasterVersion) return gVersionAnswer.load();
  PluginInstance* self = nullptr;
  if (effect != nullptr && effect->resvd1 != 0) {
    self = reinterpret_cast<PluginInstance*>(effect->resvd1);
  } else {
    self = tConstructing;
  }
  if (self == nullptr) return 0;
  return self->HandleCallback(opcode, index, value, ptr, opt);
}

vst2::VstIntPtr PluginInstance::HandleCallback(vst2::VstInt32 opcode, vst2::VstInt32 index,
                                               vst2::VstIntPtr value, void* ptr, float opt) {
  (void)value;
  switch (opcode) {
    case vst2::audioMasterAutomate: {
      // The lock is ours alone and short; a real host queues these too.
      std::lock_guard lock(automationMutex_);
      automation_.push_back({index, opt});
      return 0;
    }
    case vst2::audioMasterCurrentId:
      return effect_ != nullptr ? effect_->uniqueID : 0;
    case vst2::audioMasterWantMidi:
      ++wantMidi_;
      return 1;
    case vst2::audioMasterGetTime: {
      ++timeRequests_;
      if (!transport_.provideTimeInfo) return 0;
      timeInfo_.samplePos = transport_.samplePos;
      timeInfo_.tempo = transport_.tempo;
      timeInfo_.ppqPos = timeInfo_.sampleRate > 0
                             ? transport_.samplePos / timeInfo_.sampleRate * transport_.tempo / 60.0
                             : 0.0;
      timeInfo_.timeSigNumerator = 4;
      timeInfo_.timeSigDenominator = 4;
      timeInfo_.flags = vst2::kVstTempoValid | vst2::kVstPpqPosValid | vst2::kVstTimeSigValid;
      if (transport_.playing) timeInfo_.flags |= vst2::kVstTransportPlaying;
      if (transportChanged_) {
        timeInfo_.flags |= vst2::kVstTransportChanged;
        transportChanged_ = false;
      }
      return reinterpret_cast<vst2::VstIntPtr>(&timeInfo_);
    }
    case vst2::audioMasterGetSampleRate:
      return static_cast<vst2::VstIntPtr>(timeInfo_.sampleRate);
    case vst2::audioMasterGetCurrentProcessLevel:
      return 0;
    case vst2::audioMasterGetVendorString:
      if (ptr != nullptr) std::strcpy(static_cast<char*>(ptr), "Zelvane");
      return 1;
    case vst2::audioMasterGetProductString:
      if (ptr != nullptr) std::strcpy(static_cast<char*>(ptr), "zelvane-render");
      return 1;
    case vst2::audioMasterGetVendorVersion:
      return 1;
    case vst2::audioMasterCanDo: {
      const char* what = static_cast<const char*>(ptr);
      if (what == nullptr) return 0;
      if (std::strcmp(what, "sendVstEvents") == 0 || std::strcmp(what, "sendVstMidiEvent") == 0 ||
          std::strcmp(what, "sendVstTimeInfo") == 0)
        return 1;
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace zhost
