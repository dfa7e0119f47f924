#include "engine/envelope/envelope.h"

#include <algorithm>

Envelope::Envelope(int valuesPerPoint) : valuesPerPoint_(valuesPerPoint) {
  Reserve(kInitialCapacity);
}

Envelope::Envelope(const Envelope& other) : valuesPerPoint_(other.valuesPerPoint_) {
  Reserve(kInitialCapacity);
  CopyFrom(other);
}

Envelope& Envelope::operator=(const Envelope& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

void Envelope::Reserve(int needed) {
  if (needed <= capacity()) return;
  int capacity = points_.empty() ? kInitialCapacity : this->capacity();
  while (capacity < needed) capacity += kCapacityStep;
  const std::size_t old = points_.size();
  points_.resize(static_cast<std::size_t>(capacity));
  for (std::size_t i = old; i < points_.size(); ++i) {
    points_[i].values.assign(static_cast<std::size_t>(valuesPerPoint_), 0.0f);
  }
}

void Envelope::SetValuesPerPoint(int n) {
  valuesPerPoint_ = n;
  for (Breakpoint& p : points_) p.values.resize(static_cast<std::size_t>(n), 0.0f);
}

Breakpoint& Envelope::Append(float time, float value) {
  Reserve(count_ + 1);
  Breakpoint& p = (*this)[count_++];
  p.time = time;
  std::fill(p.values.begin(), p.values.end(), value);
  return p;
}

void Envelope::CopyFrom(const Envelope& other) {
  if (valuesPerPoint_ != other.valuesPerPoint_) SetValuesPerPoint(other.valuesPerPoint_);
  Reserve(other.count_);
  for (int i = 0; i < other.count_; ++i) {
    (*this)[i].time = other[i].time;
    std::copy(other[i].values.begin(), other[i].values.end(), (*this)[i].values.begin());
  }
  count_ = other.count_;
}

Breakpoint& Envelope::InsertAt(int index, float time) {
  Reserve(count_ + 1);
  // The spare breakpoint at the end moves into place with its value array.
  std::rotate(points_.begin() + index, points_.begin() + count_, points_.begin() + count_ + 1);
  ++count_;
  Breakpoint& p = (*this)[index];
  p.time = time;
  std::fill(p.values.begin(), p.values.end(), 0.0f);
  return p;
}

void Envelope::Remove(int i) {
  if (i < 0 || i >= count_) return;
  std::rotate(points_.begin() + i, points_.begin() + i + 1, points_.begin() + count_);
  --count_;
}

void Envelope::Evaluate(float t, int& hint, float* out) const {
  const auto n = static_cast<std::size_t>(valuesPerPoint_);
  if (count_ == 0) {
    std::fill(out, out + n, 0.0f);
    return;
  }
  if (count_ == 1) {
    std::copy_n((*this)[0].values.begin(), n, out);
    return;
  }
  if (hint < 0 || hint >= count_) hint = 0;
  for (int i = hint; i + 1 < count_; ++i) {
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
  hint = count_ - 1;
  std::copy_n(last().values.begin(), n, out);
}

int Envelope::Insert(float t, bool fill, int& hint) {
  const auto n = static_cast<std::size_t>(valuesPerPoint_);
  if (count_ == 0) {
    Append(t, 0.0f);
    hint = 0;
    return 0;
  }
  if (hint < 0 || hint >= count_) hint = 0;
  for (int i = hint; i < count_; ++i) {
    const float ti = (*this)[i].time;
    if (ti == t && !(i + 1 < count_ && (*this)[i + 1].time == t)) {
      Breakpoint& p = InsertAt(i + 1, t);
      if (fill) std::copy_n((*this)[i].values.begin(), n, p.values.begin());
      hint = i + 1;
      return i + 1;
    }
    if (ti > t) {
      Breakpoint& p = InsertAt(i, t);
      if (fill && i > 0) {
        const Breakpoint& a = (*this)[i - 1];
        const Breakpoint& b = (*this)[i + 1];
        const float f = (t - a.time) / (b.time - a.time);
        for (std::size_t k = 0; k < n; ++k) p.values[k] = a.values[k] + (b.values[k] - a.values[k]) * f;
      } else if (fill && count_ > 2) {
        std::copy_n((*this)[1].values.begin(), n, p.values.begin());
      }
      hint = i;
      return i;
    }
  }
  const int index = count_;
  Breakpoint& p = InsertAt(index, t);
  if (fill) std::copy_n((*this)[index - 1].values.begin(), n, p.values.begin());
  hint = index;
  return index;
}
