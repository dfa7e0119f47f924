#include "engine/oscillators/vector_osc.h"

#include <emmintrin.h>
#include <xmmintrin.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kOne = 65536.0;  // 1.0 in 16.16 fixed point
constexpr int kFracMask = 0xFFFF;
constexpr int kMaxSegmentFrames = 1 << 30;

// Frames a segment covers: int(next time - time), never negative, and
// bounded so positions cannot overflow.
int SegmentFrames(float from, float to) {
  const float d = to - from;
  if (!(d > 0.0f)) return 0;  // also NaN
  return d < static_cast<float>(kMaxSegmentFrames) ? static_cast<int>(d) : kMaxSegmentFrames;
}

// The 16.16 step for s samples per frame, taken modulo the wave so that a
// single subtraction at a wrap keeps the phase inside it even when the step
// is a cycle or more per frame (or negative).
std::uint64_t FixedStep(float step, std::uint64_t wrap) {
  double d = std::trunc(static_cast<double>(step) * kOne);
  const double w = static_cast<double>(wrap);
  if (d >= 0.0 && d < w) return static_cast<std::uint64_t>(d);
  if (!std::isfinite(d)) return 0;
  d = std::fmod(d, w);
  if (d < 0.0) d += w;
  return static_cast<std::uint64_t>(d);
}

// Frames from phase on that still lie inside the cycle.
std::uint64_t FramesBeforeWrap(std::uint64_t phase, std::uint64_t delta, std::uint64_t wrap) {
  const std::uint64_t room = wrap - 1 - phase;
  if (room <= UINT32_MAX && delta <= UINT32_MAX) {  // 32-bit division is much cheaper
    return static_cast<std::uint32_t>(room) / static_cast<std::uint32_t>(delta) + 1;
  }
  return room / delta + 1;
}

// The four lanes between the samples at byte offsets a and b, t of the way.
inline __m128 Lerp(const char* table, std::uint64_t a, std::uint64_t b, __m128 t) {
  const __m128 x0 = _mm_load_ps(reinterpret_cast<const float*>(table + a));
  const __m128 x1 = _mm_load_ps(reinterpret_cast<const float*>(table + b));
  return _mm_add_ps(x0, _mm_mul_ps(_mm_sub_ps(x1, x0), t));
}

}  // namespace

VectorOsc::VectorOsc() = default;

void VectorOsc::StartSegment(const Envelope& list, int values, int first, int at, Segment& s) {
  s.begin = at;
  if (first + 1 < list.size()) {
    const Breakpoint& p0 = list[first];
    const Breakpoint& p1 = list[first + 1];
    const int frames = SegmentFrames(p0.time, p1.time);
    const int count =
        std::min<int>(values, static_cast<int>(std::min(p0.values.size(), p1.values.size())));
    for (int c = 0; c < values; ++c) {
      const float v0 = c < count ? p0.values[static_cast<std::size_t>(c)] : 0.0f;
      const float v1 = c < count ? p1.values[static_cast<std::size_t>(c)] : 0.0f;
      s.start[c] = v0;
      s.slope[c] = frames > 0 ? (v1 - v0) / static_cast<float>(frames) : 0.0f;
    }
    s.end = at + frames;
    s.next = first + 1;
    return;
  }
  // Used up: hold the last value to the end of the block.
  const Breakpoint* last = list.empty() ? nullptr : &list.last();
  for (int c = 0; c < values; ++c) {
    s.start[c] = last && static_cast<std::size_t>(c) < last->values.size()
                     ? last->values[static_cast<std::size_t>(c)]
                     : 0.0f;
    s.slope[c] = 0.0f;
  }
  s.end = INT_MAX;
  s.next = list.size();
}

void VectorOsc::StartAmplitude(int first, int at) {
  Segment& s = segments_[kAmplitude];
  StartSegment(amplitude_, 1, first, at, s);
  if (s.start[0] < 0.0f) {  // a segment starting below zero stays silent throughout
    s.start[0] = 0.0f;
    s.slope[0] = 0.0f;
  }
}

void VectorOsc::UpdateWeights(int frame) {
  const Segment& s = segments_[kWeights];
  const float elapsed = static_cast<float>(frame - s.begin);
  for (int c = 0; c < 4; ++c) cycle_.weights[c] = s.start[c] + s.slope[c] * elapsed;
}

void VectorOsc::UpdatePan(int frame) {
  const Segment& s = segments_[kPan];
  const float p = (s.start[0] + s.slope[0] * static_cast<float>(frame - s.begin)) * 0.5f + 0.5f;
  cycle_.leftGain = 1.0f - p;
  cycle_.rightGain = p;
}

void VectorOsc::UpdateStep(int frame, std::uint64_t wrap) {
  const Segment& s = segments_[kFrequency];
  const float hz = s.start[0] + s.slope[0] * static_cast<float>(frame - s.begin);
  cycle_.step = hz * ratePerHz_;
  cycle_.delta = FixedStep(cycle_.step, wrap);
}

void VectorOsc::Process(const float*, const float*, float* leftOut, float* rightOut, int frames) {
  if (frames <= 0 || amplitude_.size() < 2 || waveSet_ == nullptr) return;
  const WaveTables* tables = waveSet_->tables();
  if (tables == nullptr) return;
  const int length = tables->length();
  const int levels = tables->levels();
  // The index mask needs a power of two.
  if (length <= 0 || levels <= 0 || (length & (length - 1)) != 0) return;
  const float rate = sampleRate();
  if (!(rate > 0.0f)) return;

  const std::uint64_t wrap = static_cast<std::uint64_t>(length) << 16;
  ratePerHz_ = static_cast<float>(length) / rate;

  double start = phase_;
  if (!(start >= 0.0 && start < length)) {  // set from outside, or the wave length changed
    start = std::fmod(start, static_cast<double>(length));
    if (start < 0.0) start += length;
    if (!(start >= 0.0 && start < length)) start = 0.0;
  }
  std::uint64_t phase = static_cast<std::uint64_t>(start * kOne);

  static constexpr int kValues[kListCount] = {1, 4, 1, 1};
  const Envelope* lists[kListCount] = {&amplitude_, &weights_, &frequency_, &pan_};
  StartAmplitude(0, 0);
  for (int k = kWeights; k < kListCount; ++k)
    StartSegment(*lists[k], kValues[k], 0, 0, segments_[k]);
  UpdateWeights(0);
  UpdatePan(0);
  UpdateStep(0, wrap);

  int pos = 0;
  while (pos < frames) {
    // Start the segments that end here; zero-length ones are passed straight through.
    Segment& amp = segments_[kAmplitude];
    bool done = false;
    while (pos >= amp.end) {
      if (amp.next + 1 >= amplitude_.size()) {
        done = true;
        break;
      }
      StartAmplitude(amp.next, pos);
    }
    if (done) break;
    for (int k = kWeights; k < kListCount; ++k) {
      Segment& s = segments_[k];
      if (pos < s.end) continue;
      while (pos >= s.end) StartSegment(*lists[k], kValues[k], s.next, pos, s);
      // A segment's start values take effect at once, not at the next wrap.
      if (k == kWeights) UpdateWeights(pos);
      if (k == kPan) UpdatePan(pos);
      if (k == kFrequency) UpdateStep(pos, wrap);
    }

    int end = frames;
    for (const Segment& s : segments_) end = std::min(end, s.end);
    const int run = end - pos;

    const float a = amp.start[0] + amp.slope[0] * static_cast<float>(pos - amp.begin);
    // Silent runs leave the phase where it is, so the wave resumes from there.
    if (a != 0.0f || amp.slope[0] != 0.0f) {
      const int level = LevelForStep(cycle_.step, length, rate, levels);
      Render(tables->level(level), length, phase, pos, run, a, amp.slope[0], leftOut + pos,
             rightOut + pos);
    }
    pos = end;
  }

  // The next block starts its lines afresh, so a wrap due at its first frame
  // would re-evaluate nothing; storing the wrapped phase keeps it below the length.
  if (phase >= wrap) phase -= wrap;
  phase_ = static_cast<double>(phase) / kOne;
}

void VectorOsc::Render(const float* table, int length, std::uint64_t& phase, int begin, int frames,
                       float amplitude, float amplitudeSlope, float* left, float* right) {
  const std::uint64_t wrap = static_cast<std::uint64_t>(length) << 16;
  // Byte offsets of a frame: phase >> 16 frames of 16 bytes each.
  const char* bytes = reinterpret_cast<const char*>(table);
  const std::uint64_t offsetMask = (static_cast<std::uint64_t>(length) - 1) << 4;
  const __m128i fracMask = _mm_set1_epi32(kFracMask);
  const __m128 fracScale = _mm_set1_ps(static_cast<float>(1.0 / kOne));
  std::uint64_t p = phase;
  int j = 0;
  while (j < frames) {
    if (p >= wrap) {
      // A new cycle: weights, pan and pitch move on to where their lines are now.
      p -= wrap;
      UpdateWeights(begin + j);
      UpdatePan(begin + j);
      UpdateStep(begin + j, wrap);
    }
    const std::uint64_t delta = cycle_.delta;
    int chunk = frames - j;
    if (delta != 0) {
      const std::uint64_t inside = FramesBeforeWrap(p, delta, wrap);
      if (inside < static_cast<std::uint64_t>(chunk)) chunk = static_cast<int>(inside);
    }

    const __m128 weights = _mm_loadu_ps(cycle_.weights);
    const float lg = cycle_.leftGain;
    const float rg = cycle_.rightGain;
    const float a0 = amplitude + amplitudeSlope * static_cast<float>(j);
    // Two frames of each side: gain = amplitude x pan gain.
    __m128 leftGain = _mm_mul_ps(_mm_setr_ps(a0, a0 + amplitudeSlope, 0.0f, 0.0f), _mm_set1_ps(lg));
    __m128 rightGain =
        _mm_mul_ps(_mm_setr_ps(a0, a0 + amplitudeSlope, 0.0f, 0.0f), _mm_set1_ps(rg));
    const __m128 leftStep = _mm_set1_ps(2.0f * amplitudeSlope * lg);
    const __m128 rightStep = _mm_set1_ps(2.0f * amplitudeSlope * rg);
    // Only the low 16 bits (the fraction) of these lanes are used, so 32 bits
    // are enough whatever the wave length.
    __m128i fraction = _mm_setr_epi32(static_cast<int>(p), static_cast<int>(p + delta), 0, 0);
    const __m128i fractionStep = _mm_set1_epi32(static_cast<int>(2 * delta));
    float* l = left + j;
    float* r = right + j;
    const int pairs = chunk / 2;
    for (int k = 0; k < pairs; ++k) {
      const __m128 t = _mm_mul_ps(_mm_cvtepi32_ps(_mm_and_si128(fraction, fracMask)), fracScale);
      fraction = _mm_add_epi32(fraction, fractionStep);
      const std::uint64_t p1 = p + delta;
      const std::uint64_t o0 = (p >> 12) & ~std::uint64_t{15};
      const std::uint64_t o1 = (p1 >> 12) & ~std::uint64_t{15};
      p = p1 + delta;
      const __m128 m0 =
          _mm_mul_ps(Lerp(bytes, o0, (o0 + 16) & offsetMask, _mm_shuffle_ps(t, t, 0x00)), weights);
      const __m128 m1 =
          _mm_mul_ps(Lerp(bytes, o1, (o1 + 16) & offsetMask, _mm_shuffle_ps(t, t, 0x55)), weights);
      // Both frames' four-term sums at once, in the low two lanes.
      const __m128 halves = _mm_add_ps(_mm_unpacklo_ps(m0, m1), _mm_unpackhi_ps(m0, m1));
      const __m128 mono = _mm_add_ps(halves, _mm_movehl_ps(halves, halves));
      const __m128 outL = _mm_mul_ps(mono, leftGain);
      const __m128 outR = _mm_mul_ps(mono, rightGain);
      leftGain = _mm_add_ps(leftGain, leftStep);
      rightGain = _mm_add_ps(rightGain, rightStep);
      // 64-bit moves of two frames (the __m128i forms may alias the floats).
      const __m128 inL = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(l)));
      const __m128 inR = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r)));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(l), _mm_castps_si128(_mm_add_ps(inL, outL)));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(r), _mm_castps_si128(_mm_add_ps(inR, outR)));
      l += 2;
      r += 2;
    }
    if (chunk & 1) {
      const float t =
          static_cast<float>(static_cast<int>(p & kFracMask)) * static_cast<float>(1.0 / kOne);
      const std::uint64_t o = (p >> 12) & ~std::uint64_t{15};
      p += delta;
      const __m128 m = _mm_mul_ps(Lerp(bytes, o, (o + 16) & offsetMask, _mm_set1_ps(t)), weights);
      const __m128 halves = _mm_add_ps(m, _mm_movehl_ps(m, m));
      const float mono = _mm_cvtss_f32(_mm_add_ss(halves, _mm_shuffle_ps(halves, halves, 1)));
      const float gainNow = a0 + amplitudeSlope * static_cast<float>(chunk - 1);
      *l += lg * gainNow * mono;
      *r += rg * gainNow * mono;
    }
    j += chunk;
  }
  phase = p;
}
