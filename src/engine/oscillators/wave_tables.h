// The band-limited tables of a wave set as the oscillators read them: M
// levels of N frames, the four corner lanes interleaved (sample k of lane c
// at 4k + c), 16-byte aligned so one load reads a frame of all four lanes.
// A WaveTables object never changes once published; a rebuild publishes a
// new one. Thread: built on the user-interface or loader thread, read on the
// audio thread.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

class WaveTables {
 public:
  static constexpr int kLanes = 4;
  static constexpr std::size_t kAlignment = 16;

  // Zeroed storage for levels x length frames.
  WaveTables(int length, int levels) : length_(length), levels_(levels) {
    const std::size_t bytes = sizeof(float) * kLanes * static_cast<std::size_t>(length) *
                              static_cast<std::size_t>(levels);
    // aligned_alloc wants a multiple of the alignment; every size here is one.
    data_.reset(static_cast<float*>(std::aligned_alloc(kAlignment, bytes == 0 ? kAlignment : bytes)));
    if (!data_) throw std::bad_alloc();
    for (std::size_t i = 0; i < bytes / sizeof(float); ++i) data_.get()[i] = 0.0f;
  }

  int length() const { return length_; }  // N, a power of two
  int levels() const { return levels_; }  // M
  const float* level(int m) const { return data_.get() + Offset(m); }
  float* mutableLevel(int m) { return data_.get() + Offset(m); }

 private:
  struct Free {
    void operator()(float* p) const { std::free(p); }
  };
  std::size_t Offset(int m) const {
    return static_cast<std::size_t>(m) * kLanes * static_cast<std::size_t>(length_);
  }
  int length_;
  int levels_;
  std::unique_ptr<float[], Free> data_;
};

// The level for a phase step of s wave samples per output frame at the given
// sample rate: the table of the MIDI note whose band limit suits the
// frequency. Steps at or above half the sample rate use the highest level;
// negative steps the lowest.
int LevelForStep(float step, int length, float sampleRate, int levels);
// The 44100-entry lookup from frequency in Hz to MIDI level 0..127.
int LevelForFrequencyIndex(int index);
