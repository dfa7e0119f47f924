#include "midi_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace zhost {
namespace {

// MIDI files are small; anything bigger is almost certainly not one.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
  return text;
}

// Bounds-checked big-endian cursor over part of the file. Offsets in error
// messages are from the start of the file.
class Cursor {
 public:
  Cursor(std::span<const std::uint8_t> bytes, std::size_t fileOffset, std::string where)
      : bytes_(bytes), fileOffset_(fileOffset), where_(std::move(where)) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }
  std::size_t Remaining() const { return bytes_.size() - pos_; }
  std::size_t FileOffset() const { return fileOffset_ + pos_; }

  [[noreturn]] void Fail(const std::string& what) const {
    throw MidiFileError(what + " (" + where_ + ", byte " + std::to_string(FileOffset()) + ")");
  }

  void Require(std::size_t count, const char* what) const {
    if (count > Remaining()) Fail(std::string("truncated ") + what);
  }
  std::uint8_t Peek(const char* what) const {
    Require(1, what);
    return bytes_[pos_];
  }
  std::uint8_t Byte(const char* what) {
    Require(1, what);
    return bytes_[pos_++];
  }
  std::uint32_t Be(int count, const char* what) {
    Require(static_cast<std::size_t>(count), what);
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | bytes_[pos_++];
    return value;
  }
  // Variable-length quantity: at most 4 bytes, 28 bits.
  std::uint32_t Vlq(const char* what) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint8_t b = Byte(what);
      value = (value << 7) | (b & 0x7Fu);
      if ((b & 0x80u) == 0) return value;
    }
    Fail(std::string(what) + " is longer than 4 bytes");
  }
  std::span<const std::uint8_t> Take(std::size_t count, const char* what) {
    Require(count, what);
    auto part = bytes_.subspan(pos_, count);
    pos_ += count;
    return part;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t fileOffset_;
  std::string where_;
  std::size_t pos_ = 0;
};

struct TempoEvent {
  std::uint64_t tick;
  std::uint32_t microsPerQuarter;
};

void ParseTrack(Cursor& in, std::uint16_t track, std::vector<MidiEvent>& events,
                std::vector<TempoEvent>& tempos) {
  std::uint64_t tick = 0;
  std::uint8_t running = 0;
  while (!in.AtEnd()) {
    tick += in.Vlq("delta time");
    const std::uint8_t first = in.Peek("event");
    std::uint8_t status = running;
    if (first & 0x80u) {
      status = in.Byte("event");
    } else if (running == 0) {
      in.Fail("data byte " + Hex(first) + " with no running status");
    }

    if (status < 0xF0) {
      // Meta and sysex events leave running status alone: the standard says
      // they cancel it, but files that rely on it exist and mean the obvious.
      running = status;
      MidiEvent event;
      event.tick = tick;
      event.track = track;
      event.status = status;
      event.data1 = in.Byte("channel message");
      if (MidiMessageLength(status) == 3) event.data2 = in.Byte("channel message");
      if ((event.data1 | event.data2) & 0x80u) {
        in.Fail("status byte inside the data of a " + Hex(status) + " message");
      }
      events.push_back(event);
    } else if (status == 0xFF) {
      const std::uint8_t type = in.Byte("meta event");
      const std::uint32_t length = in.Vlq("meta event length");
      const auto data = in.Take(length, "meta event");
      if (type == 0x2F) return;  // end of track; whatever follows in the chunk is ignored
      if (type == 0x51) {
        if (length != 3) in.Fail("tempo event of length " + std::to_string(length));
        const std::uint32_t micros = (std::uint32_t{data[0]} << 16) | (data[1] << 8) | data[2];
        if (micros == 0) in.Fail("tempo of zero microseconds per quarter note");
        tempos.push_back({tick, micros});
      }
    } else if (status == 0xF0 || status == 0xF7) {
      const std::uint32_t length = in.Vlq("sysex length");
      in.Take(length, "sysex event");
    } else {
      in.Fail("status byte " + Hex(status) + " cannot appear in a MIDI file");
    }
  }
}

// Converts ticks to seconds. Events and tempos are sorted by tick.
void ApplyTempoMap(std::vector<MidiEvent>& events, const std::vector<TempoEvent>& tempos,
                   double defaultTempoBpm, std::uint16_t ticksPerQuarter) {
  double segmentSeconds = 0.0;
  std::uint64_t segmentTick = 0;
  double secondsPerTick = 60.0 / (defaultTempoBpm * ticksPerQuarter);
  std::size_t next = 0;
  for (MidiEvent& event : events) {
    while (next < tempos.size() && tempos[next].tick <= event.tick) {
      segmentSeconds += static_cast<double>(tempos[next].tick - segmentTick) * secondsPerTick;
      segmentTick = tempos[next].tick;
      secondsPerTick = tempos[next].microsPerQuarter * 1e-6 / ticksPerQuarter;
      ++next;
    }
    event.seconds = segmentSeconds + static_cast<double>(event.tick - segmentTick) * secondsPerTick;
  }
}

void PutBe(std::vector<std::uint8_t>& out, std::uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutVlq(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = value & 0x7Fu;
    value >>= 7;
  } while (value != 0);
  while (n > 1) out.push_back(groups[--n] | 0x80u);
  out.push_back(groups[0]);
}

}  // namespace

int MidiMessageLength(std::uint8_t status) {
  const std::uint8_t kind = status & 0xF0u;
  return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
}

MidiSequence ParseMidi(std::span<const std::uint8_t> bytes, double defaultTempoBpm) {
  if (!(defaultTempoBpm > 0.0) || !std::isfinite(defaultTempoBpm)) {
    throw std::invalid_argument("default tempo must be a positive number of BPM");
  }
  constexpr std::uint8_t kMagic[] = {'M', 'T', 'h', 'd'};
  if (bytes.size() < 4 || !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) {
    throw MidiFileError("not a Standard MIDI File: it does not start with MThd");
  }
  Cursor file(bytes.subspan(4), 4, "file");
  const std::uint32_t headerLength = file.Be(4, "file header");
  if (headerLength < 6) file.Fail("header chunk of " + std::to_string(headerLength) + " bytes");
  Cursor header(file.Take(headerLength, "file header"), 8, "file header");
  const std::uint16_t format = static_cast<std::uint16_t>(header.Be(2, "file header"));
  const std::uint16_t trackCount = static_cast<std::uint16_t>(header.Be(2, "file header"));
  const std::uint16_t division = static_cast<std::uint16_t>(header.Be(2, "file header"));
  if (format == 2) {
    throw MidiFileError("format 2 MIDI files (independent patterns) are not supported");
  }
  if (format > 2) throw MidiFileError("unknown MIDI file format " + std::to_string(format));
  if (trackCount == 0) throw MidiFileError("the MIDI file declares no tracks");
  if (format == 0 && trackCount != 1) {
    throw MidiFileError("format 0 MIDI file declares " + std::to_string(trackCount) + " tracks");
  }
  if (division & 0x8000u) throw MidiFileError("SMPTE time division is not supported");
  if (division == 0) throw MidiFileError("the MIDI file has a division of 0 ticks per quarter");

  MidiSequence sequence;
  sequence.defaultTempoBpm = defaultTempoBpm;
  sequence.ticksPerQuarter = division;
  std::vector<TempoEvent> tempos;

  std::uint16_t tracksRead = 0;
  while (tracksRead < trackCount) {
    if (file.AtEnd()) {
      throw MidiFileError("the file ends after " + std::to_string(tracksRead) + " of " +
                          std::to_string(trackCount) + " tracks");
    }
    const std::size_t chunkStart = file.FileOffset();
    const auto chunkId = file.Take(4, "chunk header");
    const std::uint32_t length = file.Be(4, "chunk header");
    if (length > file.Remaining()) {
      throw MidiFileError("chunk at byte " + std::to_string(chunkStart) + " claims " +
                          std::to_string(length) + " bytes but only " +
                          std::to_string(file.Remaining()) + " follow");
    }
    const std::size_t dataStart = file.FileOffset();
    const auto data = file.Take(length, "chunk");
    // Chunks of other types are allowed and skipped.
    if (!std::equal(chunkId.begin(), chunkId.end(), "MTrk")) continue;
    Cursor track(data, dataStart, "track " + std::to_string(tracksRead));
    ParseTrack(track, tracksRead, sequence.events, tempos);
    ++tracksRead;
  }

  const auto byTick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
  std::stable_sort(sequence.events.begin(), sequence.events.end(), byTick);
  std::stable_sort(tempos.begin(), tempos.end(), byTick);
  ApplyTempoMap(sequence.events, tempos, defaultTempoBpm, division);
  if (!tempos.empty()) {
    // Of several tempos at the earliest tick the last one is the one in force.
    auto first = tempos.begin();
    while (std::next(first) != tempos.end() && std::next(first)->tick == first->tick) ++first;
    sequence.firstTempoBpm = 60e6 / first->microsPerQuarter;
  }
  return sequence;
}

MidiSequence ReadMidiFile(const std::string& path, double defaultTempoBpm) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw MidiFileError(path + ": cannot open the file");
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) throw MidiFileError(path + ": cannot read the file");
  if (static_cast<std::uintmax_t>(size) > kMaxFileBytes) {
    throw MidiFileError(path + ": too large for a MIDI file");
  }
  in.seekg(0, std::ios::beg);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
    throw MidiFileError(path + ": cannot read the file");
  }
  try {
    return ParseMidi(bytes, defaultTempoBpm);
  } catch (const MidiFileError& e) {
    throw MidiFileError(path + ": " + e.what());
  }
}

MidiFileWriter::MidiFileWriter(std::uint16_t ticksPerQuarter) : ticksPerQuarter_(ticksPerQuarter) {
  if (ticksPerQuarter == 0 || (ticksPerQuarter & 0x8000u)) {
    throw std::invalid_argument("ticks per quarter must be in 1..32767");
  }
}

int MidiFileWriter::AddTrack() {
  tracks_.emplace_back();
  return static_cast<int>(tracks_.size()) - 1;
}

std::vector<MidiFileWriter::Item>& MidiFileWriter::TrackItems(int track) {
  if (track < 0 || track >= static_cast<int>(tracks_.size())) {
    throw std::out_of_range("no MIDI track " + std::to_string(track));
  }
  return tracks_[static_cast<std::size_t>(track)];
}

void MidiFileWriter::Tempo(int track, std::uint32_t tick, double bpm) {
  const double micros = std::round(60e6 / bpm);
  if (!(micros >= 1.0 && micros <= 0xFFFFFF)) throw std::invalid_argument("tempo out of range");
  std::vector<std::uint8_t> bytes = {0xFF, 0x51, 0x03};
  PutBe(bytes, static_cast<std::uint32_t>(micros), 3);
  TrackItems(track).push_back({tick, std::move(bytes)});
}

void MidiFileWriter::Event(int track, std::uint32_t tick, std::uint8_t status, std::uint8_t data1,
                           std::uint8_t data2) {
  if (status < 0x80 || status >= 0xF0 || (data1 | data2) & 0x80u) {
    throw std::invalid_argument("not a channel message");
  }
  std::vector<std::uint8_t> bytes = {status, data1};
  if (MidiMessageLength(status) == 3) bytes.push_back(data2);
  TrackItems(track).push_back({tick, std::move(bytes)});
}

void MidiFileWriter::Note(int track, std::uint32_t tick, std::uint32_t lengthTicks,
                          std::uint8_t channel, std::uint8_t note, std::uint8_t velocity) {
  const auto ch = static_cast<std::uint8_t>(channel & 0x0Fu);
  Event(track, tick, static_cast<std::uint8_t>(0x90u | ch), note, velocity);
  Event(track, tick + lengthTicks, static_cast<std::uint8_t>(0x80u | ch), note, 0);
}

std::vector<std::uint8_t> MidiFileWriter::Bytes() const {
  if (tracks_.empty()) throw std::logic_error("a MIDI file needs at least one track");
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd'};
  PutBe(out, 6, 4);
  PutBe(out, tracks_.size() == 1 ? 0 : 1, 2);
  PutBe(out, static_cast<std::uint32_t>(tracks_.size()), 2);
  PutBe(out, ticksPerQuarter_, 2);

  for (const auto& items : tracks_) {
    std::vector<const Item*> order;
    for (const Item& item : items) order.push_back(&item);
    // A note ending where the same note starts again must end first.
    const auto isNoteOff = [](const Item* item) {
      const std::uint8_t kind = item->bytes[0] & 0xF0u;
      return kind == 0x80 || (kind == 0x90 && item->bytes[2] == 0);
    };
    std::stable_sort(order.begin(), order.end(), [&](const Item* a, const Item* b) {
      if (a->tick != b->tick) return a->tick < b->tick;
      return isNoteOff(a) && !isNoteOff(b);
    });

    std::vector<std::uint8_t> data;
    std::uint32_t tick = 0;
    for (const Item* item : order) {
      if (item->tick - tick > 0x0FFFFFFFu) throw std::invalid_argument("MIDI delta time too large");
      PutVlq(data, item->tick - tick);
      tick = item->tick;
      data.insert(data.end(), item->bytes.begin(), item->bytes.end());
    }
    data.insert(data.end(), {0x00, 0xFF, 0x2F, 0x00});
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    PutBe(out, static_cast<std::uint32_t>(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
  }
  return out;
}

}  // namespace zhost
