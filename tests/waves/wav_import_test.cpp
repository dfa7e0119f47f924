// WAV import on files written here: the fundamental search and harmonic
// mapping, sample sizes, stereo, long and silent files, and files the import
// does not cover, which leave the lane as it was.
#include "persist/wav_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "engine/oscillators/wave_builder.h"
#include "engine/oscillators/wave_set.h"
#include "support/temp_dir.h"
#include "wave_spectrum.h"

namespace {

struct Tone {
  double bin;  // cycles per 32768 frames
  double amplitude;
};

std::vector<float> Tones(int frames, std::initializer_list<Tone> tones) {
  std::vector<float> x(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    for (const Tone& t : tones) {
      x[static_cast<std::size_t>(i)] += static_cast<float>(
          t.amplitude * std::sin(2.0 * std::numbers::pi * t.bin * i / kRecordingFrames));
    }
  }
  return x;
}

struct Wav {
  int bits = 16;
  int channels = 1;
  int format = 1;
  int formatSize = 16;
  std::vector<float> left, right;
  std::optional<std::uint32_t> fact;
  std::string leading;             // chunks before "fmt "
  std::int64_t dataSizeError = 0;  // added to the true data size
  bool withFormat = true, withData = true;
};

void Put(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
}

std::string Chunk(const char* id, const std::string& body) {
  std::string s(id, 4);
  Put(s, static_cast<std::uint32_t>(body.size()), 4);
  s += body;
  if (body.size() % 2 != 0) s.push_back('\0');
  return s;
}

std::string Bytes(const Wav& w) {
  std::string format;
  Put(format, static_cast<std::uint32_t>(w.format), 2);
  Put(format, static_cast<std::uint32_t>(w.channels), 2);
  Put(format, 44100, 4);
  Put(format, static_cast<std::uint32_t>(44100 * w.channels * w.bits / 8), 4);
  Put(format, static_cast<std::uint32_t>(w.channels * w.bits / 8), 2);
  Put(format, static_cast<std::uint32_t>(w.bits), 2);
  format.resize(static_cast<std::size_t>(w.formatSize), '\0');
  std::string data;
  const double full = std::ldexp(1.0, w.bits - 1) - 1.0;
  for (std::size_t i = 0; i < w.left.size(); ++i) {
    for (int c = 0; c < w.channels; ++c) {
      const double x = c == 1 && !w.right.empty() ? w.right[i] : w.left[i];
      const auto v = static_cast<std::int32_t>(std::lround(x * full));
      Put(data, static_cast<std::uint32_t>(w.bits == 8 ? v + 128 : v), w.bits / 8);
    }
  }
  std::string body = "WAVE" + w.leading;
  if (w.withFormat) body += Chunk("fmt ", format);
  if (w.fact) {
    std::string count;
    Put(count, *w.fact, 4);
    body += Chunk("fact", count);
  }
  if (w.withData) {
    std::string chunk = Chunk("data", data);
    const std::int64_t size = static_cast<std::int64_t>(data.size()) + w.dataSizeError;
    chunk.replace(4, 4, std::string(4, '\0'));
    for (int i = 0; i < 4; ++i)
      chunk[static_cast<std::size_t>(4 + i)] = static_cast<char>(size >> (8 * i) & 0xFF);
    body += chunk;
  }
  std::string riff = "RIFF";
  Put(riff, static_cast<std::uint32_t>(body.size()), 4);
  return riff + body;
}

std::string Save(const TempDir& dir, const std::string& bytes) {
  static int count = 0;
  const std::string path = dir.File(std::to_string(++count).append(".wav"));
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// Partials 1 to 4 of the lane after importing the file.
std::vector<float> Imported(const TempDir& dir, const Wav& w) {
  WaveSet set;
  EXPECT_TRUE(ImportWav(set, 2, Save(dir, Bytes(w))));
  EXPECT_EQ(set.kind(2), WaveSet::kUser);
  std::vector<float> a(4), p(4);
  set.AnalyseLane(2, a, p);
  return a;
}

TEST(WavImport, TheFundamentalAndItsHarmonicsBecomePartials) {
  // Fundamental at bin 100 (f0 = 99): bin 200 goes to partial 2. A tone
  // under a tenth of the largest is no candidate for the fundamental.
  std::vector<float> partials =
      RecordingPartials(Tones(kRecordingFrames, {{40, 0.02}, {100, 0.5}, {200, 0.25}}));
  ASSERT_EQ(partials.size(), 16384u);
  EXPECT_NEAR(partials[0], 0.5f, 0.005f);
  EXPECT_NEAR(partials[1], 0.25f, 0.005f);
  double rest = 0.0;
  for (std::size_t i = 2; i < partials.size(); ++i) rest += partials[i];
  EXPECT_LT(rest, 0.01);
  // Bins 149 and 150 lie past half way to the second harmonic of f0 = 99,
  // bin 148 not: the Hamming main lobe (0.23, 0.54, 0.23) splits.
  partials = RecordingPartials(Tones(kRecordingFrames, {{100, 0.5}, {149, 0.2}}));
  EXPECT_NEAR(partials[0], 0.5f + 0.23f * 0.2f, 0.005f);
  EXPECT_NEAR(partials[1], 0.77f * 0.2f, 0.005f);

  TempDir dir;
  // Full scale is 127, 32767 and 8388607; stereo is the mean of both channels.
  for (int bits : {8, 16, 24}) {
    Wav w;
    w.bits = bits;
    w.channels = 2;
    w.left = {-1.0f, 0.0f, 1.0f, 0.5f};
    w.right = {1.0f, 0.0f, 1.0f, -0.5f};
    EXPECT_EQ(*ReadWavFrames(Save(dir, Bytes(w)), 3), (std::vector<float>{0.0f, 0.0f, 1.0f}))
        << bits;
    w.channels = 1;
    EXPECT_EQ(ReadWavFrames(Save(dir, Bytes(w)), 10)->front(), -1.0f) << bits;
  }

  Wav w;
  w.left = Tones(kRecordingFrames, {{100, 0.5}, {200, 0.25}});
  for (int bits : {8, 16, 24}) {
    w.bits = bits;
    const std::vector<float> a = Imported(dir, w);
    EXPECT_NEAR(a[0], 0.5f, 0.01f) << bits;
    EXPECT_NEAR(a[1], 0.25f, 0.01f) << bits;
    EXPECT_LT(a[2] + a[3], 0.01f) << bits;
  }
  w.bits = 16;
  w.channels = 2;  // the mean of both channels
  w.left = Tones(kRecordingFrames, {{100, 0.8}});
  w.right = Tones(kRecordingFrames, {{100, 0.4}});
  EXPECT_NEAR(Imported(dir, w)[0], 0.6f, 0.01f);

  // Only the first 32768 frames count: a louder, lower tone after them is not heard.
  w.channels = 1;
  w.right.clear();
  w.left = Tones(kRecordingFrames, {{100, 0.5}});
  const std::vector<float> tail = Tones(20000, {{37, 0.9}});
  w.left.insert(w.left.end(), tail.begin(), tail.end());
  std::vector<float> a = Imported(dir, w);
  EXPECT_NEAR(a[0], 0.5f, 0.01f);
  EXPECT_LT(a[1] + a[2], 0.01f);
  EXPECT_EQ(ReadWavFrames(Save(dir, Bytes(w)), kRecordingFrames)->size(), 32768u);

  // The "fact" count rules, but never past the data; odd chunks are skipped.
  w.left = Tones(8000, {{300, 0.5}});
  w.fact = 0;
  EXPECT_LT(Imported(dir, w)[0], 1e-6f);
  w.fact = 1000000;
  w.leading = Chunk("LIST", "odd");
  EXPECT_GT(Imported(dir, w)[0], 0.05f);  // 8000 frames under the window

  // Silence has no fundamental: a silent user wave.
  WaveSet set;
  set.BuildBuiltIn(0, WaveSet::kRamp);
  w = Wav{};
  w.left.assign(5000, 0.0f);
  ASSERT_TRUE(ImportWav(set, 0, Save(dir, Bytes(w))));
  EXPECT_EQ(set.kind(0), WaveSet::kUser);
  for (int level : {0, 64, 127}) EXPECT_EQ(LanePeak(*set.tables(), level, 0), 0.0f);
}

TEST(WavImport, FilesItDoesNotCoverLeaveTheLaneAsItWas) {
  TempDir dir;
  WaveSet set;
  set.BuildBuiltIns({WaveSet::kSine, WaveSet::kRamp, WaveSet::kSquare, WaveSet::kSilence});
  const WaveTables* before = set.tables();
  Wav good;
  good.left = Tones(4000, {{100, 0.5}});
  auto with = [&](auto change) {
    Wav w = good;
    change(w);
    return Bytes(w);
  };
  std::string riffx = Bytes(good);
  riffx[3] = 'X';
  const std::string refused[] = {
      "",
      "RIFF",
      riffx,
      Bytes(good).substr(0, 40),  // cut inside the data chunk header
      with([](Wav& w) { w.bits = 32; }),
      with([](Wav& w) { w.bits = 12; }),
      with([](Wav& w) { w.format = 3, w.bits = 32; }),
      with([](Wav& w) { w.format = 3; }),
      with([](Wav& w) { w.channels = 3; }),
      with([](Wav& w) { w.channels = 0; }),
      with([](Wav& w) { w.dataSizeError = 2; }),
      with([](Wav& w) { w.dataSizeError = 0x7FFFFFFF; }),
      with([](Wav& w) { w.formatSize = 14; }),
      with([](Wav& w) { w.withData = false; }),
      with([](Wav& w) { w.withFormat = false; }),
      with([](Wav& w) { w.leading = "junk\xff\xff\xff\x7f"; }),
  };
  for (const std::string& bytes : refused) {
    const std::string path = Save(dir, bytes);
    EXPECT_FALSE(ReadWavFrames(path, kRecordingFrames).has_value()) << path;
    EXPECT_FALSE(ImportWav(set, 2, path)) << path;
  }
  EXPECT_FALSE(ImportWav(set, 2, dir.File("missing.wav")));
  EXPECT_FALSE(ImportWav(set, 2, dir.path().string()));  // a folder
  EXPECT_EQ(set.tables(), before);
  EXPECT_EQ(set.kind(2), WaveSet::kSquare);
  // The same file done right is taken.
  EXPECT_TRUE(ImportWav(set, 2, Save(dir, Bytes(good))));
  EXPECT_EQ(set.kind(2), WaveSet::kUser);
}

}  // namespace
