// An in-process instrument ready to play: sine waves in every layer's lanes
// and helpers to send MIDI and render blocks.
#pragma once

#include <vector>

#include "instrument/instrument_fixture.h"

// Publishes a wave set whose lanes hold sines of harmonics 1, 2, 3 and 4
// (lane c plays harmonic c + 1), or the fundamental in every lane.
void PublishSines(WaveSet& set, bool harmonicPerLane = false);

class PlayingTest : public InstrumentTest {
 protected:
  PlayingTest();
  // Renders frames (in blocks of at most 8192) and appends them.
  void Play(int frames, int block = 512);
  void Key(int key, int velocity = 100, int offset = 0) { z->NoteOn(0, key, velocity, offset); }
  void KeyUp(int key, int offset = 0) { z->NoteOff(0, key, offset); }
  std::vector<float> left, right;
  // A layer's single-breakpoint line set to values.
  void SetLine(int layer, int line, std::vector<float> values);
};
