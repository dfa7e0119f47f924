#include "wav_file.h"

#include <algorithm>

namespace zhost {
namespace {

constexpr std::size_t kChunkFrames = 4096;

int SubtypeOf(WavSampleFormat format) {
  switch (format) {
    case WavSampleFormat::kPcm16:
      return SF_FORMAT_PCM_16;
    case WavSampleFormat::kPcm24:
      return SF_FORMAT_PCM_24;
    case WavSampleFormat::kFloat32:
      return SF_FORMAT_FLOAT;
  }
  throw std::invalid_argument("unknown WAV sample format");
}

}  // namespace

WavWriter::WavWriter(const std::string& path, int sampleRate, WavSampleFormat format)
    : path_(path) {
  if (sampleRate <= 0) throw WavError(path + ": sample rate must be positive");
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SubtypeOf(format);
  if (!sf_format_check(&info)) throw WavError(path + ": libsndfile refuses this WAV format");
  file_.reset(sf_open(path.c_str(), SFM_WRITE, &info));
  if (!file_) throw WavError("cannot write " + path + ": " + sf_strerror(nullptr));
  // Otherwise samples beyond full scale wrap round to the opposite sign.
  sf_command(file_.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

WavWriter::~WavWriter() = default;

void WavWriter::Write(const float* left, const float* right, std::size_t frames) {
  if (!file_) throw WavError(path_ + ": write after close");
  while (frames > 0) {
    const std::size_t n = std::min(frames, kChunkFrames);
    interleaved_.resize(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
      interleaved_[2 * i] = left[i];
      interleaved_[2 * i + 1] = right[i];
    }
    const sf_count_t written =
        sf_writef_float(file_.get(), interleaved_.data(), static_cast<sf_count_t>(n));
    if (written != static_cast<sf_count_t>(n)) {
      throw WavError("cannot write " + path_ + ": " + sf_strerror(file_.get()));
    }
    framesWritten_ += written;
    left += n;
    right += n;
    frames -= n;
  }
}

void WavWriter::Close() {
  if (!file_) return;
  const int error = sf_close(file_.release());
  if (error != 0) throw WavError("cannot finish " + path_ + ": " + sf_error_number(error));
}

void WriteWav(const std::string& path, std::span<const float> left, std::span<const float> right,
              int sampleRate, WavSampleFormat format) {
  if (left.size() != right.size()) {
    throw std::invalid_argument("left and right channels differ in length");
  }
  WavWriter writer(path, sampleRate, format);
  writer.Write(left.data(), right.data(), left.size());
  writer.Close();
}

std::vector<float> WavData::Interleaved() const {
  std::vector<float> out;
  out.reserve(frames() * channels.size());
  for (std::size_t i = 0; i < frames(); ++i) {
    for (const auto& channel : channels) out.push_back(channel[i]);
  }
  return out;
}

WavData ReadWav(const std::string& path) {
  SF_INFO info{};
  std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(sf_open(path.c_str(), SFM_READ, &info),
                                                   &sf_close);
  if (!file) throw WavError("cannot read " + path + ": " + sf_strerror(nullptr));
  if (info.channels <= 0) throw WavError(path + ": no channels");

  WavData data;
  data.sampleRate = info.samplerate;
  if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV) {
    switch (info.format & SF_FORMAT_SUBMASK) {
      case SF_FORMAT_PCM_16:
        data.format = WavSampleFormat::kPcm16;
        break;
      case SF_FORMAT_PCM_24:
        data.format = WavSampleFormat::kPcm24;
        break;
      case SF_FORMAT_FLOAT:
        data.format = WavSampleFormat::kFloat32;
        break;
      default:
        break;
    }
  }
  const auto channels = static_cast<std::size_t>(info.channels);
  data.channels.resize(channels);
  // Read in chunks rather than trusting the header's frame count.
  std::vector<float> buffer(kChunkFrames * channels);
  for (;;) {
    const sf_count_t got =
        sf_readf_float(file.get(), buffer.data(), static_cast<sf_count_t>(kChunkFrames));
    if (got <= 0) break;
    for (sf_count_t i = 0; i < got; ++i) {
      for (std::size_t c = 0; c < channels; ++c) {
        data.channels[c].push_back(buffer[static_cast<std::size_t>(i) * channels + c]);
      }
    }
  }
  if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
    throw WavError("cannot read " + path + ": " + sf_strerror(file.get()));
  }
  return data;
}

}  // namespace zhost
