#include "persist/wav_import.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/oscillators/wave_builder.h"
#include "engine/oscillators/wave_set.h"
#include "persist/streams.h"

namespace {

constexpr std::uint16_t kFloatFormat = 3;

std::uint16_t U16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t U32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Reads that never go past the end of the bytes.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t size() const = 0;
  virtual bool Read(std::uint64_t offset, void* out, std::size_t count) = 0;
};

// A file read in the parts asked for: a long recording is never loaded whole.
class ByteFile : public ByteSource {
 public:
  explicit ByteFile(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {
    if (file_ && std::fseek(file_.get(), 0, SEEK_END) == 0) {
      const long end = std::ftell(file_.get());
      size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
  }
  bool isOpen() const { return file_ != nullptr; }
  std::uint64_t size() const override { return size_; }
  bool Read(std::uint64_t offset, void* out, std::size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) return false;
    return std::fread(out, 1, count, file_.get()) == count;
  }

 private:
  FilePtr file_;
  std::uint64_t size_ = 0;
};

class ByteSpan : public ByteSource {
 public:
  explicit ByteSpan(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, void* out, std::size_t count) override {
    if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
    if (count > 0) std::memcpy(out, bytes_.data() + offset, count);
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

float Sample(const unsigned char* p, int bits) {
  switch (bits) {
    case 8:
      return static_cast<float>(static_cast<int>(p[0]) - 128) / 127.0f;
    case 16:
      return static_cast<float>(static_cast<std::int16_t>(U16(p))) / 32767.0f;
    default: {  // 24: sign-extend three little-endian bytes
      std::int32_t v = p[0] | p[1] << 8 | p[2] << 16;
      if ((v & 0x800000) != 0) v -= 0x1000000;
      return static_cast<float>(v) / 8388607.0f;
    }
  }
}

std::optional<std::vector<float>> ReadFrames(ByteSource& file, std::size_t maxFrames) {
  unsigned char header[12];
  if (!file.Read(0, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
      std::memcmp(header + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }

  bool haveFormat = false, haveData = false, haveFact = false;
  std::uint16_t format = 0, channels = 0, bits = 0;
  std::uint32_t factFrames = 0;
  std::uint64_t dataAt = 0, dataSize = 0;
  // The chunk list runs to the end of the file, whatever the RIFF size says.
  std::uint64_t at = sizeof header;
  while (file.size() - at >= 8) {
    unsigned char chunk[16];
    if (!file.Read(at, chunk, 8)) return std::nullopt;
    const std::uint32_t size = U32(chunk + 4);
    const std::uint64_t body = at + 8;
    if (size > file.size() - body) return std::nullopt;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (size < 16 || !file.Read(body, chunk, 16)) return std::nullopt;
      format = U16(chunk);
      channels = U16(chunk + 2);
      bits = U16(chunk + 14);
      haveFormat = true;
    } else if (std::memcmp(chunk, "fact", 4) == 0) {
      if (size < 4 || !file.Read(body, chunk, 4)) return std::nullopt;
      factFrames = U32(chunk);
      haveFact = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      dataAt = body;
      dataSize = size;
      haveData = true;
    }
    at = body + size + (size & 1u);  // chunks are word-aligned
    if (at > file.size()) break;
  }
  if (!haveFormat || !haveData || format == kFloatFormat || channels < 1 || channels > 2 ||
      (bits != 8 && bits != 16 && bits != 24)) {
    return std::nullopt;
  }

  const std::size_t bytes = bits / 8u;
  const std::size_t frameBytes = channels * bytes;
  const std::uint64_t stored = dataSize / frameBytes;
  // A "fact" count may claim more than the data holds: never read past it.
  const std::uint64_t frames =
      std::min<std::uint64_t>({haveFact ? factFrames : stored, stored, maxFrames});
  std::vector<unsigned char> raw(static_cast<std::size_t>(frames) * frameBytes);
  if (!file.Read(dataAt, raw.data(), raw.size())) return std::nullopt;
  std::vector<float> mono(static_cast<std::size_t>(frames));
  for (std::size_t i = 0; i < mono.size(); ++i) {
    const unsigned char* p = raw.data() + i * frameBytes;
    mono[i] = channels == 1 ? Sample(p, bits) : 0.5f * (Sample(p, bits) + Sample(p + bytes, bits));
  }
  return mono;
}

bool BuildLane(WaveSet& set, int lane, const std::optional<std::vector<float>>& frames) {
  if (!frames || lane < 0 || lane >= WaveSet::kLanes) return false;
  set.BuildFromPartials(lane, RecordingPartials(*frames));
  return true;
}

}  // namespace

std::optional<std::vector<float>> ReadWavFrames(const std::string& path, std::size_t maxFrames) {
  ByteFile file(path);
  if (!file.isOpen()) return std::nullopt;
  return ReadFrames(file, maxFrames);
}

std::optional<std::vector<float>> ReadWavFrames(std::span<const std::uint8_t> bytes,
                                                std::size_t maxFrames) {
  ByteSpan source(bytes);
  return ReadFrames(source, maxFrames);
}

bool ImportWav(WaveSet& set, int lane, const std::string& path) {
  return BuildLane(set, lane, ReadWavFrames(path, kRecordingFrames));
}

bool ImportWav(WaveSet& set, int lane, std::span<const std::uint8_t> bytes) {
  return BuildLane(set, lane, ReadWavFrames(bytes, kRecordingFrames));
}
