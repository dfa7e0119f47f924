// Note allocation: the held keys, the three key modes, stealing, fading,
// glides, the sustain pedal and all-notes-off.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "engine/instrument/zelvane.h"

std::unique_ptr<Note> Zelvane::CreateNote(int index) { return std::make_unique<ZNote>(*this, index); }

ZNote& Zelvane::znote(int i) { return static_cast<ZNote&>(note(i)); }

float Zelvane::StartingLfoPhase(int layer, int lfo) {
  const int setting = lfo == 0 ? VoiceSettings::kLfo1Continuity : VoiceSettings::kLfo2Continuity;
  if (!voiceSettings(layer).setting(setting).GetBool()) return 0.0f;
  if (heldCount_ > 0 && held_[static_cast<std::size_t>(heldCount_ - 1)].note != nullptr) {
    return held_[static_cast<std::size_t>(heldCount_ - 1)].note->layer(layer).lfo(lfo).phase();
  }
  const float stored = storedLfoPhases_[static_cast<std::size_t>(lfo * kVoices + layer)];
  return stored == FLT_MAX ? 0.0f : stored;
}

void Zelvane::StoreLfoPhases(const ZNote* n) {
  if (n == nullptr) return;
  for (int lfo = 0; lfo < 2; ++lfo) {
    for (int k = 0; k < kVoices; ++k) {
      storedLfoPhases_[static_cast<std::size_t>(lfo * kVoices + k)] =
          const_cast<ZNote*>(n)->layer(k).lfo(lfo).phase();
    }
  }
}

void Zelvane::AddHeld(int key, int velocity, ZNote* n) {
  if (heldCount_ >= kHeldCapacity) return;  // more keys than hands: the extra is not tracked
  held_[static_cast<std::size_t>(heldCount_++)] = {key, velocity, n};
}

void Zelvane::RemoveHeld(int index) {
  for (int i = index; i + 1 < heldCount_; ++i) held_[static_cast<std::size_t>(i)] = held_[static_cast<std::size_t>(i + 1)];
  --heldCount_;
}

int Zelvane::FindHeld(int key) const {
  for (int i = 0; i < heldCount_; ++i) {
    if (held_[static_cast<std::size_t>(i)].key == key) return i;
  }
  return -1;
}

void Zelvane::CutAllNotes() {
  std::lock_guard lock(mutex());
  if (!notesReady_) return;
  for (int i = 0; i < kNoteCount; ++i) znote(i).Cut();
  heldCount_ = 0;
}

void Zelvane::StealIfFull() {
  int sounding = 0;
  for (int i = 0; i < kNoteCount; ++i) sounding += znote(i).IsFree() ? 0 : 1;
  if (sounding < activeNoteLimit()) return;
  ZNote* victim = nullptr;
  for (bool releasedOnly : {true, false}) {
    for (int i = 0; i < kNoteCount; ++i) {
      ZNote& n = znote(i);
      if (n.IsFree() || (releasedOnly && n.state() != ZNote::kReleased)) continue;
      if (victim == nullptr || n.age() > victim->age()) victim = &n;
    }
    if (victim != nullptr) break;
  }
  if (victim != nullptr) victim->Cut();
}

float Zelvane::GlideStartPitch() const {
  if (heldCount_ > 0) {
    const ZNote* n = held_[static_cast<std::size_t>(heldCount_ - 1)].note;
    return n != nullptr ? n->CurrentPitch() : static_cast<float>(held_[static_cast<std::size_t>(heldCount_ - 1)].key);
  }
  return lastNote_ != nullptr ? lastNote_->CurrentPitch() : -1.0f;
}

void Zelvane::StartNote(int key, int velocity, int offset) {
  ZNote* free = nullptr;
  for (int i = 0; i < kNoteCount && free == nullptr; ++i) {
    if (znote(i).IsFree()) free = &znote(i);
  }
  if (free == nullptr) {
    // Every note busy (only possible with a limit of 16): take the oldest.
    free = &znote(0);
    for (int i = 1; i < kNoteCount; ++i) {
      if (znote(i).age() > free->age()) free = &znote(i);
    }
    free->Cut();
  }
  const float portamento = portamentoTime_.GetValue();
  float from = -1.0f;
  if (portamento > 0.0f) {
    if (keyMode_.GetIntValue() == 0 && heldCount_ > 0) {
      // Polyphonic: glide from the nearest held key.
      from = static_cast<float>(key);
      int best = 500;
      for (int i = 0; i < heldCount_; ++i) {
        const int distance = std::abs(held_[static_cast<std::size_t>(i)].key - key);
        if (distance > 0 && distance < best) {
          best = distance;
          from = static_cast<float>(held_[static_cast<std::size_t>(i)].key);
        }
      }
    } else {
      from = GlideStartPitch();
    }
  }
  free->NoteOn(key, velocity);
  if (portamento > 0.0f && from >= 0.0f) free->GlideFrom(from, offset, portamento);
  AddHeld(key, velocity, free);
}

void Zelvane::FadeOlderNotes(int offset) {
  int fading = 0;
  for (int i = 0; i < kNoteCount; ++i) {
    ZNote& n = znote(i);
    switch (n.state()) {
      case ZNote::kHeld:
      case ZNote::kReleased:
        if (fading < 2) {
          n.Fade(offset);
          ++fading;
        } else {
          n.Cut();
        }
        break;
      case ZNote::kFading:
        if (fading < 2) {
          ++fading;
        } else {
          n.Cut();
        }
        break;
      case ZNote::kSustained:
        n.Cut();
        break;
      default:
        break;
    }
  }
}

void Zelvane::GlideNoteTo(ZNote& n, int key, int offset) {
  const float from = n.CurrentPitch();
  n.SetKey(key);
  n.GlideFrom(from, offset, portamentoTime_.GetValue());
}

void Zelvane::NoteOn(int /*channel*/, int key, int velocity, int offset) {
  std::lock_guard lock(mutex());
  const int mode = keyMode_.GetIntValue();
  if (mode == 0) {
    StealIfFull();
    StartNote(key, velocity, offset);
    return;
  }
  if (mode == 2) {
    for (int i = 0; i < kNoteCount; ++i) {
      if (znote(i).state() == ZNote::kHeld) {
        GlideNoteTo(znote(i), key, offset);  // legato: no new envelopes
        AddHeld(key, velocity, &znote(i));
        return;
      }
    }
  }
  FadeOlderNotes(offset);
  if (mode == 2) StealIfFull();
  StartNote(key, velocity, offset);
}

void Zelvane::NoteOff(int /*channel*/, int key, int offset) {
  std::lock_guard lock(mutex());
  const int mode = keyMode_.GetIntValue();
  if (mode != 0 && heldCount_ == 0) return;
  if (heldCount_ == 1) StoreLfoPhases(held_[0].note);
  if (mode != 0 && heldCount_ > 1 && held_[static_cast<std::size_t>(heldCount_ - 1)].key == key) {
    // The last key goes up while others are held: hand the sound back.
    const HeldKey released = held_[static_cast<std::size_t>(heldCount_ - 1)];
    RemoveHeld(heldCount_ - 1);
    HeldKey& previous = held_[static_cast<std::size_t>(heldCount_ - 1)];
    if (mode == 1) {
      const HeldKey again = previous;
      RemoveHeld(heldCount_ - 1);
      lastNote_ = again.note;
      FadeOlderNotes(offset);
      StartNote(again.key, again.velocity, offset);
    } else {
      lastNote_ = released.note;
      if (released.note != nullptr && released.note->state() == ZNote::kHeld) {
        GlideNoteTo(*released.note, previous.key, offset);
        previous.note = released.note;
      }
    }
    return;
  }
  if (mode == 0) {
    for (int i = 0; i < kNoteCount; ++i) {
      if (znote(i).state() == ZNote::kHeld && znote(i).key() == key) {
        znote(i).NoteOff(offset);
        break;
      }
    }
  } else {
    for (int i = 0; i < kNoteCount; ++i) {
      if (znote(i).state() == ZNote::kHeld && znote(i).key() == key) znote(i).NoteOff(offset);
    }
  }
  const int index = FindHeld(key);
  if (index >= 0) RemoveHeld(index);
}

void Zelvane::AllNotesOff(int /*channel*/) {
  std::lock_guard lock(mutex());
  while (heldCount_ > 0) {
    const HeldKey entry = held_[static_cast<std::size_t>(heldCount_ - 1)];
    --heldCount_;
    lastNote_ = entry.note;
    // Only a note still sounding for this key: a stolen one stays quiet.
    if (entry.note != nullptr && entry.note->state() == ZNote::kHeld && entry.note->key() == entry.key) {
      entry.note->NoteOff(0);
    }
  }
}

void Zelvane::SustainOn(int /*channel*/, int /*offset*/) {
  sustainHeld_.store(true, std::memory_order_relaxed);
}

void Zelvane::SustainOff(int /*channel*/, int /*offset*/) {
  sustainHeld_.store(false, std::memory_order_relaxed);
}

float Zelvane::GetPlayingTime() {
  std::lock_guard lock(mutex());
  if (animatedNote_ != nullptr && animatedNote_->IsFree()) animatedNote_ = nullptr;
  if (heldCount_ > 0) animatedNote_ = held_[static_cast<std::size_t>(heldCount_ - 1)].note;
  if (animatedNote_ == nullptr) return -1.0f;
  return const_cast<ZNote*>(animatedNote_)->layer(selectedVoice()).position();
}
