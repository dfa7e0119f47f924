// A layer's four corner waves: what each lane holds and the published
// band-limited tables the oscillators read. Level j of the tables holds each
// lane limited to the partials that stay below 22050 Hz for MIDI note j + 1.
// Thread: built and changed on the user-interface or loader thread, by one
// thread at a time (the instrument's mutex orders them); the audio thread
// only reads tables() and length(). A rebuild fills new tables and publishes
// them, so a table is never written or freed under a reader. Wave sets whose
// lanes are all built-in shapes share their tables.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "engine/oscillators/wave_tables.h"

class WaveBuilder;

class WaveSet {
 public:
  enum Kind { kNone = 0, kSine = 1, kRamp = 2, kSquare = 3, kSilence = 4, kUser = 5 };
  static constexpr int kLanes = 4;
  static constexpr int kLevels = 128;
  static constexpr int kBuiltInLength = 4096;
  // Every wave this system writes is 4096 samples long; a longer one in a
  // file would cost up to 128 MiB and seconds of building per set.
  static constexpr int kMaxLength = 4096;
  // The wave editor's partials (1 to 255) and the cap it builds cycles with.
  static constexpr int kEditorPartials = 255;
  static constexpr int kEditorCap = 256;

  WaveSet();
  ~WaveSet();
  WaveSet(const WaveSet&) = delete;
  WaveSet& operator=(const WaveSet&) = delete;

  // Audio thread: the current tables, or null while none are built.
  const WaveTables* tables() const { return current_.load(std::memory_order_acquire); }

  // Makes t the current tables as they are (kinds and size are not
  // changed). The previous ones are freed only after the block fence has run
  // (it returns once no block can still read them).
  void Publish(std::unique_ptr<WaveTables> t);
  // Runs before retired tables are freed; the instrument passes a function
  // that takes and releases its block mutex. Without one, nothing renders
  // concurrently (tests, tools).
  void SetBlockFence(std::function<void()> fence) { fence_ = std::move(fence); }

  Kind kind(int lane) const {
    return ValidLane(lane) ? kinds_[static_cast<std::size_t>(lane)] : kNone;
  }
  int length() const { return length_.load(std::memory_order_relaxed); }  // N
  int levelCount() const { return levels_; }                              // M
  int binCount() const { return length() / 2; }
  // Turns a phase step into the level lookup's index (88200 / N).
  float incrementScale() const { return 88200.0f / static_cast<float>(length()); }

  // N a power of two from 2 to kMaxLength, M from 1 to kLevels.
  static bool ValidSize(int length, int levels);
  // Gives every table the new size; built-in lanes are built again and user
  // lanes keep their partials (as far as the new length holds them). False
  // for an invalid size, which changes nothing; the same size does nothing.
  bool Resize(int length, int levels);

  // Kinds kSine to kSilence; anything else is ignored.
  void BuildBuiltIn(int lane, Kind kind);
  // All four lanes at once, one publication (a lane given another kind than
  // kSine to kSilence keeps what it holds).
  void BuildBuiltIns(const std::array<Kind, kLanes>& kinds);
  // A user wave from partials: entry i of the arrays is harmonic i + 1
  // (amplitude, phase in radians; no phases means phase 0), and table j keeps
  // harmonics h < ⌊min(N/2 - 1, 22050 / F_j, partial count)⌋.
  void BuildFromPartials(int lane, std::span<const float> amplitudes,
                         std::span<const float> phases = {});
  // A user wave from one cycle, band-limited per table (and to bins below the
  // cap when one is given). A cycle of another valid length resizes the set
  // first; an invalid length returns false and changes nothing.
  bool BuildFromSamples(int lane, std::span<const float> samples,
                        std::optional<int> cap = std::nullopt);
  // Partials 1, 2, ... of the lane's table 0: amplitudes[i] and phases[i]
  // (in [0, 2π)) are harmonic i + 1, 0 beyond N/2 - 1 or without tables.
  void AnalyseLane(int lane, std::span<float> amplitudes, std::span<float> phases);

  // Older names of BuildBuiltIn(s) and BuildFromSamples.
  void SetBuiltIn(int lane, Kind kind) { BuildBuiltIn(lane, kind); }
  void SetBuiltIns(const std::array<Kind, kLanes>& kinds) { BuildBuiltIns(kinds); }
  void SetUserSamples(int lane, const std::vector<float>& samples) {
    BuildFromSamples(lane, samples);
  }

 private:
  using Kinds = std::array<Kind, kLanes>;
  static bool ValidLane(int lane) { return lane >= 0 && lane < kLanes; }
  static bool BuiltIn(Kind k) { return k >= kSine && k <= kSilence; }

  WaveBuilder& Builder();
  void Install(std::shared_ptr<const WaveTables> t);
  // New tables of the current size holding every lane as it is now.
  std::unique_ptr<WaveTables> CopyCurrent();
  void FillBuiltIn(WaveTables& t, int lane, Kind kind);
  // Band-limits the builder's spectrum into the lane of every level.
  void Synthesise(WaveTables& t, int lane, double limit, bool keepSource);
  // The tables of four built-in lanes at the current size, shared with every
  // other wave set that holds the same.
  std::shared_ptr<const WaveTables> SharedBuiltIns(const Kinds& kinds);

  Kinds kinds_{kSilence, kSilence, kSilence, kSilence};
  std::atomic<int> length_{kBuiltInLength};
  int levels_ = kLevels;
  std::unique_ptr<WaveBuilder> builder_;  // transforms and spectrum scratch of length N
  std::shared_ptr<const WaveTables> owned_;
  std::atomic<const WaveTables*> current_{nullptr};
  std::function<void()> fence_;
};
