// Flushes denormals to zero (FTZ and DAZ) for the life of the guard and gives
// the caller's floating-point mode back afterwards: the host's setting is the
// host's. Thread: the thread that made it (the control register is per thread).
#pragma once

#include <xmmintrin.h>

class DenormalGuard {
 public:
  DenormalGuard() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero); }
  ~DenormalGuard() { _mm_setcsr(saved_); }
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

 private:
  static constexpr unsigned kFlushToZero = 0x8000;
  static constexpr unsigned kDenormalsAreZero = 0x0040;
  unsigned saved_;
};
