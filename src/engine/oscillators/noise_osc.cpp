#include "engine/oscillators/noise_osc.h"

#include <xmmintrin.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <mutex>
#include <type_traits>

namespace {

// The one table of the program and the number of oscillators using it. The
// mutex is taken only when an oscillator is created or destroyed, which the
// voices may do on different threads.
// Trivially destructible and constant-initialised: nothing of it is torn
// down at exit, so oscillators of an instance destroyed while the process
// exits still find it, and nothing is left behind when the library is
// unloaded (the table goes with the last oscillator).
struct SharedNoise {
  std::mutex mutex;
  int count = 0;
  float* table = nullptr;
};
static_assert(std::is_trivially_destructible_v<SharedNoise>);
constinit SharedNoise sharedNoise;

SharedNoise& Shared() { return sharedNoise; }

std::unique_ptr<float[]> MakeTable() {
  auto table = std::make_unique<float[]>(ZNoiseOsc::kTableSize);
  // xorshift32 with a fixed seed: the same noise on every run, and no shared
  // generator state with the rest of the program.
  std::uint32_t x = 0x9E3779B9u;
  for (int i = 0; i < ZNoiseOsc::kTableSize; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    // Uniform over [-1, 1): the top bits as a signed fraction.
    table[static_cast<std::size_t>(i)] =
        static_cast<float>(static_cast<std::int32_t>(x)) * (1.0f / 2147483648.0f);
  }
  return table;
}

// One list's current segment: value and slope per frame, and its frames.
struct Line {
  float start = 0.0f;
  float slope = 0.0f;
  int begin = 0;
  int end = 0;
  int next = 0;

  float At(int frame) const { return start + slope * static_cast<float>(frame - begin); }
};

// Starts the segment from point first at frame at; past the last point the
// line holds its last value (or 0 when empty).
void Start(const Envelope& list, int first, int at, Line& line) {
  line.begin = at;
  if (first + 1 < list.size()) {
    const Breakpoint& p0 = list[first];
    const Breakpoint& p1 = list[first + 1];
    const float d = p1.time - p0.time;
    const int frames = d > 0.0f ? (d < 1.0e9f ? static_cast<int>(d) : 1000000000) : 0;
    const float v0 = p0.values.empty() ? 0.0f : p0.values[0];
    const float v1 = p1.values.empty() ? 0.0f : p1.values[0];
    line.start = v0;
    line.slope = frames > 0 ? (v1 - v0) / static_cast<float>(frames) : 0.0f;
    line.end = at + frames;
    line.next = first + 1;
    return;
  }
  line.start = list.empty() || list.last().values.empty() ? 0.0f : list.last().values[0];
  line.slope = 0.0f;
  line.end = INT_MAX;
  line.next = list.size();
}

void StartAmplitude(const Envelope& list, int first, int at, Line& line) {
  Start(list, first, at, line);
  if (line.start < 0.0f) {  // a segment starting below zero stays silent throughout
    line.start = 0.0f;
    line.slope = 0.0f;
  }
}

void AddScaled(const float* noise, int frames, float leftGain, float rightGain, float* left,
               float* right) {
  const __m128 lg = _mm_set1_ps(leftGain);
  const __m128 rg = _mm_set1_ps(rightGain);
  int i = 0;
  for (; i + 4 <= frames; i += 4) {
    const __m128 x = _mm_loadu_ps(noise + i);
    _mm_storeu_ps(left + i, _mm_add_ps(_mm_loadu_ps(left + i), _mm_mul_ps(x, lg)));
    _mm_storeu_ps(right + i, _mm_add_ps(_mm_loadu_ps(right + i), _mm_mul_ps(x, rg)));
  }
  for (; i < frames; ++i) {
    left[i] += leftGain * noise[i];
    right[i] += rightGain * noise[i];
  }
}

}  // namespace

ZNoiseOsc::ZNoiseOsc() {
  SharedNoise& shared = Shared();
  std::lock_guard lock(shared.mutex);
  if (shared.count == 0) shared.table = MakeTable().release();
  ++shared.count;
  table_ = shared.table;
}

ZNoiseOsc::~ZNoiseOsc() {
  SharedNoise& shared = Shared();
  std::lock_guard lock(shared.mutex);
  if (--shared.count == 0) {
    delete[] shared.table;
    shared.table = nullptr;
  }
}

const float* ZNoiseOsc::SharedTable() {
  SharedNoise& shared = Shared();
  std::lock_guard lock(shared.mutex);
  return shared.table;
}

int ZNoiseOsc::InstanceCount() {
  SharedNoise& shared = Shared();
  std::lock_guard lock(shared.mutex);
  return shared.count;
}

void ZNoiseOsc::Process(const float*, const float*, float* leftOut, float* rightOut, int frames) {
  if (frames <= 0 || amplitude_.size() < 2) return;
  Line amp, pan;
  StartAmplitude(amplitude_, 0, 0, amp);
  Start(pan_, 0, 0, pan);

  int pos = 0;
  while (pos < frames) {
    while (pos >= amp.end) {
      if (amp.next + 1 >= amplitude_.size()) return;
      StartAmplitude(amplitude_, amp.next, pos, amp);
    }
    while (pos >= pan.end) Start(pan_, pan.next, pos, pan);
    const int run = std::min({amp.end, pan.end, frames}) - pos;

    // Held for the run, except where the table starts over.
    const float a0 = amp.At(pos);
    const float p0 = pan.At(pos) * 0.5f + 0.5f;
    float a = a0;
    float p = p0;
    float* left = leftOut + pos;
    float* right = rightOut + pos;
    int j = 0;
    while (j < run) {
      const int count = std::min(run - j, kTableSize - index_);
      const bool wraps = index_ + count == kTableSize;
      // The frame that reads the table's last sample already plays the new values.
      const int before = wraps ? count - 1 : count;
      AddScaled(table_ + index_, before, (1.0f - p) * a, p * a, left + j, right + j);
      if (wraps) {
        const float elapsed = static_cast<float>(j + before);
        a = a0 + amp.slope * elapsed;
        p = p0 + pan.slope * 0.5f * elapsed;
        const float x = table_[kTableSize - 1];
        left[j + before] += (1.0f - p) * x * a;
        right[j + before] += p * x * a;
        index_ = 0;
      } else {
        index_ += count;
      }
      j += count;
    }
    pos += run;
  }
}
