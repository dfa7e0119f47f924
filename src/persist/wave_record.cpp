#include "persist/wave_record.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/oscillators/wave_set.h"
#include "persist/streams.h"

namespace {

// Far beyond any wave the instrument builds (full scale is 1), and far enough
// below the float range that the transforms of a whole cycle cannot overflow.
constexpr float kMaxSampleMagnitude = 1024.0f;

}  // namespace

void WriteWaveRecord(const WaveSet& set, int lane, Writer& w) {
  const int length = set.length();
  w.WriteFloat(1.0f);
  w.WriteCount(static_cast<std::uint32_t>(length));
  w.WriteInt(set.levelCount());
  const WaveSet::Kind kind = set.kind(lane);
  w.WriteInt(kind);
  if (kind != WaveSet::kUser || length <= 0) return;
  const WaveTables* t = set.tables();
  const bool have = t != nullptr && t->length() == length && t->levels() > 0;
  for (int k = 0; k < length; ++k) w.WriteFloat(have ? t->level(0)[4 * k + lane] : 0.0f);
}

void ReadWaveRecord(WaveSet& set, int lane, Reader& r) {
  r.ReadFloat();  // marker
  const std::uint32_t length = r.ReadCount();
  const std::int32_t levels = r.ReadInt();
  const std::int32_t kind = r.ReadInt();
  if (length > static_cast<std::uint32_t>(WaveSet::kMaxLength) ||
      !WaveSet::ValidSize(static_cast<int>(length), levels)) {
    throw StreamError("a wave record with an impossible size");
  }
  std::vector<float> samples;
  if (kind == WaveSet::kUser) {
    if (static_cast<std::uint64_t>(length) * sizeof(float) > r.Remaining()) {
      throw StreamError("a wave record shorter than its length");
    }
    samples.resize(length);
    for (float& s : samples) {
      s = r.ReadFloat();
      if (!(std::fabs(s) <= kMaxSampleMagnitude)) throw StreamError("a wave sample out of range");
    }
  }
  // Everything is read: from here on nothing can fail half-way.
  if (kind == WaveSet::kUser) {
    set.Resize(static_cast<int>(length), levels);
    set.BuildFromSamples(lane, samples);
  } else if (kind >= WaveSet::kSine && kind <= WaveSet::kSilence) {
    set.Resize(static_cast<int>(length), levels);
    if (set.kind(lane) != kind) set.BuildBuiltIn(lane, static_cast<WaveSet::Kind>(kind));
  }
}
