// The loop of a layer's timeline, in timeline units. A loop no longer than
// minimumLength acts as a hold point: playback stops at its end and keeps the
// values there while the loop stays on.
// Thread: set under the instrument's mutex; resumePosition is written by the
// audio thread's window extraction.
#pragma once

struct LoopRecord {
  bool on = false;
  float start = 0.0f;
  float end = 0.0f;
  float minimumLength = 512.0f;
  // Where the next block's window starts. Playback state rather than a
  // setting, hence written through a const record.
  mutable float resumePosition = 0.0f;
};
