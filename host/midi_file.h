// Standard MIDI File reading (formats 0 and 1) into a flat, time-ordered list
// of channel events, and a small writer for tests and the built-in demo.
// Thread: plain functions and value types; any thread, no shared state.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace zhost {

class MidiFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One channel message (status 0x80..0xEF) at an absolute time.
struct MidiEvent {
  double seconds = 0.0;    // through the tempo map
  std::uint64_t tick = 0;  // absolute, in the file's division
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;   // 0 for one-data-byte messages
  std::uint16_t track = 0;  // index among the file's MTrk chunks
};

// Bytes in a channel message with this status: 2 for program change and
// channel pressure, otherwise 3.
int MidiMessageLength(std::uint8_t status);

struct MidiSequence {
  std::vector<MidiEvent> events;        // by time; ties keep track order, then file order
  std::optional<double> firstTempoBpm;  // the earliest tempo event, if the file has one
  double defaultTempoBpm = 120.0;       // tempo in force before the first tempo event
  std::uint16_t ticksPerQuarter = 480;

  // Time of the last channel event (normally the last note-off); 0 when empty.
  double EndSeconds() const { return events.empty() ? 0.0 : events.back().seconds; }
  // The tempo a host should report while playing the sequence.
  double InitialTempoBpm() const { return firstTempoBpm.value_or(defaultTempoBpm); }
};

// Parses a whole file image. defaultTempoBpm applies until the first tempo
// event (throughout for files without one). Throws MidiFileError on any
// malformed, truncated or unsupported input (format 2, SMPTE division).
MidiSequence ParseMidi(std::span<const std::uint8_t> bytes, double defaultTempoBpm = 120.0);

// Reads and parses a file; MidiFileError messages start with the path.
MidiSequence ReadMidiFile(const std::string& path, double defaultTempoBpm = 120.0);

// Builds a Standard MIDI File: format 0 with one track, format 1 otherwise.
// Events may be added in any order; each track is written in tick order
// (note-offs before other events at the same tick, otherwise in the order
// added) and closed with an end-of-track event.
class MidiFileWriter {
 public:
  explicit MidiFileWriter(std::uint16_t ticksPerQuarter = 480);

  int AddTrack();  // returns the new track's index
  void Tempo(int track, std::uint32_t tick, double bpm);
  void Event(int track, std::uint32_t tick, std::uint8_t status, std::uint8_t data1,
             std::uint8_t data2 = 0);
  // Note-on at tick, note-off (0x80, velocity 0) lengthTicks later.
  void Note(int track, std::uint32_t tick, std::uint32_t lengthTicks, std::uint8_t channel,
            std::uint8_t note, std::uint8_t velocity);

  std::vector<std::uint8_t> Bytes() const;

 private:
  struct Item {
    std::uint32_t tick;
    std::vector<std::uint8_t> bytes;  // status and data, meta events included
  };
  std::vector<Item>& TrackItems(int track);

  std::uint16_t ticksPerQuarter_;
  std::vector<std::vector<Item>> tracks_;
};

}  // namespace zhost
