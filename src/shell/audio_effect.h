// The lowest plug-in layer: owns the AEffect record the host sees, turns the
// host's C calls into virtual operations and keeps exceptions from ever
// crossing into the host. Everything not overridden keeps the interface's
// default answer (0).
// Thread: the dispatcher on the host's user-interface thread (some opcodes
// also on the audio thread); processReplacing on the audio thread.
#pragma once

#include "shell/vst2_abi.h"

class AudioEffectX;

// The editor hook-up as the host drives it.
class AEffEditor {
 public:
  explicit AEffEditor(AudioEffectX* effect) : effect_(effect) {}
  virtual ~AEffEditor() = default;
  virtual AudioEffectX* getEffect() { return effect_; }
  virtual bool getRect(vst2::ERect** rect) {
    *rect = nullptr;
    return false;
  }
  virtual bool open(void* parentWindow) {
    systemWindow_ = parentWindow;
    return false;
  }
  virtual void close() { systemWindow_ = nullptr; }
  virtual bool isOpen() { return systemWindow_ != nullptr; }
  virtual void idle() {}
  virtual int onKeyDown() { return 0; }
  virtual int onKeyUp() { return 0; }
  virtual bool setKnobMode(int /*mode*/) { return false; }
  virtual bool onWheel(float /*distance*/) { return false; }
  // Our own host's private editor requests (shell/editor_commands.h).
  virtual vst2::VstIntPtr command(vst2::VstIntPtr /*command*/, void* /*ptr*/, float /*opt*/) { return 0; }

 protected:
  AudioEffectX* effect_;
  void* systemWindow_ = nullptr;
};

class AudioEffectX {
 public:
  AudioEffectX(vst2::audioMasterCallback audioMaster, int numPrograms, int numParams);
  virtual ~AudioEffectX();
  AudioEffectX(const AudioEffectX&) = delete;
  AudioEffectX& operator=(const AudioEffectX&) = delete;

  vst2::AEffect* getAeffect() { return &cEffect_; }
  static AudioEffectX* FromEffect(vst2::AEffect* e) {
    return e != nullptr ? static_cast<AudioEffectX*>(e->object) : nullptr;
  }

  virtual vst2::VstIntPtr dispatcher(vst2::VstInt32 opcode, vst2::VstInt32 index,
                                     vst2::VstIntPtr value, void* ptr, float opt);
  virtual void processReplacing(float** /*inputs*/, float** /*outputs*/, vst2::VstInt32 /*frames*/) {}
  virtual void setParameter(vst2::VstInt32 /*index*/, float /*value*/) {}
  virtual float getParameter(vst2::VstInt32 /*index*/) { return 0.0f; }

  AEffEditor* editorLoader() const { return editorLoader_; }
  // Takes ownership of the editor loader and announces the editor to the host.
  void setEditor(AEffEditor* editor);
  float getSampleRate() const { return sampleRate_; }
  int getBlockSize() const { return blockSize_; }

  vst2::VstIntPtr callHost(vst2::VstInt32 opcode, vst2::VstInt32 index = 0,
                           vst2::VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);

 protected:
  void setNumInputs(int n) { cEffect_.numInputs = n; }
  void setNumOutputs(int n) { cEffect_.numOutputs = n; }
  void setUniqueID(vst2::VstInt32 id) { cEffect_.uniqueID = id; }
  void isSynth(bool state);
  void canProcessReplacing(bool state);
  void programsAreChunks(bool state);

  vst2::audioMasterCallback audioMaster_;
  AEffEditor* editorLoader_ = nullptr;
  float sampleRate_ = 44100.0f;
  int blockSize_ = 1024;
  int numPrograms_;
  int numParams_;
  int curProgram_ = 0;

 private:
  void setFlag(vst2::VstInt32 flag, bool state);
  vst2::AEffect cEffect_{};
};

// Copies text into a host buffer of the interface's fixed size, always
// terminated; a null buffer is ignored.
void CopyToHost(void* buffer, const char* text);
