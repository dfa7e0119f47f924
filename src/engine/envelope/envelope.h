// Piecewise-linear functions of time as ordered breakpoint lists: the
// timeline lines of a layer and the short per-block lists of the voices.
// Clearing keeps breakpoints and their value arrays for reuse, and capacity
// only grows (8, then steps of 256), so a steady-state block allocates nothing.
// Thread: a list belongs to one thread at a time; timeline lines are edited
// under the instrument's mutex.
#pragma once

#include <vector>

struct Breakpoint {
  float time = 0.0f;
  std::vector<float> values;
};

class Envelope {
 public:
  static constexpr int kInitialCapacity = 8;
  static constexpr int kCapacityStep = 256;

  explicit Envelope(int valuesPerPoint = 1);
  virtual ~Envelope() = default;
  Envelope(const Envelope& other);
  Envelope& operator=(const Envelope& other);

  int size() const { return count_; }
  bool empty() const { return count_ == 0; }
  int capacity() const { return static_cast<int>(points_.size()); }
  int valuesPerPoint() const { return valuesPerPoint_; }
  void SetValuesPerPoint(int n);

  Breakpoint& operator[](int i) { return points_[static_cast<std::size_t>(i)]; }
  const Breakpoint& operator[](int i) const { return points_[static_cast<std::size_t>(i)]; }
  Breakpoint& last() { return (*this)[count_ - 1]; }
  const Breakpoint& last() const { return (*this)[count_ - 1]; }

  // A breakpoint at the end with every value set to value.
  Breakpoint& Append(float time, float value = 0.0f);
  void Clear() { count_ = 0; }
  void CopyFrom(const Envelope& other);
  // Removes breakpoint i, keeping its storage for reuse.
  void Remove(int i);

  // The values at time t into out (valuesPerPoint floats). The hint is the
  // segment to start scanning from and is updated for the next call.
  void Evaluate(float t, int& hint, float* out) const;
  // Inserts a breakpoint at time t in time order and answers its index. With
  // fill its values continue the line (interpolated, or copied at a jump or
  // an end); without, they are zero.
  int Insert(float t, bool fill, int& hint);

 private:
  Breakpoint& InsertAt(int index, float time);
  void Reserve(int needed);

  std::vector<Breakpoint> points_;
  int count_ = 0;
  int valuesPerPoint_;
};

// A timeline line of a layer.
class EventEnvelope : public Envelope {
 public:
  using Envelope::Envelope;
};
