// Hooks the editor root up to the host: creates it (at once, to learn its
// size, and again at open after a close), opens it in the host's window and
// destroys it at close. Thread: user-interface thread.
#pragma once

#include <memory>

#include "editor/effect_gui_base.h"
#include "shell/audio_effect.h"

class VstGUILoader : public AEffEditor {
 public:
  explicit VstGUILoader(AudioEffectX* effect) : AEffEditor(effect) {}
  ~VstGUILoader() override;

  // Makes the editor object, learns its size and announces the editor.
  void Attach();

  bool getRect(vst2::ERect** rect) override;
  bool open(void* parentWindow) override;
  void close() override;
  void idle() override;
  vst2::VstIntPtr command(vst2::VstIntPtr command, void* ptr, float opt) override;
  EffectGUIBase* editorObject() const { return editorObject_.get(); }

 protected:
  virtual std::unique_ptr<EffectGUIBase> CreateGUI(AudioEffectX* effect) = 0;

 private:
  std::unique_ptr<EffectGUIBase> editorObject_;
  int width_ = 0;
  int height_ = 0;
};
