// The framework's plug-in base: parameter host and mutex, automation back to
// the host, sample-rate, tempo and transport sources, block ticks, the state
// interface, the plug-in's names and folder, and the host-facing dispatcher
// and audio callback. Blocks of any length are cut into pieces the
// instrument's buffers hold.
// Thread: dispatcher on the user-interface thread; processReplacing on the
// audio thread.
#pragma once

#include <array>
#include <string>

#include "params/automatable_parameter_server.h"
#include "shell/audio_effect.h"
#include "shell/host_sources.h"
#include "shell/plugin_base.h"
#include "shell/plugin_state.h"

struct PluginIdentity {
  int numParams = 0;
  int stereoInputPairs = 0;
  int stereoOutputPairs = 1;
  bool isSynth = true;
  vst2::VstInt32 uniqueId = 0;
  std::string effectName;
  std::string vendorName;
  // The library file must be called moduleName + ".so"; empty skips the check
  // (an instrument made inside a test program rather than loaded as a plug-in).
  std::string moduleName;
};

class VstBase : public AudioEffectX, public PluginBase, public AutomatableParameterServer {
 public:
  static constexpr int kMaxBlockFrames = 8192;      // the instrument's buffers
  static constexpr int kInputCopyFrames = 16384;    // in-place input copies

  VstBase(vst2::audioMasterCallback audioMaster, const PluginIdentity& identity);
  ~VstBase() override;

  vst2::VstIntPtr dispatcher(vst2::VstInt32 opcode, vst2::VstInt32 index, vst2::VstIntPtr value,
                             void* ptr, float opt) override;
  void processReplacing(float** inputs, float** outputs, vst2::VstInt32 frames) override;
  void setParameter(vst2::VstInt32 index, float value) override;
  float getParameter(vst2::VstInt32 index) override;

  // Renders one block (at most kMaxBlockFrames) into a zeroed output pair.
  virtual void RenderBlock(float* left, float* right, int frames, int pair) = 0;

  void NotifyHost(int index, float normalised) override;
  // User-interface thread: the host's idle calls (editor idle, plain idle,
  // editor close) give the instrument a moment for work it must not do on
  // the audio thread. Quick when there is nothing to do.
  virtual void UserInterfaceIdle() {}

  SampleRateSource& sampleRateSource() { return sampleRateSource_; }
  TempoSource& tempoSource() { return tempoSource_; }
  TransportSource& transportSource() { return transportSource_; }
  NextBufferListener& bufferListenerHost() { return bufferListenerHost_; }
  const std::string& pluginFolder() const { return pluginFolder_; }
  const std::string& effectName() const { return effectName_; }
  const std::string& vendorName() const { return vendorName_; }
  void SetPluginState(PluginState* state) { state_ = state; }

 protected:
  virtual bool canDo(const char* text);
  virtual void processEvents(const vst2::VstEvents* /*events*/) {}

 private:
  void ReadHostTime();
  void FindPluginFolder(const std::string& moduleName);

  std::string effectName_;
  std::string vendorName_;
  int stereoInputPairs_;
  int stereoOutputPairs_;
  std::array<float, kInputCopyFrames> inputCopyLeft_{};
  std::array<float, kInputCopyFrames> inputCopyRight_{};
  SampleRateSource sampleRateSource_;
  TempoSource tempoSource_;
  TransportSource transportSource_;
  NextBufferListener bufferListenerHost_;
  std::string pluginFolder_;
  PluginState* state_ = nullptr;
};
