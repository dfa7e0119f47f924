// WAV output and input through libsndfile: a streaming stereo writer for the
// renderer and a whole-file reader for tests.
// Thread: a WavWriter belongs to one thread; the free functions are reentrant.
#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace zhost {

class WavError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class WavSampleFormat { kPcm16, kPcm24, kFloat32 };

// Writes stereo float frames as they come. PCM output clips at full scale
// instead of wrapping around.
class WavWriter {
 public:
  // Creates or truncates the file; throws WavError with libsndfile's reason.
  WavWriter(const std::string& path, int sampleRate, WavSampleFormat format);
  ~WavWriter();  // closes quietly if Close was not called
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  void Write(const float* left, const float* right, std::size_t frames);
  // Finishes the header; throws WavError if that fails.
  void Close();

  std::int64_t framesWritten() const { return framesWritten_; }
  const std::string& path() const { return path_; }

 private:
  struct Closer {
    void operator()(SNDFILE* file) const { sf_close(file); }
  };
  std::string path_;
  std::unique_ptr<SNDFILE, Closer> file_;
  std::vector<float> interleaved_;
  std::int64_t framesWritten_ = 0;
};

// Writes a whole stereo signal; left and right must have the same length.
void WriteWav(const std::string& path, std::span<const float> left, std::span<const float> right,
              int sampleRate, WavSampleFormat format);

struct WavData {
  int sampleRate = 0;
  std::vector<std::vector<float>> channels;  // one vector per channel, equal lengths
  std::optional<WavSampleFormat> format;     // empty for encodings we do not write

  std::size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
  std::vector<float> Interleaved() const;
};

// Reads any file libsndfile understands as floats in -1..1; throws WavError.
WavData ReadWav(const std::string& path);

}  // namespace zhost
