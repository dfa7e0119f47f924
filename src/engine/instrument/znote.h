// One sounding key: four layers (one per voice settings) and the note's
// state from held to free.
// Thread: audio thread; made once when the note pool is filled.
#pragma once

#include <array>
#include <memory>

#include "engine/voice/voice.h"
#include "shell/instrument_base.h"

class Zelvane;

class ZNote : public Note {
 public:
  enum State { kFree = 0, kHeld = 1, kReleased = 2, kFading = 3, kSustained = 4 };
  static constexpr int kLayers = 4;

  ZNote(Zelvane& instrument, int index);

  // Links layer k to voice settings k.
  void Initialise() override;
  void NoteOn(int key, int velocity);
  void NoteOff(int offset);
  void Release(int offset);
  // Ramps every layer to silence over 400 frames after the offset.
  void Fade(int offset);
  // Slides every layer from pitch `from` to the note's key.
  void GlideFrom(float from, int offset, float portamento);
  // Stops at once, without a ramp.
  void Cut();
  void Render(float* left, float* right, int frames);

  // Key plus the glide of the first layer switched on.
  float CurrentPitch() const;
  bool IsFree() const { return state_ == kFree; }
  State state() const { return state_; }
  int key() const { return key_; }
  void SetKey(int key);
  int velocity() const { return velocity_; }
  float age() const { return age_; }
  Voice& layer(int k) { return *layers_[static_cast<std::size_t>(k)]; }
  const Voice& layer(int k) const { return *layers_[static_cast<std::size_t>(k)]; }

 private:
  bool LayerOn(int k) const;
  bool AllFinished() const;

  Zelvane& instrument_;
  int index_;
  int key_ = 0;
  int velocity_ = 0;
  State state_ = kFree;
  float age_ = 0.0f;
  std::array<std::unique_ptr<Voice>, kLayers> layers_;
};
