// The one-wave record: user waves round-trip, built-in lanes are rebuilt only
// when their kind changes, and impossible records change nothing.
#include "persist/wave_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/oscillators/wave_set.h"
#include "persist/streams.h"
#include "wave_spectrum.h"

namespace {

std::string Record(float marker, std::uint32_t length, std::int32_t levels, std::int32_t kind,
                   std::size_t samples = 0) {
  std::string bytes;
  StringWriter w(bytes);
  w.WriteFloat(marker);
  w.WriteCount(length);
  w.WriteInt(levels);
  w.WriteInt(kind);
  for (std::size_t k = 0; k < samples; ++k)
    w.WriteFloat(0.5f * std::sin(0.01f * static_cast<float>(k)));
  return bytes;
}

// The record with sample k replaced.
std::string WithSample(std::string record, std::size_t k, float value) {
  std::string bytes;
  StringWriter w(bytes);
  w.WriteFloat(value);
  record.replace(16 + 4 * k, 4, bytes);
  return record;
}

void Read(WaveSet& set, int lane, const std::string& bytes) {
  StringReader r(bytes.data(), bytes.size());
  ReadWaveRecord(set, lane, r);
  EXPECT_EQ(r.Remaining(), 0u);
}

TEST(WaveRecord, UserWavesRoundTripAndBuiltInsAreKeptWhenTheirKindIsUnchanged) {
  WaveSet from;
  from.BuildBuiltIns({WaveSet::kRamp, WaveSet::kSilence, WaveSet::kSquare, WaveSet::kSilence});
  std::vector<float> partials(256);
  for (std::size_t i = 0; i < partials.size(); ++i) partials[i] = 1.0f / static_cast<float>(i + 1);
  from.BuildFromPartials(1, partials);

  std::string user, ramp;
  StringWriter toUser(user), toRamp(ramp);
  WriteWaveRecord(from, 1, toUser);
  WriteWaveRecord(from, 0, toRamp);
  EXPECT_EQ(user.size(), 16u + 4u * 4096u);
  EXPECT_EQ(ramp.size(), 16u);  // built-ins carry no samples

  WaveSet to;
  to.BuildBuiltIns({WaveSet::kRamp, WaveSet::kSilence, WaveSet::kSquare, WaveSet::kSilence});
  const WaveTables* before = to.tables();
  Read(to, 0, ramp);
  EXPECT_EQ(to.tables(), before);  // same kind: not rebuilt
  Read(to, 3, user);
  EXPECT_EQ(to.kind(3), WaveSet::kUser);
  // Table 0 comes back exactly, every other level as band-limited as before.
  EXPECT_EQ(LaneCycle(*to.tables(), 0, 3), LaneCycle(*from.tables(), 0, 1));
  for (int level : {1, 40, 80, 110, 127}) {
    const std::vector<float> a = LaneCycle(*to.tables(), level, 3),
                             b = LaneCycle(*from.tables(), level, 1);
    float apart = 0.0f;
    for (std::size_t k = 0; k < a.size(); ++k) apart = std::max(apart, std::fabs(a[k] - b[k]));
    EXPECT_LT(apart, 1e-5f) << level;
  }
  Read(to, 2, ramp);  // a new kind for the lane: rebuilt
  EXPECT_EQ(to.kind(2), WaveSet::kRamp);
  EXPECT_NEAR(LaneSpectrum(*to.tables(), 60, 2)[2], 0.5, 1e-4);

  // An external table with the kinds left alone: a matching built-in record
  // does not touch it either.
  WaveSet raw;
  auto tables = std::make_unique<WaveTables>(4096, 128);
  tables->mutableLevel(5)[4 * 7 + 1] = 0.75f;
  raw.Publish(std::move(tables));
  Read(raw, 1, Record(1.0f, 4096, 128, WaveSet::kSilence));
  EXPECT_EQ(raw.tables()->level(5)[4 * 7 + 1], 0.75f);

  // Another cycle length resizes the set; an unknown kind changes nothing.
  Read(to, 1, Record(1.0f, 2048, 128, WaveSet::kUser, 2048));
  EXPECT_EQ(to.length(), 2048);
  EXPECT_EQ(to.tables()->length(), 2048);
  EXPECT_NEAR(LaneSpectrum(*to.tables(), 60, 0)[2], 0.5, 1e-4);  // the ramp at the new length
  before = to.tables();
  Read(to, 1, Record(1.0f, 4096, 128, 9));
  EXPECT_EQ(to.tables(), before);
  EXPECT_EQ(to.kind(1), WaveSet::kUser);
}

TEST(WaveRecord, ImpossibleRecordsAreRefusedAndChangeNothing) {
  WaveSet set;
  set.BuildBuiltIns({WaveSet::kRamp, WaveSet::kSilence, WaveSet::kSquare, WaveSet::kSilence});
  set.BuildFromPartials(1, std::vector<float>{0.5f, 0.25f, 0.0f});
  const WaveTables* before = set.tables();
  const std::string refused[] = {
      Record(1.0f, 3, 128, WaveSet::kUser, 3),
      Record(1.0f, 0, 128, WaveSet::kRamp),
      Record(1.0f, 131072, 128, WaveSet::kSine),
      Record(1.0f, 0x80000000u, 128, WaveSet::kUser),
      Record(1.0f, 4096, 0, WaveSet::kUser, 4096),
      Record(1.0f, 4096, 129, WaveSet::kSquare),
      Record(1.0f, 4096, -1, WaveSet::kSquare),
      Record(1.0f, 4096, 128, WaveSet::kUser, 4095),
      Record(1.0f, 4096, 128, WaveSet::kUser).substr(0, 10),
      // Samples no wave holds: the transforms would overflow into the tables.
      WithSample(Record(1.0f, 512, 128, WaveSet::kUser, 512), 179, -1.0e15f),
      WithSample(Record(1.0f, 512, 128, WaveSet::kUser, 512), 511, 2.0e35f),
      WithSample(Record(1.0f, 64, 128, WaveSet::kUser, 64), 0, INFINITY),
      WithSample(Record(1.0f, 64, 128, WaveSet::kUser, 64), 5, NAN),
  };
  for (const std::string& bytes : refused) {
    for (int lane : {0, 1, 3}) {
      StringReader r(bytes.data(), bytes.size());
      EXPECT_THROW(ReadWaveRecord(set, lane, r), StreamError) << lane;
    }
  }
  EXPECT_EQ(set.tables(), before);
  EXPECT_EQ(set.length(), 4096);
  EXPECT_EQ(set.levelCount(), 128);
  EXPECT_EQ(set.kind(0), WaveSet::kRamp);
  EXPECT_EQ(set.kind(1), WaveSet::kUser);
  EXPECT_EQ(set.kind(3), WaveSet::kSilence);
}

}  // namespace
