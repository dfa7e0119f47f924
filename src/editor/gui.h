// The editor root of the instrument. For now a placeholder of the editor's
// fixed size that draws nothing; it does no window, font or file work, so a
// host that only scans the plug-in pays nothing for it.
// Thread: user-interface thread.
#pragma once

#include "editor/effect_gui_base.h"

class AudioEffectX;
class InstrumentBase;

class GUI : public EffectGUIBase {
 public:
  static constexpr int kWidth = 767;
  static constexpr int kHeight = 638;

  explicit GUI(AudioEffectX* effect);
  int Width() const override { return kWidth; }
  int Height() const override { return kHeight; }
  bool Open(void* parentWindow) override;
  void Close() override;

  bool isOpen() const { return open_; }
  // The instrument this editor edits, found in the registry at open.
  InstrumentBase* instrument() const { return instrument_; }

 private:
  AudioEffectX* effect_;
  InstrumentBase* instrument_ = nullptr;
  bool open_ = false;
};
