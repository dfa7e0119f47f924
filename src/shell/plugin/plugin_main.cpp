// The library's entry point and its single factory.
#include <cstdio>
#include <exception>
#include <memory>

#include "editor/gui.h"
#include "engine/instrument/zelvane.h"
#include "shell/message_box.h"
#include "shell/plugin/vst_gui_loader.h"

class IVSTFactory {
 public:
  virtual ~IVSTFactory() = default;
  virtual AudioEffectX* CreateInstance(vst2::audioMasterCallback audioMaster) = 0;
};

IVSTFactory* globalVSTFactory = nullptr;

template <class Instrument, class Editor>
class VSTFactory : public IVSTFactory {
 public:
  template <class E>
  class GUILoader : public VstGUILoader {
   public:
    using VstGUILoader::VstGUILoader;

   protected:
    std::unique_ptr<EffectGUIBase> CreateGUI(AudioEffectX* effect) override {
      return std::make_unique<E>(effect);
    }
  };

  VSTFactory() { globalVSTFactory = this; }
  ~VSTFactory() override {
    if (globalVSTFactory == this) globalVSTFactory = nullptr;
  }

  AudioEffectX* CreateInstance(vst2::audioMasterCallback audioMaster) override {
    auto instrument = std::make_unique<Instrument>(audioMaster);
    auto* loader = new GUILoader<Editor>(instrument.get());
    loader->Attach();  // the effect owns the loader from here on
    return instrument.release();
  }
};

namespace {
VSTFactory<Zelvane, GUI> gFactory;
}

extern "C" __attribute__((visibility("default"))) vst2::AEffect* VSTPluginMain(
    vst2::audioMasterCallback audioMaster) {
  if (audioMaster == nullptr) return nullptr;
  if (audioMaster(nullptr, vst2::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  try {
    if (globalVSTFactory == nullptr) {
      ShowMessageBox("Ulmar Error: globalVSTFactory not set", "", MessageBoxButtons::kOk);
      return nullptr;
    }
    AudioEffectX* effect = globalVSTFactory->CreateInstance(audioMaster);
    return effect->getAeffect();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Zelvane: the plug-in could not be created (%s)\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "Zelvane: the plug-in could not be created\n");
  }
  return nullptr;
}

// Older hosts look the entry point up as "main".
extern "C" __attribute__((visibility("default"))) vst2::AEffect* VSTPluginMainLegacy(
    vst2::audioMasterCallback audioMaster) __asm__("main");
extern "C" vst2::AEffect* VSTPluginMainLegacy(vst2::audioMasterCallback audioMaster) {
  return VSTPluginMain(audioMaster);
}
