#include "engine/envelope/envelope.h"

#include <algorithm>
#include <cmath>

void Envelope::Points::Reserve(int needed, int n) {
  if (needed <= capacity()) return;
  int grown = items.empty() ? std::max(needed, kInitialCapacity) : capacity();
  while (grown < needed) grown += kCapacityStep;
  const std::size_t old = items.size();
  items.resize(static_cast<std::size_t>(grown));
  for (std::size_t i = old; i < items.size(); ++i) {
    items[i].values.assign(static_cast<std::size_t>(n), 0.0f);
  }
}

void Envelope::Points::SetValuesPerPoint(int n) {
  for (Breakpoint& p : items) p.values.resize(static_cast<std::size_t>(n), 0.0f);
}

Breakpoint& Envelope::Points::Push(float time, int n) {
  Reserve(count + 1, n);
  Breakpoint& p = items[static_cast<std::size_t>(count++)];
  p.time = time;
  return p;
}

Envelope::Envelope(int valuesPerPoint, int initialCapacity) : valuesPerPoint_(valuesPerPoint) {
  points_.Reserve(initialCapacity, valuesPerPoint_);
  scratch_.Reserve(initialCapacity, valuesPerPoint_);
}

Envelope::Envelope(const Envelope& other)
    : Envelope(other.valuesPerPoint_, std::max(other.capacity(), kInitialCapacity)) {
  CopyFrom(other);
}

Envelope& Envelope::operator=(const Envelope& other) {
  CopyFrom(other);
  return *this;
}

void Envelope::SetValuesPerPoint(int n) {
  valuesPerPoint_ = n;
  points_.SetValuesPerPoint(n);
  scratch_.SetValuesPerPoint(n);
}

Breakpoint& Envelope::Append(float time, float value) {
  Breakpoint& p = points_.Push(time, valuesPerPoint_);
  std::fill(p.values.begin(), p.values.end(), value);
  return p;
}

void Envelope::CopyFrom(const Envelope& other) {
  if (this == &other) return;
  if (valuesPerPoint_ != other.valuesPerPoint_) SetValuesPerPoint(other.valuesPerPoint_);
  points_.Reserve(other.size(), valuesPerPoint_);
  for (int i = 0; i < other.size(); ++i) {
    (*this)[i].time = other[i].time;
    std::copy(other[i].values.begin(), other[i].values.end(), (*this)[i].values.begin());
  }
  points_.count = other.size();
}

Breakpoint& Envelope::InsertAt(int index, float time) {
  points_.Push(time, valuesPerPoint_);
  // The spare breakpoint just taken at the end moves into place with its
  // value array.
  const auto begin = points_.items.begin();
  std::rotate(begin + index, begin + points_.count - 1, begin + points_.count);
  Breakpoint& p = (*this)[index];
  p.time = time;
  std::fill(p.values.begin(), p.values.end(), 0.0f);
  return p;
}

void Envelope::Remove(int i) {
  if (i < 0 || i >= size()) return;
  const auto begin = points_.items.begin();
  std::rotate(begin + i, begin + i + 1, begin + points_.count);
  --points_.count;
}

void Envelope::Evaluate(float t, int& hint, float* out) const {
  const auto n = static_cast<std::size_t>(valuesPerPoint_);
  const int count = size();
  if (count == 0) {
    std::fill(out, out + n, 0.0f);
    return;
  }
  if (count == 1) {
    std::copy_n((*this)[0].values.begin(), n, out);
    return;
  }
  if (hint < 0 || hint >= count) hint = 0;
  for (int i = hint; i + 1 < count; ++i) {
    const Breakpoint& a = (*this)[i];
    const Breakpoint& b = (*this)[i + 1];
    if (t == a.time) {
      hint = i;
      std::copy_n(a.values.begin(), n, out);
      return;
    }
    if (t == b.time) {
      hint = i;
      std::copy_n(b.values.begin(), n, out);
      return;
    }
    if (t > a.time && t < b.time) {
      hint = i;
      const float f = (t - a.time) / (b.time - a.time);
      for (std::size_t k = 0; k < n; ++k) out[k] = a.values[k] + (b.values[k] - a.values[k]) * f;
      return;
    }
  }
  // Past the end, or before the hint's breakpoint: the hint never walks back.
  hint = count - 1;
  std::copy_n(last().values.begin(), n, out);
}

int Envelope::Insert(float t, bool fill, int& hint) {
  const auto n = static_cast<std::size_t>(valuesPerPoint_);
  if (empty()) {
    Append(t, 0.0f);
    hint = 0;
    return 0;
  }
  if (hint < 0 || hint >= size()) hint = 0;
  int index = size();
  for (int i = hint; i < size(); ++i) {
    const float ti = (*this)[i].time;
    if (ti == t && !(i + 1 < size() && (*this)[i + 1].time == t)) {
      // A second breakpoint at t makes a jump there.
      index = i + 1;
      Breakpoint& p = InsertAt(index, t);
      if (fill) std::copy_n((*this)[i].values.begin(), n, p.values.begin());
      hint = index;
      return index;
    }
    if (ti > t) {
      index = i;
      break;
    }
  }
  const bool atEnd = index == size();
  Breakpoint& p = InsertAt(index, t);
  if (fill) {
    if (atEnd) {
      std::copy_n((*this)[index - 1].values.begin(), n, p.values.begin());
    } else if (index > 0) {
      const Breakpoint& a = (*this)[index - 1];
      const Breakpoint& b = (*this)[index + 1];
      const float span = b.time - a.time;
      const float f = span > 0.0f ? (t - a.time) / span : 1.0f;
      for (std::size_t k = 0; k < n; ++k) p.values[k] = a.values[k] + (b.values[k] - a.values[k]) * f;
    } else if (size() > 2) {
      // Before the first breakpoint; a lone breakpoint gives no direction to
      // continue in, so the new one stays at zero.
      std::copy_n((*this)[1].values.begin(), n, p.values.begin());
    }
  }
  hint = index;
  return index;
}

void Envelope::ColumnExtract(const Envelope& source, int first, int last) {
  const int n = last - first + 1;
  if (valuesPerPoint_ != n) SetValuesPerPoint(n);
  for (int i = 0; i < source.size(); ++i) {
    const Breakpoint& s = source[i];
    Breakpoint& p = points_.Push(s.time, n);
    std::copy_n(s.values.begin() + first, n, p.values.begin());
  }
}

void Envelope::Shift(float d) {
  for (int i = 0; i < size(); ++i) (*this)[i].time += d;
}

void Envelope::Scale(float k) {
  for (int i = 0; i < size(); ++i) {
    Breakpoint& p = (*this)[i];
    p.time = i + 1 < size() ? std::trunc(p.time * k) : std::floor(p.time * k + 0.5f);
  }
}

void Envelope::Clamp(float lo) {
  for (int i = 0; i < size(); ++i) {
    for (float& v : (*this)[i].values) v = std::clamp(v, lo, 1.0f);
  }
}

namespace {

// One list's values at a time: a breakpoint's own, a blend of two, or zeros.
struct Sample {
  const float* p = nullptr;
  const float* q = nullptr;
  float f = 0.0f;
  float operator[](std::size_t k) const {
    if (p == nullptr) return 0.0f;
    return q == nullptr ? p[k] : p[k] + (q[k] - p[k]) * f;
  }
};

Sample At(const Breakpoint& b) { return {b.values.data(), nullptr, 0.0f}; }

// The value of list l at time t, where next is the first breakpoint not yet
// walked past (t lies between next - 1 and next).
Sample Between(const Envelope& l, int next, float t) {
  if (l.empty()) return {};
  if (next <= 0) return At(l[0]);
  if (next >= l.size()) return At(l.last());
  const Breakpoint& a = l[next - 1];
  const Breakpoint& b = l[next];
  const float span = b.time - a.time;
  if (span <= 0.0f) return At(b);
  return {a.values.data(), b.values.data(), (t - a.time) / span};
}

struct Multiply {
  float operator()(float x, float y) const { return x * y; }
};
struct Plus {
  float operator()(float x, float y) const { return x + y; }
};

}  // namespace

template <class Op>
void Envelope::Combine(const Envelope& a, const Envelope& b, Op op, Points& out) {
  const int n = a.valuesPerPoint_;
  const auto values = static_cast<std::size_t>(std::min(n, b.valuesPerPoint_));
  out.count = 0;
  int i = 0, j = 0;
  while (i < a.size()) {
    float t;
    Sample x, y;
    if (j < b.size() && b[j].time == a[i].time) {
      t = a[i].time;
      x = At(a[i++]);
      y = At(b[j++]);
    } else if (j < b.size() && b[j].time < a[i].time) {
      t = b[j].time;
      x = Between(a, i, t);
      y = At(b[j++]);
    } else {
      t = a[i].time;
      x = At(a[i++]);
      y = Between(b, j, t);
    }
    Breakpoint& p = out.Push(t, n);
    for (std::size_t k = 0; k < values; ++k) p.values[k] = op(x[k], y[k]);
    // Values b lacks pass through unchanged.
    for (std::size_t k = values; k < static_cast<std::size_t>(n); ++k) p.values[k] = x[k];
  }
}

template <class Op>
void Envelope::Combine(const Envelope& a, const Envelope& b, Op op, Envelope& out) {
  if (out.valuesPerPoint_ != a.valuesPerPoint_) out.SetValuesPerPoint(a.valuesPerPoint_);
  if (&out != &a && &out != &b) {
    Combine(a, b, op, out.points_);
    return;
  }
  Combine(a, b, op, out.scratch_);
  Points& dst = out.points_;
  const Points& src = out.scratch_;
  dst.Reserve(src.count, out.valuesPerPoint_);
  for (std::size_t i = 0; i < static_cast<std::size_t>(src.count); ++i) {
    dst.items[i].time = src.items[i].time;
    std::copy(src.items[i].values.begin(), src.items[i].values.end(), dst.items[i].values.begin());
  }
  dst.count = src.count;
}

void Envelope::MultiplyBy(const Envelope& b) { Combine(*this, b, Multiply{}, *this); }

void Envelope::Add(const Envelope& b) { Combine(*this, b, Plus{}, *this); }

void Product(const Envelope& a, const Envelope& b, Envelope& out) {
  Envelope::Combine(a, b, Multiply{}, out);
}

void Sum(const Envelope& a, const Envelope& b, Envelope& out) { Envelope::Combine(a, b, Plus{}, out); }

namespace {

// Appends a breakpoint at time with line's values there into out.
void AppendEvaluated(const Envelope& line, Envelope& out, float outTime, float lineTime, int& hint) {
  out.Append(outTime);
  line.Evaluate(lineTime, hint, out.last().values.data());
}

void AppendCopy(Envelope& out, float outTime, const Breakpoint& from) {
  Breakpoint& p = out.Append(outTime);
  std::copy(from.values.begin(), from.values.end(), p.values.begin());
}

// Repeats out's last values at a later time. Appending may move the
// breakpoints, so the source is looked up afterwards.
void AppendRepeat(Envelope& out, float outTime) {
  out.Append(outTime);
  const Breakpoint& from = out[out.size() - 2];
  std::copy(from.values.begin(), from.values.end(), out.last().values.begin());
}

// The window without looping.
void ExtractPlain(const Envelope& line, Envelope& out, float s, float e, int& hint,
                  bool zeroAfterEnd, float offset) {
  const float f = s + offset;
  const float h = e + offset;
  if (line.empty() || s > line.last().time) {
    if (line.empty() || zeroAfterEnd) {
      out.Append(f, 0.0f);
      out.Append(h, 0.0f);
    } else {
      AppendCopy(out, f, line.last());
      AppendCopy(out, h, line.last());
    }
    return;
  }
  AppendEvaluated(line, out, f, s, hint);
  for (int i = std::max(hint, 0); i < line.size(); ++i) {
    const float t = line[i].time;
    if (t <= s) continue;
    if (t > e) {
      AppendEvaluated(line, out, h, e, hint);
      return;
    }
    AppendCopy(out, t + offset, line[i]);
    hint = i;
    if (t == e) return;
  }
  if (zeroAfterEnd) {
    out.Append(h, 0.0f);
  } else {
    AppendCopy(out, h, line.last());
  }
  hint = line.size() - 1;
}

}  // namespace

float WindowExtract(const Envelope& line, Envelope& out, float start, float end, int& hint,
                    bool zeroAfterEnd, const LoopRecord* loop, float offset) {
  if (out.valuesPerPoint() != line.valuesPerPoint()) out.SetValuesPerPoint(line.valuesPerPoint());
  const bool looping = loop != nullptr && loop->on && loop->end >= start && loop->end <= end;
  if (!looping) {
    ExtractPlain(line, out, start, end, hint, zeroAfterEnd, offset);
    if (loop != nullptr) loop->resumePosition = end;
    return end;
  }

  const float loopStart = loop->start;
  const float loopEnd = loop->end;
  const bool hold = loopEnd - loopStart <= loop->minimumLength;
  float s = start;
  if (s == loopEnd && hold) {
    // Held at the loop end: a stale hint past it would answer the line's
    // last values instead.
    if (hint >= 0 && hint < line.size() && line[hint].time > loopEnd) hint = 0;
    AppendEvaluated(line, out, start + offset, loopEnd, hint);
    AppendRepeat(out, end + offset);
    loop->resumePosition = loopEnd;
    return loopEnd;
  }
  float remaining = end - start;
  float w = start;
  while (remaining > 0.0f) {
    const float piece = std::min(loopEnd - s, remaining);
    ExtractPlain(line, out, s, s + piece, hint, false, w - s);
    remaining -= piece;
    if (s + piece >= loopEnd) {
      if (hold) {
        if (remaining > 0.0f) AppendRepeat(out, end + offset);
        loop->resumePosition = loopEnd;
        return loopEnd;
      }
      s = loopStart;
      hint = 0;
    } else {
      s += piece;
    }
    w += piece;
  }
  loop->resumePosition = s;
  return s;
}
