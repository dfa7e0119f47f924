#include "demo_song.h"

#include <initializer_list>

namespace zhost {
namespace {

constexpr std::uint32_t kQuarter = 480;
constexpr std::uint32_t kBar = 4 * kQuarter;

struct Step {
  std::uint8_t note;
  std::uint32_t length;  // ticks
};

// Notes are held for 90 % of their slot so repeated pitches articulate.
constexpr std::uint32_t Held(std::uint32_t length) {
  return length * 9 / 10;
}

}  // namespace

std::vector<std::uint8_t> DemoSongMidiFile() {
  MidiFileWriter writer(kQuarter);
  const int tempoTrack = writer.AddTrack();
  const int chordTrack = writer.AddTrack();
  const int melodyTrack = writer.AddTrack();
  writer.Tempo(tempoTrack, 0, 120.0);

  // C, Am, F, G, C: a bass note and a close voicing per bar.
  const std::initializer_list<std::initializer_list<std::uint8_t>> bars = {
      {48, 55, 60, 64}, {45, 57, 60, 64}, {41, 57, 60, 65}, {43, 55, 59, 62}, {48, 55, 60, 64}};
  std::uint32_t tick = 0;
  for (const auto& chord : bars) {
    bool bass = true;
    for (std::uint8_t note : chord) {
      writer.Note(chordTrack, tick, Held(kBar), 0, note, bass ? 48 : 36);
      bass = false;
    }
    tick += kBar;
  }

  constexpr std::uint32_t q = kQuarter, e = kQuarter / 2, h = 2 * kQuarter, w = kBar;
  const std::initializer_list<Step> melody = {{67, q}, {72, q}, {76, q}, {74, e}, {72, e},  // C
                                              {69, h}, {72, q}, {76, q},                    // Am
                                              {77, q}, {76, e}, {74, e}, {72, q}, {69, q},  // F
                                              {71, q}, {74, q}, {79, h},                    // G
                                              {72, w}};                                     // C
  tick = 0;
  for (const Step& step : melody) {
    writer.Note(melodyTrack, tick, Held(step.length), 0, step.note, 64);
    tick += step.length;
  }
  return writer.Bytes();
}

MidiSequence DemoSong() {
  return ParseMidi(DemoSongMidiFile());
}

}  // namespace zhost
