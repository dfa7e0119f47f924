#include "engine/instrument/znote.h"

#include <cmath>

#include "engine/instrument/zelvane.h"

ZNote::ZNote(Zelvane& instrument, int index) : instrument_(instrument), index_(index) {
  for (auto& l : layers_) l = std::make_unique<Voice>();
}

void ZNote::Initialise() {
  for (int k = 0; k < kLayers; ++k) {
    layer(k).Start(instrument_, k, static_cast<std::uint32_t>(index_ * kLayers + k + 1) * 2654435761u);
  }
}

bool ZNote::LayerOn(int k) const {
  return instrument_.voiceSettings(k).setting(VoiceSettings::kLayerOn).GetBool();
}

bool ZNote::AllFinished() const {
  for (int k = 0; k < kLayers; ++k) {
    if (!layer(k).finished()) return false;
  }
  return true;
}

void ZNote::NoteOn(int key, int velocity) {
  state_ = kHeld;
  key_ = key;
  velocity_ = velocity;
  age_ = 0.0f;
  for (int k = 0; k < kLayers; ++k) {
    float phases[2];
    for (int lfo = 0; lfo < 2; ++lfo) phases[lfo] = instrument_.StartingLfoPhase(k, lfo);
    layer(k).NoteOn(key, velocity, phases[0], phases[1]);
  }
}

void ZNote::SetKey(int key) {
  key_ = key;
  for (auto& l : layers_) l->SetKey(key);
}

void ZNote::NoteOff(int offset) {
  if (instrument_.sustainHeld()) {
    state_ = kSustained;
  } else {
    Release(offset);
  }
}

void ZNote::Release(int offset) {
  state_ = kReleased;
  for (int k = 0; k < kLayers; ++k) {
    layer(k).Release(offset);
    layer(k).SetFinished(!LayerOn(k));
  }
}

void ZNote::Fade(int offset) {
  state_ = kFading;
  for (int k = 0; k < kLayers; ++k) {
    layer(k).Fade(offset);
    layer(k).SetFinished(!LayerOn(k));
  }
}

void ZNote::GlideFrom(float from, int offset, float portamento) {
  const int frames = static_cast<int>(std::trunc(std::fabs(static_cast<float>(key_) - from) *
                                                 (portamento + 0.001f) * 8810.0f));
  for (auto& l : layers_) l->Glide(from - static_cast<float>(key_), offset, frames);
}

void ZNote::Cut() {
  state_ = kFree;
  for (auto& l : layers_) l->SetFinished(true);
}

float ZNote::CurrentPitch() const {
  for (int k = 0; k < kLayers; ++k) {
    if (LayerOn(k)) return static_cast<float>(key_) + layer(k).GlideOffset();
  }
  return static_cast<float>(key_);
}

void ZNote::Render(float* left, float* right, int frames) {
  if (state_ == kFree) return;
  if (state_ == kSustained && !instrument_.sustainHeld()) Release(0);
  const bool ending = state_ == kReleased || state_ == kFading;
  for (int k = 0; k < kLayers; ++k) {
    if (LayerOn(k)) {
      layer(k).Process(nullptr, nullptr, left, right, frames);
    } else if (ending) {
      layer(k).SetFinished(true);  // switched off while ending: nothing left to play
    }
  }
  if ((state_ == kReleased || state_ == kFading) && AllFinished()) state_ = kFree;
  age_ += static_cast<float>(frames);
}
