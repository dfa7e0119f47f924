// A layer's four corner waves: what each lane holds and the published
// band-limited tables the oscillators read.
// Thread: built and changed on the user-interface or loader thread; the
// audio thread only reads tables() and never sees a table freed under it.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "engine/oscillators/wave_tables.h"

class WaveSet {
 public:
  enum Kind { kNone = 0, kSine = 1, kRamp = 2, kSquare = 3, kSilence = 4, kUser = 5 };
  static constexpr int kLanes = 4;
  static constexpr int kLevels = 128;
  static constexpr int kBuiltInLength = 4096;

  WaveSet() = default;
  WaveSet(const WaveSet&) = delete;
  WaveSet& operator=(const WaveSet&) = delete;

  // Audio thread: the current tables, or null while none are built.
  const WaveTables* tables() const { return current_.load(std::memory_order_acquire); }

  // Makes t the current tables. The previous ones are freed only after the
  // block fence has run (it returns once no block can still read them).
  void Publish(std::unique_ptr<WaveTables> t);
  // Runs before retired tables are freed; the instrument passes a function
  // that takes and releases its block mutex. Without one, nothing renders
  // concurrently (tests, tools).
  void SetBlockFence(std::function<void()> fence) { fence_ = std::move(fence); }

  // Builds a lane from one of the built-in shapes (sine, ramp, square,
  // silence), band-limited level by level, and publishes the new tables.
  void SetBuiltIn(int lane, Kind kind);
  // All four lanes at once: one build, one publication.
  void SetBuiltIns(const std::array<Kind, kLanes>& kinds);
  // Makes a lane a user wave of one cycle of samples (a power of two long).
  void SetUserSamples(int lane, const std::vector<float>& samples);
  Kind kind(int lane) const { return kinds_[static_cast<std::size_t>(lane)]; }
  int length() const { return length_; }

 private:
  std::array<Kind, kLanes> kinds_{kSilence, kSilence, kSilence, kSilence};
  int length_ = kBuiltInLength;
  std::unique_ptr<WaveTables> owned_;
  std::atomic<const WaveTables*> current_{nullptr};
  std::function<void()> fence_;
};
