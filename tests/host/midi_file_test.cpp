// Standard MIDI File reading on hand-made files: timing through the tempo
// map, track merging, running status, and refusal of damaged input.
#include "midi_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/temp_dir.h"

using namespace zhost;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The low `count` (1..4) bytes of value, big-endian.
Bytes Be(std::uint32_t value, int count) {
  Bytes out;
  for (int i = count - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Chunk(const char (&id)[5], const Bytes& data) {
  return Concat({Bytes(id, id + 4), Be(static_cast<std::uint32_t>(data.size()), 4), data});
}

Bytes Header(std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
  return Chunk("MThd", Concat({Be(format, 2), Be(tracks, 2), Be(division, 2)}));
}

Bytes Track(const Bytes& events) {
  return Chunk("MTrk", events);
}

constexpr std::uint8_t kEnd[] = {0x00, 0xFF, 0x2F, 0x00};
Bytes WithEnd(Bytes events) {
  events.insert(events.end(), std::begin(kEnd), std::end(kEnd));
  return events;
}

// Tempo meta event after the given delta time (VLQ bytes).
Bytes TempoEvent(const Bytes& delta, std::uint32_t microsPerQuarter) {
  return Concat({delta, {0xFF, 0x51, 0x03}, Be(microsPerQuarter, 3)});
}

std::vector<std::uint8_t> Notes(const MidiSequence& s) {
  std::vector<std::uint8_t> notes;
  for (const auto& e : s.events) notes.push_back(e.data1);
  return notes;
}

// Seconds for `ticks` at `bpm` with `division` ticks per quarter note.
double Span(double ticks, double bpm, double division) {
  return ticks / division * 60.0 / bpm;
}

TEST(MidiFileReading, RunningStatusRepeatsTheLastChannelStatus) {
  // Delta 0x60 = 96 ticks = half a second at 96 ticks per quarter and 120 BPM.
  const Bytes file = Concat({Header(0, 1, 96), Track(WithEnd({
                                                   0x00, 0x90, 0x3C, 0x64,  // note on
                                                   0x60, 0x3E, 0x50,        // running: note on
                                                   0x00, 0xC0, 0x05,        // program change
                                                   0x00, 0x07,              // running, 1 data byte
                                                   0x00, 0xFF, 0x01, 0x01, 'x',  // text meta
                                                   0x60, 0x3C,  // running status after the meta
                                               }))});
  // Running status through a meta event is accepted: the last event is
  // another program change.
  const MidiSequence s = ParseMidi(file);
  ASSERT_EQ(s.events.size(), 5u);
  const std::uint8_t statuses[] = {0x90, 0x90, 0xC0, 0xC0, 0xC0};
  const std::uint8_t data1[] = {0x3C, 0x3E, 0x05, 0x07, 0x3C};
  const std::uint8_t data2[] = {0x64, 0x50, 0x00, 0x00, 0x00};
  const double seconds[] = {0.0, 0.5, 0.5, 0.5, 1.0};
  for (std::size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(s.events[i].status, statuses[i]);
    EXPECT_EQ(s.events[i].data1, data1[i]);
    EXPECT_EQ(s.events[i].data2, data2[i]);
    EXPECT_DOUBLE_EQ(s.events[i].seconds, seconds[i]);
  }
  // The one-data-byte program change left the following 0x3C as a new event.
  EXPECT_EQ(s.events[4].tick, 192u);
}

TEST(MidiFileReading, TempoChangesShiftOnlyLaterEvents) {
  const Bytes track = WithEnd(Concat({
      TempoEvent({0x00}, 500000),         // 120 BPM
      {0x83, 0x60, 0x90, 60, 100},        // tick 480
      TempoEvent({0x83, 0x60}, 1000000),  // tick 960: 60 BPM
      {0x00, 0x90, 62, 100},              // tick 960
      {0x83, 0x60, 0x90, 64, 100},        // tick 1440
      TempoEvent({0x83, 0x60}, 250000),   // tick 1920: 240 BPM
      {0x83, 0x60, 0x90, 67, 100},        // tick 2400
  }));
  const MidiSequence s = ParseMidi(Concat({Header(0, 1, 480), Track(track)}), 90.0);
  ASSERT_EQ(s.events.size(), 4u);
  const double at960 = Span(960, 120, 480);
  const double at1920 = at960 + Span(960, 60, 480);
  EXPECT_DOUBLE_EQ(s.events[0].seconds, Span(480, 120, 480));
  EXPECT_DOUBLE_EQ(s.events[1].seconds, at960);
  EXPECT_DOUBLE_EQ(s.events[2].seconds, at960 + Span(480, 60, 480));
  EXPECT_DOUBLE_EQ(s.events[3].seconds, at1920 + Span(480, 240, 480));
  ASSERT_TRUE(s.firstTempoBpm.has_value());
  EXPECT_DOUBLE_EQ(*s.firstTempoBpm, 120.0);
  EXPECT_DOUBLE_EQ(s.InitialTempoBpm(), 120.0);  // the file's tempo beats the caller's default
}

TEST(MidiFileReading, DefaultTempoAppliesUntilTheFirstTempoEvent) {
  const Bytes noTempo = Concat({Header(0, 1, 480), Track(WithEnd({0x83, 0x60, 0x90, 60, 100}))});
  const MidiSequence standard = ParseMidi(noTempo);
  ASSERT_EQ(standard.events.size(), 1u);
  EXPECT_DOUBLE_EQ(standard.events[0].seconds, Span(480, 120, 480));
  EXPECT_FALSE(standard.firstTempoBpm.has_value());
  EXPECT_DOUBLE_EQ(standard.InitialTempoBpm(), 120.0);

  const MidiSequence slower = ParseMidi(noTempo, 90.0);
  EXPECT_DOUBLE_EQ(slower.events[0].seconds, Span(480, 90, 480));
  EXPECT_DOUBLE_EQ(slower.InitialTempoBpm(), 90.0);

  // A tempo arriving late: the default holds until it.
  const Bytes lateTempo = Concat({Header(0, 1, 480), Track(WithEnd(Concat({
                                                         {0x83, 0x60, 0x90, 60, 100},
                                                         TempoEvent({0x83, 0x60}, 1000000),
                                                         {0x83, 0x60, 0x80, 60, 0},
                                                     })))});
  const MidiSequence late = ParseMidi(lateTempo, 90.0);
  ASSERT_EQ(late.events.size(), 2u);
  EXPECT_DOUBLE_EQ(late.events[1].seconds, Span(960, 90, 480) + Span(480, 60, 480));
  ASSERT_TRUE(late.firstTempoBpm.has_value());
  EXPECT_DOUBLE_EQ(*late.firstTempoBpm, 60.0);
}

TEST(MidiFileReading, FormatOneMergesTracksByTimeThenTrackThenFileOrder) {
  const Bytes first = WithEnd({0x00, 0x90, 60, 1,          // tick 0
                               0x81, 0x48, 0x90, 61, 1,    // tick 200
                               0x81, 0x48, 0x90, 62, 1});  // tick 400
  const Bytes second = WithEnd({0x64, 0x90, 70, 1,         // tick 100
                                0x64, 0x90, 71, 1,         // tick 200
                                0x64, 0x90, 72, 1,         // tick 300
                                0x64, 0x90, 73, 1,         // tick 400
                                0x00, 0x90, 74, 1});       // tick 400
  const MidiSequence s = ParseMidi(Concat({Header(1, 2, 100), Track(first), Track(second)}));
  EXPECT_EQ(Notes(s), (std::vector<std::uint8_t>{60, 70, 61, 71, 72, 62, 73, 74}));
  const std::uint16_t tracks[] = {0, 1, 0, 1, 1, 0, 1, 1};
  for (std::size_t i = 0; i < s.events.size(); ++i) EXPECT_EQ(s.events[i].track, tracks[i]) << i;
  for (std::size_t i = 1; i < s.events.size(); ++i) {
    EXPECT_LE(s.events[i - 1].seconds, s.events[i].seconds);
  }
}

TEST(MidiFileReading, TempoInAnyTrackOfFormatOneAppliesToAll) {
  // The tempo sits in the second track; the notes of the first follow it.
  const Bytes notes = WithEnd({0x83, 0x60, 0x90, 60, 100});  // tick 480
  const Bytes tempo = WithEnd(TempoEvent({0x00}, 1000000));  // 60 BPM
  const MidiSequence s = ParseMidi(Concat({Header(1, 2, 480), Track(notes), Track(tempo)}));
  ASSERT_EQ(s.events.size(), 1u);
  EXPECT_DOUBLE_EQ(s.events[0].seconds, Span(480, 60, 480));
}

TEST(MidiFileReading, MetaSysexUnknownChunksAndHeaderPaddingAreSkipped) {
  const Bytes track = WithEnd({
      0x10, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7,  // sysex, tick 16
      0x10, 0xF7, 0x02, 0xF3, 0x01,                    // escaped bytes, tick 32
      0x10, 0xFF, 0x03, 0x04, 'n',  'a',  'm',  'e',   // track name, tick 48
      0x10, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,  // time signature, tick 64
      0x10, 0x90, 60,   100,                           // tick 80
  });
  const Bytes longHeader = Chunk("MThd", {0, 0, 0, 1, 0, 96, 0xAB, 0xCD});
  const Bytes file = Concat({longHeader, Chunk("XTRA", {1, 2, 3}), Track(track)});
  const MidiSequence s = ParseMidi(file);
  ASSERT_EQ(s.events.size(), 1u);
  EXPECT_EQ(s.events[0].tick, 80u);
  EXPECT_EQ(s.ticksPerQuarter, 96);
}

TEST(MidiFileReading, EndOfTrackStopsTheTrackAndIsOptional) {
  // Garbage after end-of-track inside the chunk is ignored; the second
  // track has no end-of-track and simply ends with its chunk.
  const Bytes first = Concat({WithEnd({0x00, 0x90, 60, 100}), {0xF4, 0xF4, 0x00}});
  const Bytes second = {0x00, 0x90, 61, 100};
  const MidiSequence s = ParseMidi(Concat({Header(1, 2, 96), Track(first), Track(second)}));
  EXPECT_EQ(Notes(s), (std::vector<std::uint8_t>{60, 61}));
}

TEST(MidiFileWriting, WrittenFilesReadBackWithTheSameEventsAndTimes) {
  MidiFileWriter writer(240);
  const int conductor = writer.AddTrack();
  const int music = writer.AddTrack();
  const int controls = writer.AddTrack();
  writer.Tempo(conductor, 0, 100.0);
  writer.Tempo(conductor, 960, 150.0);
  // Deltas on each side of every VLQ size boundary.
  const std::uint32_t deltas[] = {127, 128, 16383, 16384, 2097151, 2097152, 0x0FFFFFFF};
  std::vector<std::uint64_t> controlTicks;
  std::uint32_t tick = 0;
  for (std::uint32_t delta : deltas) {
    tick += delta;
    controlTicks.push_back(tick);
    writer.Event(controls, tick, 0xB0, 7, 100);
  }
  writer.Event(music, 100, 0xC1, 42);
  // The same note ending and restarting at one tick, added in reverse:
  // the writer must still put the end first.
  writer.Note(music, 960, 240, 0, 64, 91);
  writer.Note(music, 480, 480, 0, 64, 90);

  const Bytes bytes = writer.Bytes();
  EXPECT_EQ(bytes[9], 1) << "several tracks make a format 1 file";
  const MidiSequence s = ParseMidi(bytes);
  ASSERT_EQ(s.events.size(), 12u);
  EXPECT_EQ(s.events[0].tick, 100u);
  EXPECT_EQ(s.events[0].status, 0xC1);
  EXPECT_EQ(s.events[0].data1, 42);
  std::vector<std::uint64_t> ccTicks;
  for (const auto& e : s.events) {
    if (e.status == 0xB0) ccTicks.push_back(e.tick);
  }
  EXPECT_EQ(ccTicks, controlTicks);

  std::vector<std::pair<std::uint64_t, std::uint8_t>> notes;
  for (const auto& e : s.events) {
    if ((e.status & 0xE0) == 0x80) notes.emplace_back(e.tick, e.status);
  }
  using P = std::pair<std::uint64_t, std::uint8_t>;
  EXPECT_EQ(notes, (std::vector<P>{{480, 0x90}, {960, 0x80}, {960, 0x90}, {1200, 0x80}}));
  EXPECT_DOUBLE_EQ(s.events.back().seconds,
                   Span(960, 100, 240) + Span(double(controlTicks.back()) - 960, 150, 240));
  EXPECT_DOUBLE_EQ(*s.firstTempoBpm, 100.0);

  MidiFileWriter single;
  single.Note(single.AddTrack(), 0, 10, 3, 60, 1);
  const Bytes one = single.Bytes();
  EXPECT_EQ(one[9], 0) << "one track makes a format 0 file";
  EXPECT_EQ(ParseMidi(one).events.front().status, 0x93);
}

TEST(MidiFileWriting, RefusesWhatCannotBeWritten) {
  MidiFileWriter writer;
  EXPECT_THROW(writer.Bytes(), std::logic_error);
  const int track = writer.AddTrack();
  EXPECT_THROW(writer.Event(track + 1, 0, 0x90, 1, 1), std::out_of_range);
  EXPECT_THROW(writer.Event(track, 0, 0xF0, 1, 1), std::invalid_argument);
  EXPECT_THROW(writer.Event(track, 0, 0x90, 0x80, 1), std::invalid_argument);
  EXPECT_THROW(writer.Tempo(track, 0, 1.0), std::invalid_argument);  // 60 s per quarter
  writer.Event(track, 0x1FFFFFFF, 0x90, 1, 1);
  EXPECT_THROW(writer.Bytes(), std::invalid_argument);  // delta beyond 4 VLQ bytes
}

TEST(MidiFileReading, ReadsFromDiskAndNamesThePathInErrors) {
  TempDir dir;
  MidiFileWriter writer;
  writer.Note(writer.AddTrack(), 480, 480, 0, 69, 100);
  const Bytes bytes = writer.Bytes();
  const std::string good = dir.File("good.mid");
  std::ofstream(good, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  const MidiSequence s = ReadMidiFile(good, 60.0);
  ASSERT_EQ(s.events.size(), 2u);
  EXPECT_DOUBLE_EQ(s.EndSeconds(), 2.0);

  const std::string bad = dir.File("bad.mid");
  std::ofstream(bad, std::ios::binary) << "MThd garbage";
  for (const std::string& path : {bad, dir.File("missing.mid")}) {
    try {
      ReadMidiFile(path);
      ADD_FAILURE() << "no error for " << path;
    } catch (const MidiFileError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(path, 0), 0u) << e.what();
    }
  }
}

struct BadFile {
  const char* name;
  Bytes bytes;
  const char* message;  // part of the expected error text
};

void PrintTo(const BadFile& bad, std::ostream* os) {
  *os << bad.name;
}

class MidiFileRejects : public ::testing::TestWithParam<BadFile> {};

TEST_P(MidiFileRejects, WithAClearError) {
  try {
    const MidiSequence s = ParseMidi(GetParam().bytes);
    FAIL() << "parsed into " << s.events.size() << " events";
  } catch (const MidiFileError& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
  }
}

const Bytes kOneNote = WithEnd({0x00, 0x90, 60, 100});

INSTANTIATE_TEST_SUITE_P(
    BadInput, MidiFileRejects,
    ::testing::Values(
        BadFile{"Empty", {}, "not a Standard MIDI File"},
        BadFile{"RiffHeader", Concat({Chunk("RIFF", Bytes(6, 0)), Track(kOneNote)}), "MThd"},
        BadFile{"ShortHeaderChunk", Concat({Chunk("MThd", {0, 0, 0, 1, 0}), Track(kOneNote)}),
                "header chunk of 5 bytes"},
        BadFile{"HeaderLongerThanFile",
                Concat({Bytes{'M', 'T', 'h', 'd'}, Be(100, 4), Be(0, 2), Be(1, 2), Be(96, 2)}),
                "truncated"},
        BadFile{"FormatTwo", Concat({Header(2, 1, 96), Track(kOneNote)}), "format 2"},
        BadFile{"FormatThree", Concat({Header(3, 1, 96), Track(kOneNote)}), "format 3"},
        BadFile{"NoTracks", Header(1, 0, 96), "no tracks"},
        BadFile{"FormatZeroTwoTracks", Concat({Header(0, 2, 96), Track(kOneNote), Track(kOneNote)}),
                "declares 2 tracks"},
        BadFile{"ZeroDivision", Concat({Header(0, 1, 0), Track(kOneNote)}), "division of 0"},
        BadFile{"SmpteDivision", Concat({Header(0, 1, 0xE728), Track(kOneNote)}), "SMPTE"},
        BadFile{"ChunkPastEnd",
                Concat({Header(0, 1, 96), Bytes{'M', 'T', 'r', 'k'}, Be(16, 4), kOneNote}),
                "claims 16 bytes but only 8 follow"},
        BadFile{"HugeChunkLength",
                Concat({Header(0, 1, 96), Bytes{'M', 'T', 'r', 'k'}, Be(0xFFFFFFFF, 4), kOneNote}),
                "claims 4294967295 bytes"},
        BadFile{"FewerTracksThanDeclared", Concat({Header(1, 3, 96), Track(kOneNote)}),
                "after 1 of 3 tracks"},
        BadFile{"TruncatedChunkHeader", Concat({Header(0, 1, 96), Bytes{'M', 'T', 'r'}}),
                "truncated chunk header"},
        BadFile{"RunningStatusWithoutStatus",
                Concat({Header(0, 1, 96), Track(WithEnd({0x00, 0x3C, 0x40}))}),
                "no running status"},
        BadFile{"FiveByteVlq",
                Concat({Header(0, 1, 96),
                        Track(WithEnd({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x90, 60, 100}))}),
                "longer than 4 bytes"},
        BadFile{"StatusInsideData",
                Concat({Header(0, 1, 96), Track(WithEnd({0x00, 0x90, 0x3C, 0x90, 0x00}))}),
                "status byte inside the data"},
        BadFile{"TruncatedChannelMessage", Concat({Header(0, 1, 96), Track({0x00, 0x90, 0x3C})}),
                "truncated channel message"},
        BadFile{"MetaPastTrackEnd",
                Concat({Header(0, 1, 96), Track({0x00, 0xFF, 0x01, 0x10, 'a'}), Bytes(20, 0)}),
                "truncated meta event"},
        BadFile{"SysexPastTrackEnd", Concat({Header(0, 1, 96), Track({0x00, 0xF0, 0x81})}),
                "truncated sysex length"},
        BadFile{"TempoOfWrongLength",
                Concat({Header(0, 1, 96), Track(WithEnd({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}))}),
                "tempo event of length 2"},
        BadFile{"ZeroTempo", Concat({Header(0, 1, 96), Track(WithEnd(TempoEvent({0x00}, 0)))}),
                "tempo of zero"},
        BadFile{"SystemCommonStatus",
                Concat({Header(0, 1, 96), Track(WithEnd({0x00, 0xF4, 0x00}))}), "0xF4"},
        BadFile{"RealTimeStatus", Concat({Header(0, 1, 96), Track(WithEnd({0x00, 0xF8}))}),
                "0xF8"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

// A file using every feature the reader handles.
Bytes RichFile() {
  const Bytes conductor = WithEnd(Concat({TempoEvent({0x00}, 600000),
                                          {0x00, 0xFF, 0x03, 0x02, 'h', 'i'},
                                          TempoEvent({0x83, 0x60}, 400000)}));
  const Bytes music = WithEnd({0x00, 0xF0, 0x03, 0x43, 0x12, 0xF7,  //
                               0x00, 0xC0, 0x05,                    //
                               0x00, 0x90, 60,   100,               //
                               0x81, 0x00, 62,   100,               // running status
                               0x82, 0x80, 0x00, 0x80, 60,   0,     // 3-byte VLQ
                               0x00, 62,   0,                       //
                               0x00, 0xE0, 0x00, 0x40});
  return Concat({Header(1, 2, 480), Track(conductor), Track(music)});
}

TEST(MidiFileRobustness, EveryProperPrefixIsRefused) {
  const Bytes file = RichFile();
  ASSERT_EQ(ParseMidi(file).events.size(), 6u);
  for (std::size_t length = 0; length < file.size(); ++length) {
    const std::span<const std::uint8_t> prefix(file.data(), length);
    EXPECT_THROW(ParseMidi(prefix), MidiFileError) << "prefix of " << length << " bytes";
  }
}

TEST(MidiFileRobustness, CorruptedBytesParseSanelyOrThrowMidiFileError) {
  const Bytes file = RichFile();
  int refused = 0;
  for (std::size_t at = 0; at < file.size(); ++at) {
    for (std::uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xF0, 0xFF}) {
      Bytes damaged = file;
      damaged[at] = value;
      try {
        const MidiSequence s = ParseMidi(damaged);
        for (std::size_t i = 0; i < s.events.size(); ++i) {
          ASSERT_TRUE(std::isfinite(s.events[i].seconds));
          ASSERT_GE(s.events[i].status, 0x80);
          ASSERT_LT(s.events[i].status, 0xF0);
          if (i > 0) {
            ASSERT_LE(s.events[i - 1].seconds, s.events[i].seconds);
          }
        }
      } catch (const MidiFileError&) {
        ++refused;
      }
    }
  }
  EXPECT_GT(refused, 0);
}

TEST(MidiFileReading, RejectsANonPositiveDefaultTempo) {
  const Bytes file = Concat({Header(0, 1, 96), Track(kOneNote)});
  EXPECT_THROW(ParseMidi(file, 0.0), std::invalid_argument);
  EXPECT_THROW(ParseMidi(file, -120.0), std::invalid_argument);
  EXPECT_THROW(ParseMidi(file, NAN), std::invalid_argument);
}

}  // namespace
