#include "shell/audio_effect.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

vst2::VstIntPtr DispatchThunk(vst2::AEffect* e, vst2::VstInt32 opcode, vst2::VstInt32 index,
                              vst2::VstIntPtr value, void* ptr, float opt) {
  AudioEffectX* effect = AudioEffectX::FromEffect(e);
  if (effect == nullptr) return 0;
  try {
    if (opcode == vst2::effClose) {
      effect->dispatcher(opcode, index, value, ptr, opt);
      delete effect;
      return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
  } catch (const std::exception& ex) {
    std::fprintf(stderr, "Zelvane: opcode %d failed: %s\n", opcode, ex.what());
  } catch (...) {
    std::fprintf(stderr, "Zelvane: opcode %d failed\n", opcode);
  }
  return 0;
}

void ProcessReplacingThunk(vst2::AEffect* e, float** inputs, float** outputs,
                           vst2::VstInt32 frames) {
  AudioEffectX* effect = AudioEffectX::FromEffect(e);
  if (effect == nullptr) return;
  try {
    effect->processReplacing(inputs, outputs, frames);
  } catch (...) {
    // The audio path throws nothing; this only keeps a fault out of the host.
  }
}

// The deprecated accumulating and double-precision calls do nothing.
void ProcessThunk(vst2::AEffect*, float**, float**, vst2::VstInt32) {}
void ProcessDoubleThunk(vst2::AEffect*, double**, double**, vst2::VstInt32) {}

void SetParameterThunk(vst2::AEffect* e, vst2::VstInt32 index, float value) {
  AudioEffectX* effect = AudioEffectX::FromEffect(e);
  if (effect == nullptr) return;
  try {
    effect->setParameter(index, value);
  } catch (...) {
  }
}

float GetParameterThunk(vst2::AEffect* e, vst2::VstInt32 index) {
  AudioEffectX* effect = AudioEffectX::FromEffect(e);
  if (effect == nullptr) return 0.0f;
  try {
    return effect->getParameter(index);
  } catch (...) {
    return 0.0f;
  }
}

}  // namespace

void CopyToHost(void* buffer, const char* text) {
  if (buffer == nullptr) return;
  char* out = static_cast<char*>(buffer);
  const std::size_t n = strnlen(text, vst2::kVstMaxStringLength - 1);
  std::memcpy(out, text, n);
  out[n] = '\0';
}

AudioEffectX::AudioEffectX(vst2::audioMasterCallback audioMaster, int numPrograms, int numParams)
    : audioMaster_(audioMaster), numPrograms_(numPrograms), numParams_(numParams) {
  cEffect_.magic = vst2::kEffectMagic;
  cEffect_.dispatcher = &DispatchThunk;
  cEffect_.process = &ProcessThunk;
  cEffect_.setParameter = &SetParameterThunk;
  cEffect_.getParameter = &GetParameterThunk;
  cEffect_.numPrograms = numPrograms;
  cEffect_.numParams = numParams;
  cEffect_.numInputs = 1;
  cEffect_.numOutputs = 2;
  cEffect_.ioRatio = 1.0f;
  cEffect_.object = this;
  cEffect_.version = 1;
  cEffect_.processReplacing = &ProcessReplacingThunk;
  cEffect_.processDoubleReplacing = &ProcessDoubleThunk;
}

AudioEffectX::~AudioEffectX() { delete editorLoader_; }

void AudioEffectX::setEditor(AEffEditor* editor) {
  delete editorLoader_;
  editorLoader_ = editor;
  setFlag(vst2::effFlagsHasEditor, editor != nullptr);
}

void AudioEffectX::setFlag(vst2::VstInt32 flag, bool state) {
  if (state) {
    cEffect_.flags |= flag;
  } else {
    cEffect_.flags &= ~flag;
  }
}

void AudioEffectX::isSynth(bool state) { setFlag(vst2::effFlagsIsSynth, state); }
void AudioEffectX::canProcessReplacing(bool state) { setFlag(vst2::effFlagsCanReplacing, state); }
void AudioEffectX::programsAreChunks(bool state) { setFlag(vst2::effFlagsProgramChunks, state); }

vst2::VstIntPtr AudioEffectX::callHost(vst2::VstInt32 opcode, vst2::VstInt32 index,
                                       vst2::VstIntPtr value, void* ptr, float opt) {
  if (audioMaster_ == nullptr) return 0;
  return audioMaster_(&cEffect_, opcode, index, value, ptr, opt);
}

vst2::VstIntPtr AudioEffectX::dispatcher(vst2::VstInt32 /*opcode*/, vst2::VstInt32 /*index*/,
                                         vst2::VstIntPtr /*value*/, void* /*ptr*/,
                                         float /*opt*/) {
  return 0;
}
