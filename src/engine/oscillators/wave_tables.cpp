#include "engine/oscillators/wave_tables.h"

#include <array>
#include <cmath>

namespace {

struct LevelLookup {
  std::array<unsigned char, 44100> entries{};
  LevelLookup() {
    for (std::size_t i = 1; i < entries.size(); ++i) {
      const double note = 12.0 * std::log2(static_cast<double>(i) / 220.0) + 57.01;
      const double rounded = std::floor(note + 0.5);  // halves up
      entries[i] = static_cast<unsigned char>(rounded < 0 ? 0 : rounded > 127 ? 127 : rounded);
    }
  }
};

const LevelLookup& Lookup() {
  static const LevelLookup lookup;  // built on first use, thread-safe
  return lookup;
}

}  // namespace

int LevelForFrequencyIndex(int index) {
  if (index <= 0) return 0;
  if (index >= 44100) return 127;
  return Lookup().entries[static_cast<std::size_t>(index)];
}

int LevelForStep(float step, int length, float sampleRate, int levels) {
  if (levels <= 0) return 0;
  if (!(step > 0.0f) || length <= 0) return 0;
  // 88200 / N x step = 88200 x f / sample rate: twice the frequency at 44.1 kHz.
  const double index = 88200.0 / length * step;
  const int top = levels - 1;
  if (index >= 44100.0 || !(sampleRate > 0.0f)) return top;
  const int level = LevelForFrequencyIndex(static_cast<int>(index));
  return level < top ? level : top;
}
