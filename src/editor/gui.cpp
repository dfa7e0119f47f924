#include "editor/gui.h"

#include "shell/audio_effect.h"
#include "shell/instrument_registry.h"

GUI::GUI(AudioEffectX* effect) : effect_(effect) {}

bool GUI::Open(void* /*parentWindow*/) {
  instrument_ = instrument_registry::Find(effect_);
  open_ = true;
  return true;
}

void GUI::Close() {
  open_ = false;
  instrument_ = nullptr;
}
