// A layer's four corner waves. For now only what each lane holds and its
// cycle length; the band-limited tables are built on top of this record.
// Thread: changed on the user-interface thread under the instrument's mutex.
#pragma once

#include <array>

class WaveSet {
 public:
  enum Kind { kNone = 0, kSine = 1, kRamp = 2, kSquare = 3, kSilence = 4, kUser = 5 };
  static constexpr int kLanes = 4;
  static constexpr int kLevels = 128;
  static constexpr int kBuiltInLength = 4096;

  void SetBuiltIn(int lane, Kind kind) {
    kinds_[static_cast<std::size_t>(lane)] = kind;
    length_ = kBuiltInLength;
  }
  Kind kind(int lane) const { return kinds_[static_cast<std::size_t>(lane)]; }
  int length() const { return length_; }

 private:
  std::array<Kind, kLanes> kinds_{kSilence, kSilence, kSilence, kSilence};
  int length_ = kBuiltInLength;
};
