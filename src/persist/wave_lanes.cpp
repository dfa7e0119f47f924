#include "persist/wave_lanes.h"

#include <vector>

#include "engine/oscillators/wave_set.h"
#include "persist/streams.h"

namespace {
constexpr std::uint32_t kMaxLength = 65536;
}

void WriteWaveLane(const WaveSet& set, int lane, Writer& w) {
  const WaveTables* tables = set.tables();
  const int length = tables != nullptr ? tables->length() : set.length();
  w.WriteFloat(1.0f);
  w.WriteCount(static_cast<std::uint32_t>(length));
  w.WriteInt(tables != nullptr ? tables->levels() : WaveSet::kLevels);
  w.WriteInt(set.kind(lane));
  if (set.kind(lane) == WaveSet::kUser && length > 0) {
    for (int k = 0; k < length; ++k) {
      w.WriteFloat(tables != nullptr ? tables->level(0)[4 * k + lane] : 0.0f);
    }
  }
}

void ReadWaveLane(WaveSet& set, int lane, Reader& r) {
  r.ReadFloat();
  const std::uint32_t length = r.ReadCount();
  r.ReadInt();
  const int kind = r.ReadInt();
  if (kind < WaveSet::kSine || kind > WaveSet::kUser) throw StreamError("unknown wave kind");
  if (kind != WaveSet::kUser) {
    if (kind != set.kind(lane)) set.SetBuiltIn(lane, static_cast<WaveSet::Kind>(kind));
    return;
  }
  if (length == 0 || length > kMaxLength || (length & (length - 1)) != 0) {
    throw StreamError("a user wave's length is not a power of two");
  }
  if (static_cast<std::uint64_t>(length) * 4 > r.Remaining()) throw StreamError("wave past the end");
  std::vector<float> samples(length);
  for (float& s : samples) s = r.ReadFloat();
  set.SetUserSamples(lane, samples);
}
