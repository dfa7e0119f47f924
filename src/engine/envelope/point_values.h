// The values of one breakpoint: a small array of floats kept inside the
// breakpoint when there are few (every per-block list and most timeline
// lines), on the heap only for wide ones. Breakpoint lists then hold their
// values without one allocation per point.
// Thread: as the list that holds it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

class PointValues {
 public:
  static constexpr std::size_t kInline = 5;

  PointValues() = default;
  PointValues(std::initializer_list<float> values) { *this = values; }
  PointValues(const PointValues& other) { *this = other; }
  PointValues& operator=(const PointValues& other) {
    if (this != &other) {
      Resize(other.size_);
      std::copy(other.begin(), other.end(), begin());
    }
    return *this;
  }
  PointValues& operator=(std::initializer_list<float> values) {
    Resize(values.size());
    std::copy(values.begin(), values.end(), begin());
    return *this;
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  float* data() { return heap_ ? heap_.get() : inline_; }
  const float* data() const { return heap_ ? heap_.get() : inline_; }
  float* begin() { return data(); }
  float* end() { return data() + size_; }
  const float* begin() const { return data(); }
  const float* end() const { return data() + size_; }
  float& operator[](std::size_t i) { return data()[i]; }
  const float& operator[](std::size_t i) const { return data()[i]; }

  void assign(std::size_t n, float value) {
    Resize(n);
    std::fill(begin(), end(), value);
  }
  // New values, if any, take value; existing ones are kept.
  void resize(std::size_t n, float value = 0.0f) {
    const std::size_t old = size_;
    Resize(n);
    if (n > old) std::fill(begin() + old, end(), value);
  }

  friend bool operator==(const PointValues& a, const PointValues& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
  friend bool operator==(const PointValues& a, const std::vector<float>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
  friend std::ostream& operator<<(std::ostream& out, const PointValues& v) {
    out << '{';
    for (std::size_t i = 0; i < v.size(); ++i) out << (i ? ", " : "") << v[i];
    return out << '}';
  }

 private:
  // Keeps the values that still fit; growing past the inline room moves them
  // to the heap (a wide list is made so once, not per block).
  void Resize(std::size_t n) {
    if (n > capacity_) {
      auto grown = std::make_unique<float[]>(n);
      std::copy(begin(), end(), grown.get());
      heap_ = std::move(grown);
      capacity_ = n;
    }
    size_ = n;
  }

  float inline_[kInline] = {};
  std::unique_ptr<float[]> heap_;
  std::size_t size_ = 0;
  std::size_t capacity_ = kInline;
};
