#include "render_job.h"

#include <fstream>
#include <iterator>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>

namespace zhost {

std::int64_t EventFrame(double seconds, int sampleRate) {
  return std::llround(seconds * sampleRate);
}

std::int64_t RenderLengthFrames(const MidiSequence& sequence, const RenderSettings& settings) {
  const std::int64_t tail = std::llround(settings.tailSeconds * settings.sampleRate);
  if (sequence.events.empty()) return tail;
  const std::int64_t last = EventFrame(sequence.EndSeconds(), settings.sampleRate);
  return last + std::max<std::int64_t>(tail, 1);
}

EventScheduler::EventScheduler(const MidiSequence& sequence, int sampleRate)
    : sequence_(sequence), sampleRate_(sampleRate) {}

std::vector<MidiMessage> EventScheduler::NextBlock(int frames) {
  std::vector<MidiMessage> block;
  const std::int64_t end = position_ + frames;
  while (next_ < sequence_.events.size()) {
    const MidiEvent& event = sequence_.events[next_];
    const std::int64_t frame = EventFrame(event.seconds, sampleRate_);
    if (frame >= end) break;
    MidiMessage message;
    message.deltaFrames = static_cast<std::int32_t>(std::max<std::int64_t>(frame - position_, 0));
    message.bytes[0] = event.status;
    message.bytes[1] = event.data1;
    message.bytes[2] = event.data2;
    block.push_back(message);
    ++next_;
  }
  position_ = end;
  return block;
}

RenderStats RenderSequence(PluginInstance& plugin, const MidiSequence& sequence,
                           const RenderSettings& settings, const BlockSink& sink,
                           const ProgressCallback& progress) {
  if (settings.sampleRate <= 0 || settings.blockSize <= 0) {
    throw RenderError("sample rate and block size must be positive");
  }
  const std::int64_t total = RenderLengthFrames(sequence, settings);
  plugin.transport().tempo = sequence.InitialTempoBpm();
  plugin.SetPlaying(true);

  EventScheduler scheduler(sequence, settings.sampleRate);
  std::vector<float> left(static_cast<std::size_t>(settings.blockSize));
  std::vector<float> right(left.size());
  RenderStats stats;
  while (stats.frames < total) {
    const int frames =
        static_cast<int>(std::min<std::int64_t>(settings.blockSize, total - stats.frames));
    const std::vector<MidiMessage> events = scheduler.NextBlock(frames);
    if (!events.empty()) plugin.SendMidi(events);
    // Cleared each time so a plug-in that writes nothing yields silence, not stale data.
    std::fill(left.begin(), left.end(), 0.0f);
    std::fill(right.begin(), right.end(), 0.0f);
    plugin.Process(left.data(), right.data(), frames);
    plugin.AdvanceTime(frames);

    for (const std::vector<float>* channel : {&left, &right}) {
      for (int i = 0; i < frames; ++i) {
        const float x = (*channel)[static_cast<std::size_t>(i)];
        if (!std::isfinite(x)) {
          ++stats.nonFinite;
          stats.silent = false;
        } else if (x != 0.0f) {
          stats.silent = false;
          stats.peak = std::max(stats.peak, std::fabs(x));
        }
      }
    }
    sink(left.data(), right.data(), frames);
    stats.frames += frames;
    if (progress) progress(stats.frames, total);
  }
  return stats;
}

ParameterAssignment ParseParameterAssignment(const std::string& text) {
  const std::size_t equals = text.rfind('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
    throw RenderError("--param wants INDEX=VALUE or NAME=VALUE, not '" + text + "'");
  }
  const std::string valueText = text.substr(equals + 1);
  char* end = nullptr;
  const float value = std::strtof(valueText.c_str(), &end);
  if (end != valueText.c_str() + valueText.size() || !(value >= 0.0f && value <= 1.0f)) {
    throw RenderError("parameter value '" + valueText + "' is not a number in 0..1");
  }
  return {text.substr(0, equals), value};
}

double RenderReport::PeakDbfs() const {
  if (stats.peak <= 0.0f) return -std::numeric_limits<double>::infinity();
  return 20.0 * std::log10(static_cast<double>(stats.peak));
}

double RenderReport::RealTimeFactor() const {
  return wallSeconds > 0.0 ? AudioSeconds() / wallSeconds : std::numeric_limits<double>::infinity();
}

RenderJob::RenderJob(RenderJobOptions options)
    : options_(std::move(options)), library_(options_.pluginPath), instance_(library_) {
  instance_.Start(options_.settings.sampleRate, options_.settings.blockSize);
  if (!options_.stateInPath.empty()) {
    std::ifstream in(options_.stateInPath, std::ios::binary);
    if (!in) throw RenderError("cannot read " + options_.stateInPath);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) throw RenderError(options_.stateInPath + " is empty");
    instance_.Dispatch(vst2::effSetChunk, 0, static_cast<vst2::VstIntPtr>(bytes.size()), bytes.data());
  }
  for (const ParameterAssignment& assignment : options_.parameters) {
    const std::string& target = assignment.target;
    int index = -1;
    if (!target.empty() &&
        std::all_of(target.begin(), target.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      index = target.size() <= 9 ? std::stoi(target) : -1;
      if (index < 0 || index >= instance_.NumParams()) {
        throw RenderError("parameter index " + target + " is out of range (the plug-in has " +
                          std::to_string(instance_.NumParams()) + ")");
      }
    } else {
      index = instance_.FindParameter(target);
      if (index < 0) {
        throw RenderError("the plug-in has no parameter named '" + target +
                          "' (see --list-params)");
      }
    }
    instance_.SetParameter(index, assignment.value);
  }
}

void RenderJob::SaveState(const std::string& path) {
  void* data = nullptr;
  const auto size = instance_.Dispatch(vst2::effGetChunk, 0, 0, &data);
  if (size <= 0 || data == nullptr) throw RenderError("the plug-in gave no state to save");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) throw RenderError("cannot write " + path);
}

std::vector<ParameterInfo> RenderJob::Parameters() {
  std::vector<ParameterInfo> parameters;
  for (int i = 0; i < instance_.NumParams(); ++i) {
    parameters.push_back({i, instance_.ParameterName(i), instance_.GetParameter(i)});
  }
  return parameters;
}

RenderReport RenderJob::Render(const MidiSequence& sequence, const ProgressCallback& progress) {
  const RenderSettings& settings = options_.settings;
  WavWriter writer(options_.outputPath, settings.sampleRate, options_.format);
  std::vector<float> cleanLeft, cleanRight;
  const auto sink = [&](const float* left, const float* right, int frames) {
    const auto n = static_cast<std::size_t>(frames);
    const auto finite = [](const float* x, std::size_t count) {
      return std::all_of(x, x + count, [](float v) { return std::isfinite(v); });
    };
    if (finite(left, n) && finite(right, n)) {
      writer.Write(left, right, n);
      return;
    }
    const auto clean = [](float v) { return std::isfinite(v) ? v : 0.0f; };
    cleanLeft.resize(n);
    cleanRight.resize(n);
    std::transform(left, left + n, cleanLeft.begin(), clean);
    std::transform(right, right + n, cleanRight.begin(), clean);
    writer.Write(cleanLeft.data(), cleanRight.data(), n);
  };

  RenderReport report;
  report.outputPath = options_.outputPath;
  report.sampleRate = settings.sampleRate;
  try {
    const auto start = std::chrono::steady_clock::now();
    report.stats = RenderSequence(instance_, sequence, settings, sink, progress);
    report.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    writer.Close();
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(options_.outputPath, ignored);
    throw;
  }
  return report;
}

}  // namespace zhost
