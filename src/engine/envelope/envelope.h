// Piecewise-linear functions of time as ordered breakpoint lists: the
// timeline lines of a layer and the short per-block lists of the voices.
// Clearing keeps breakpoints and their value arrays for reuse, and capacity
// only grows (8, then steps of 256), so a steady-state block allocates nothing.
// Thread: a list belongs to one thread at a time; timeline lines are edited
// under the instrument's mutex.
#pragma once

#include <vector>

#include "engine/envelope/loop_record.h"
#include "engine/envelope/point_values.h"

struct Breakpoint {
  float time = 0.0f;
  PointValues values;
};

class Envelope {
 public:
  static constexpr int kInitialCapacity = 8;
  static constexpr int kCapacityStep = 256;
  // Lists a block fills (sources, inputs, windows) start this large: every
  // block of up to the largest size holds its points without growing.
  static constexpr int kBlockCapacity = 40;

  explicit Envelope(int valuesPerPoint = 1, int initialCapacity = kInitialCapacity);
  virtual ~Envelope() = default;
  Envelope(const Envelope& other);
  Envelope& operator=(const Envelope& other);

  int size() const { return points_.count; }
  bool empty() const { return points_.count == 0; }
  int capacity() const { return points_.capacity(); }
  int valuesPerPoint() const { return valuesPerPoint_; }
  // Resizes the value arrays of every breakpoint held, spares included.
  void SetValuesPerPoint(int n);

  Breakpoint& operator[](int i) { return points_.items[static_cast<std::size_t>(i)]; }
  const Breakpoint& operator[](int i) const { return points_.items[static_cast<std::size_t>(i)]; }
  Breakpoint& last() { return (*this)[points_.count - 1]; }
  const Breakpoint& last() const { return (*this)[points_.count - 1]; }

  // A breakpoint at the end with every value set to value.
  Breakpoint& Append(float time, float value = 0.0f);
  void Clear() { points_.count = 0; }
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

  // Appends one breakpoint per source breakpoint: same time, source values
  // first..last. The list takes last - first + 1 values per breakpoint.
  void ColumnExtract(const Envelope& source, int first, int last);
  void Shift(float d);
  // Times become whole frames: all truncated but the last, which is rounded
  // half up so the list still reaches the end of its block.
  void Scale(float k);
  // Values into [lo, 1].
  void Clamp(float lo);

  // In place: this list becomes its product or sum with b (see Product),
  // computed into the kept scratch storage and copied back.
  void MultiplyBy(const Envelope& b);
  void Add(const Envelope& b);

  friend void Product(const Envelope& a, const Envelope& b, Envelope& out);
  friend void Sum(const Envelope& a, const Envelope& b, Envelope& out);

 private:
  // Breakpoints in use and spares; every one carries n values.
  struct Points {
    std::vector<Breakpoint> items;
    int count = 0;
    int capacity() const { return static_cast<int>(items.size()); }
    void Reserve(int needed, int n);
    void SetValuesPerPoint(int n);
    // A breakpoint at the end with its values left as they were.
    Breakpoint& Push(float time, int n);
  };

  template <class Op>
  static void Combine(const Envelope& a, const Envelope& b, Op op, Points& out);
  template <class Op>
  static void Combine(const Envelope& a, const Envelope& b, Op op, Envelope& out);
  Breakpoint& InsertAt(int index, float time);

  Points points_;
  // Destination of in-place operations. Plain storage rather than another
  // Envelope, so a list does not own a chain of lists.
  Points scratch_;
  int valuesPerPoint_;
};

// Point by point product and sum of two lists starting at the same time: one
// breakpoint per time of either list up to a's last time, the other list
// interpolated where it has no breakpoint. out may be a or b.
void Product(const Envelope& a, const Envelope& b, Envelope& out);
void Sum(const Envelope& a, const Envelope& b, Envelope& out);

// Appends line's window [start, end] (line times) to out, shifted by offset.
// The hint carries the line position from one window to the next. With
// zeroAfterEnd, a line that ends inside the window ramps down to zero by the
// window end. When loop is on and its end lies in the window, playback wraps
// to the loop start (offset must then be 0), or holds at the loop end if the
// loop is no longer than its minimum length; loop->resumePosition receives
// where the next window starts, which is also answered.
float WindowExtract(const Envelope& line, Envelope& out, float start, float end, int& hint,
                    bool zeroAfterEnd, const LoopRecord* loop, float offset = 0.0f);

// A timeline line of a layer.
class EventEnvelope : public Envelope {
 public:
  using Envelope::Envelope;
};

// A modulation source's output or a modulation target's input for one block.
class ZModValues : public Envelope {
 public:
  explicit ZModValues(int valuesPerPoint = 1) : Envelope(valuesPerPoint, kBlockCapacity) {}
  bool hasModulation = false;  // routed values were added this block
  bool computed = false;       // this block's values are ready
};
