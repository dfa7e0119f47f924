// Offline rendering of a MIDI sequence through a VST 2 instrument: event
// scheduling into blocks, the render loop, and the whole job behind
// zelvane-render (load, start, set parameters, render to WAV, measure).
// Thread: everything here runs on the caller's thread; one job per thread.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "midi_file.h"
#include "plugin_host.h"
#include "wav_file.h"

namespace zhost {

class RenderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct RenderSettings {
  int sampleRate = 44100;
  int blockSize = 512;
  double tailSeconds = 2.0;  // rendered after the last event
};

// The frame an event at this time falls on.
std::int64_t EventFrame(double seconds, int sampleRate);

// Frames a render of the sequence lasts: up to the last event's frame plus
// the tail; at least one frame past the last event so it is delivered.
std::int64_t RenderLengthFrames(const MidiSequence& sequence, const RenderSettings& settings);

// Hands out a sequence's events block by block, each with its frame offset
// inside the block. Blocks are consecutive from frame 0.
class EventScheduler {
 public:
  EventScheduler(const MidiSequence& sequence, int sampleRate);
  // The events falling in the next `frames` frames, in sequence order.
  std::vector<MidiMessage> NextBlock(int frames);
  std::int64_t position() const { return position_; }

 private:
  const MidiSequence& sequence_;
  int sampleRate_;
  std::size_t next_ = 0;
  std::int64_t position_ = 0;
};

struct RenderStats {
  std::int64_t frames = 0;
  float peak = 0.0f;           // largest finite |sample|
  std::int64_t nonFinite = 0;  // NaN or infinite samples
  bool silent = true;          // every sample exactly zero
};

// Receives each rendered block; the pointers are valid during the call only.
using BlockSink = std::function<void(const float* left, const float* right, int frames)>;
using ProgressCallback = std::function<void(std::int64_t framesDone, std::int64_t framesTotal)>;

// Plays the sequence through a started instance (Start(settings.sampleRate,
// settings.blockSize) already called): events before the block they fall in,
// transport playing at the sequence's tempo, time advanced after each block.
RenderStats RenderSequence(PluginInstance& plugin, const MidiSequence& sequence,
                           const RenderSettings& settings, const BlockSink& sink,
                           const ProgressCallback& progress = {});

// A --param assignment: target is a parameter index in decimal or a name as
// the plug-in reports it; value is normalised 0..1.
struct ParameterAssignment {
  std::string target;
  float value = 0.0f;
};
// Parses "INDEX=VALUE" or "NAME=VALUE" (split at the last '='); throws RenderError.
ParameterAssignment ParseParameterAssignment(const std::string& text);

struct ParameterInfo {
  int index;
  std::string name;
  float value;
};

struct RenderJobOptions {
  std::string pluginPath;
  std::string outputPath = "demo.wav";
  RenderSettings settings;
  WavSampleFormat format = WavSampleFormat::kPcm24;
  std::vector<ParameterAssignment> parameters;  // applied in order after start-up
  // A state chunk (or a file the plug-in accepts as one, such as a patch
  // file) handed over before the parameters; empty: none.
  std::string stateInPath;
  // Where the plug-in's state chunk goes after the render; empty: nowhere.
  std::string stateOutPath;
};

struct RenderReport {
  std::string outputPath;
  int sampleRate = 0;
  RenderStats stats;
  double wallSeconds = 0.0;

  double AudioSeconds() const { return sampleRate > 0 ? double(stats.frames) / sampleRate : 0.0; }
  double PeakDbfs() const;        // -infinity when silent
  double RealTimeFactor() const;  // audio seconds per wall-clock second
};

// One plug-in instance set up for rendering. The constructor loads the
// library, starts the instance and applies the parameters; it throws
// HostError or RenderError.
class RenderJob {
 public:
  explicit RenderJob(RenderJobOptions options);
  RenderJob(const RenderJob&) = delete;
  RenderJob& operator=(const RenderJob&) = delete;

  std::vector<ParameterInfo> Parameters();
  // Writes the plug-in's current state chunk to path; throws RenderError.
  void SaveState(const std::string& path);
  // Renders into options.outputPath; non-finite samples are written as 0.
  // Throws WavError (the partial file is removed).
  RenderReport Render(const MidiSequence& sequence, const ProgressCallback& progress = {});

  PluginInstance& plugin() { return instance_; }

 private:
  RenderJobOptions options_;
  PluginLibrary library_;
  PluginInstance instance_;
};

}  // namespace zhost
