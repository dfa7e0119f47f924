#include "shell/vst_base.h"

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "shell/denormal_guard.h"
#include "shell/editor_commands.h"
#include "shell/message_box.h"

VstBase::VstBase(vst2::audioMasterCallback audioMaster, const PluginIdentity& identity)
    : AudioEffectX(audioMaster, 0, identity.numParams),
      effectName_(identity.effectName),
      vendorName_(identity.vendorName),
      stereoInputPairs_(identity.stereoInputPairs),
      stereoOutputPairs_(identity.stereoOutputPairs) {
  setNumInputs(2 * stereoInputPairs_);
  setNumOutputs(2 * stereoOutputPairs_);
  setUniqueID(identity.uniqueId);
  isSynth(identity.isSynth);
  canProcessReplacing(true);
  programsAreChunks(true);
  bufferListenerHost_.AddBufferChild(this);  // the parameter tree gets its block ticks
  if (!identity.moduleName.empty()) FindPluginFolder(identity.moduleName);
}

VstBase::~VstBase() = default;

void VstBase::FindPluginFolder(const std::string& moduleName) {
  // The library that holds this code is the plug-in; its folder is ours.
  Dl_info info{};
  const std::string expected = moduleName + ".so";
  std::string path;
  if (dladdr(reinterpret_cast<void*>(&CopyToHost), &info) != 0 && info.dli_fname != nullptr) {
    path = info.dli_fname;
  }
  const std::size_t slash = path.rfind('/');
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  if (file != expected) {
    char text[600];
    std::snprintf(text, sizeof text, "Expected dll for this plug-in to be called %s.so, please rename it",
                  moduleName.c_str());
    ShowMessageBox(text, "", MessageBoxButtons::kOk);
    throw std::runtime_error("Error");
  }
  pluginFolder_ = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

void VstBase::NotifyHost(int index, float normalised) {
  callHost(vst2::audioMasterAutomate, index, 0, nullptr, normalised);
}

void VstBase::setParameter(vst2::VstInt32 index, float value) { SetFromHost(index, value); }

float VstBase::getParameter(vst2::VstInt32 index) { return GetForHost(index); }

bool VstBase::canDo(const char* /*text*/) { return false; }

vst2::VstIntPtr VstBase::dispatcher(vst2::VstInt32 opcode, vst2::VstInt32 index,
                                    vst2::VstIntPtr value, void* ptr, float opt) {
  switch (opcode) {
    case vst2::effGetProgram:
      return 0;
    case vst2::effGetProgramName:
    case vst2::effGetParamLabel:
    case vst2::effGetParamDisplay:
      CopyToHost(ptr, "");
      return 0;
    case vst2::effGetParamName: {
      Parameter* p = Automatable(index);
      CopyToHost(ptr, p != nullptr ? p->HostName().c_str() : "");
      return 0;
    }
    case vst2::effSetSampleRate:
      if (!(std::isfinite(opt) && opt > 0.0f)) {
        std::fprintf(stderr, "Zelvane: ignoring sample rate %g from the host\n", opt);
        return 0;
      }
      sampleRate_ = opt;
      sampleRateSource_.ChangeSampleRate(opt);
      return 0;
    case vst2::effSetBlockSize:
      if (value > 0) blockSize_ = static_cast<int>(std::min<vst2::VstIntPtr>(value, 1 << 24));
      return 0;
    case vst2::effMainsChanged:
      if (value != 0) callHost(vst2::audioMasterWantMidi, 0, 1);
      return 0;
    case vst2::effEditGetRect: {
      if (ptr == nullptr) return 0;
      vst2::ERect* rect = nullptr;
      if (editorLoader_ == nullptr || !editorLoader_->getRect(&rect) || rect == nullptr) return 0;
      *static_cast<vst2::ERect**>(ptr) = rect;
      return 1;
    }
    case vst2::effEditOpen:
      if (editorLoader_ == nullptr) return 0;
      return editorLoader_->open(ptr) ? 1 : 0;
    case vst2::effEditClose:
      if (editorLoader_ != nullptr) editorLoader_->close();
      UserInterfaceIdle();
      return 0;
    case vst2::effEditIdle:
      if (editorLoader_ != nullptr) editorLoader_->idle();
      UserInterfaceIdle();
      return 0;
    case vst2::effIdle:
      UserInterfaceIdle();
      return 0;
    case vst2::effVendorSpecific:
      if (index == editor_commands::kTag && editorLoader_ != nullptr) {
        return editorLoader_->command(value, ptr, opt);
      }
      return 0;
    case vst2::effIdentify:
      return vst2::FourCC('N', 'v', 'E', 'f');
    case vst2::effGetChunk: {
      if (ptr == nullptr || state_ == nullptr) return 0;
      const std::string& text = state_->GetState();
      *static_cast<const void**>(ptr) = text.data();
      return static_cast<vst2::VstIntPtr>(text.size());
    }
    case vst2::effSetChunk:
      if (state_ == nullptr) return 0;
      if (ptr == nullptr || value <= 0) {
        std::fprintf(stderr, "Zelvane: ignoring an empty state chunk from the host\n");
        return 0;
      }
      state_->SetState(ptr, static_cast<std::size_t>(value));
      return 1;
    case vst2::effProcessEvents:
      processEvents(static_cast<const vst2::VstEvents*>(ptr));
      return 1;
    case vst2::effCanBeAutomated:
      return 1;
    case vst2::effGetPlugCategory:
      return (getAeffect()->flags & vst2::effFlagsIsSynth) ? vst2::kPlugCategSynth
                                                          : vst2::kPlugCategEffect;
    case vst2::effGetEffectName:
    case vst2::effGetProductString:
      CopyToHost(ptr, effectName_.c_str());
      return 1;
    case vst2::effGetVendorString:
      CopyToHost(ptr, vendorName_.c_str());
      return 1;
    case vst2::effGetVendorVersion:
    case vst2::effGetTailSize:
      return 0;
    case vst2::effGetVstVersion:
      return 2400;
    case vst2::effCanDo:
      if (ptr == nullptr) return -1;
      return canDo(static_cast<const char*>(ptr)) ? 1 : -1;
    default:
      return 0;  // programs, speaker arrangement, offline, bypass: the defaults
  }
}

void VstBase::ReadHostTime() {
  const auto* time = reinterpret_cast<const vst2::VstTimeInfo*>(
      callHost(vst2::audioMasterGetTime, 0, 0x403));
  float tempo = 120.0f;
  if (time != nullptr && time->tempo != 0.0 && std::isfinite(time->tempo) && time->tempo > 0.0) {
    tempo = static_cast<float>(time->tempo);
  }
  tempoSource_.ChangeTempo(tempo);
  if (time != nullptr && (time->flags & vst2::kVstTransportChanged)) {
    if (time->flags & vst2::kVstTransportPlaying) {
      transportSource_.Start();
    } else {
      transportSource_.Stop();
    }
  }
}

void VstBase::processReplacing(float** inputs, float** outputs, vst2::VstInt32 frames) {
  if (frames <= 0 || outputs == nullptr) return;
  DenormalGuard denormals;
  ReadHostTime();
  for (vst2::VstInt32 done = 0; done < frames;) {
    const int n = std::min<vst2::VstInt32>(frames - done, kMaxBlockFrames);
    bufferListenerHost_.NotifyBeforeBlock();
    // Inputs are read only when the plug-in declares some; a host need not
    // hand over an inputs array otherwise. An input that is also an output is
    // copied first, since the outputs are cleared below.
    if (stereoInputPairs_ > 0 && inputs != nullptr && inputs[0] != nullptr && inputs[1] != nullptr) {
      for (int c = 0; c < 2; ++c) {
        float* copy = c == 0 ? inputCopyLeft_.data() : inputCopyRight_.data();
        if (inputs[c] == outputs[c]) std::memcpy(copy, inputs[c] + done, sizeof(float) * n);
      }
    }
    for (int pair = 0; pair < stereoOutputPairs_; ++pair) {
      float* left = outputs[2 * pair];
      float* right = outputs[2 * pair + 1];
      if (left != nullptr) std::memset(left + done, 0, sizeof(float) * n);
      if (right != nullptr) std::memset(right + done, 0, sizeof(float) * n);
      if (left == nullptr || right == nullptr) continue;  // a half pair is left silent
      RenderBlock(left + done, right + done, n, pair);
    }
    bufferListenerHost_.NotifyAfterBlock();
    done += n;
  }
}
