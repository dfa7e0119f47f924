// Writes the seed corpora of the fuzz targets, one folder per target, with
// the project's own writers: state chunks and patch files of the current
// level and of every older level, waveform files, timeline presets, mapping
// files, WAV files and MIDI files. Each seed also goes in cut short at
// sampled lengths, since the readers' refusal paths start there.
// Usage: zelvane-fuzz-seeds OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "demo_song.h"
#include "engine/instrument/zelvane.h"
#include "fuzz_support.h"
#include "midi_file.h"
#include "persist/patch.h"
#include "persist/preset_library.h"
#include "persist/streams.h"
#include "persist/timeline_preset.h"
#include "wav_file.h"

namespace fs = std::filesystem;

namespace {

// Every prefix of a short seed; about this many of a long one.
constexpr std::size_t kShortSeed = 256;
constexpr std::size_t kPrefixesOfLongSeeds = 64;

class Corpus {
 public:
  explicit Corpus(fs::path folder) : folder_(std::move(folder)) { fs::create_directories(folder_); }
  ~Corpus() { std::printf("  %-16s %4d files\n", folder_.filename().c_str(), files_); }

  void Add(const std::string& name, const std::string& bytes) {
    Write(name, bytes);
    std::set<std::size_t> lengths;
    if (bytes.size() <= kShortSeed) {
      for (std::size_t n = 1; n < bytes.size(); ++n) lengths.insert(n);
    } else {
      for (std::size_t i = 1; i <= kPrefixesOfLongSeeds; ++i) {
        lengths.insert(i * bytes.size() / (kPrefixesOfLongSeeds + 1));
      }
    }
    for (std::size_t n : lengths) {
      if (n > 0) Write(name + ".cut" + std::to_string(n), bytes.substr(0, n));
    }
  }
  void Add(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    Add(name, std::string(bytes.begin(), bytes.end()));
  }

 private:
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream out(folder_ / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) fuzz::Fail("cannot write a seed");
    ++files_;
  }

  fs::path folder_;
  int files_ = 0;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) fuzz::Fail("cannot read back a file written for a seed");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

vst2::VstIntPtr Host(vst2::AEffect*, vst2::VstInt32 opcode, vst2::VstInt32, vst2::VstIntPtr, void*,
                     float) {
  return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

// Writes through the file framing of texts (a FileWriter) and hands back the
// bytes, so patch and mapping seeds are what the plug-in itself saves.
template <class Body>
std::string FileBytes(const fs::path& scratch, Body body) {
  {
    FileWriter w;
    if (!w.Open(scratch.string())) fuzz::Fail("cannot open a scratch file");
    body(static_cast<Writer&>(w));
    if (!w.Close()) fuzz::Fail("cannot write a scratch file");
  }
  return ReadAll(scratch);
}

std::string Header(const FileKind& kind, const fs::path& scratch) {
  return FileBytes(scratch, [&](Writer& w) {
    w.WriteString(kind.typeWord);
    w.WriteFloat(kind.version);
  });
}

std::vector<float> Cycle(int length, int harmonics) {
  std::vector<float> x(static_cast<std::size_t>(length));
  for (int k = 0; k < length; ++k) {
    for (int h = 1; h <= harmonics; ++h) {
      x[static_cast<std::size_t>(k)] +=
          static_cast<float>(std::sin(2.0 * std::numbers::pi * h * k / length) / h);
    }
  }
  return x;
}

// The sound of most seeds: every kind of setting moved away from its first
// value, a few lines with breakpoints, routing rows and pads in use.
void Customise(Zelvane& z, int userWaveLength) {
  z.keyMode().SetValue(1.0f);
  z.polyphony().SetValue(5.0f);
  z.portamentoTime().SetValue(0.3f);
  z.masterVolume().SetValue(0.7f);
  z.pitchBendRange().SetValue(12.0f);
  z.timeFreeze().SetValue(1.0f);
  z.performSource(1).x().SetValue(0.25f);
  z.performSource(3).amount(0) = 0.5f;
  z.SetPadAssignment(0, 0, true, 1, 3);
  z.SetPadAssignment(2, 1, true, 4, 0);
  z.delay().enabled().SetValue(1.0f);
  z.delay().time().SetValue(2.0f);
  z.reverb().mix().SetValue(0.3f);
  z.distortion().enabled().SetValue(1.0f);
  z.distortion().crunch().SetValue(0.8f);
  z.masterFilter(0).enabled().SetValue(1.0f);
  z.masterFilter(1).cutoff().SetValue(4000.0f);
  for (int k = 0; k < Zelvane::kVoices; ++k) {
    VoiceSettings& v = z.voiceSettings(k);
    v.setting(VoiceSettings::kLayerOn).SetValue(1.0f);
    v.setting(VoiceSettings::kUnisonCount).SetValue(static_cast<float>(1 + k));
    v.setting(VoiceSettings::kFilterOn).SetValue(k % 2 == 0 ? 1.0f : 0.0f);
    v.routing(0).enabled = true;
    v.routing(0).sourceOutput = 0;
    v.routing(0).targetInput = 1;
    v.routing(0).amount = 0.4f;
    v.routing(0).amountFromLine = false;
    v.routing(2).enabled = true;
    v.routing(2).sourceOutput = 2;
    v.routing(2).targetInput = 9;
    v.loop().on = k == 1;
    v.loop().start = 1000.0f;
    v.loop().end = 6000.0f;
    for (float t : {0.0f, 2000.0f, 5000.0f}) {
      z.SetEditTime(t + 100.0f * static_cast<float>(k));
      z.WriteEditedValue(k, VoiceSettings::kVoice, 1, 0.1f * static_cast<float>(k) + t / 10000.0f);
      z.WriteEditedValue(k, VoiceSettings::kWave, 0, t / 5000.0f - 0.5f);
      z.WriteEditedValue(k, VoiceSettings::kFilter, 0, 0.5f);
      z.WriteEditedValue(k, VoiceSettings::kAmplitude, 0, 1.0f - t / 10000.0f);
    }
  }
  z.SetEditTime(0.0f);
  if (userWaveLength > 0) {
    z.voiceSettings(0).waveSet().SetUserSamples(1, Cycle(userWaveLength, 7));
    z.voiceSettings(2).waveSet().SetUserSamples(3, Cycle(userWaveLength, 2));
  }
  z.SetPatchName("Seed");
  z.SetCategory("Seeds");
}

// A body of an older level, field by field as that level stored it, with the
// values of z. The voice blocks carry a version of their own.
void WriteOldBody(Zelvane& z, int level, int voiceLevel, Writer& w) {
  const float version = static_cast<float>(level) / 1000.0f;
  const float voiceVersion = static_cast<float>(voiceLevel) / 1000.0f;
  w.WriteFloat(version);
  w.WriteString(patch::kTag);
  if (level >= 12) w.WriteBool(false);
  w.WriteString(z.patchName());
  w.WriteFloat(z.timeFreeze().rawValue());
  if (level < 10) w.WriteFloat(1.0f);  // timeline sync, one for every voice
  w.WriteFloat(z.keyMode().rawValue());
  w.WriteFloat(z.polyphony().rawValue());
  w.WriteFloat(z.portamentoTime().rawValue());
  w.WriteFloat(1.0f);
  for (int i = 0; i < Zelvane::kPerformSources; ++i) {
    PerformModSource& p = z.performSource(i);
    w.WriteFloat(p.amount(0));
    w.WriteFloat(p.amount(1));
    w.WriteFloat(p.x().rawValue());
    w.WriteFloat(p.y().rawValue());
    for (int axis = 0; axis < 2; ++axis) {
      w.WriteBool(p.assignment(axis).assigned);
      w.WriteInt(p.assignment(axis).voice);
      w.WriteInt(p.assignment(axis).target);
    }
  }
  for (int k = 0; k < Zelvane::kVoices; ++k) {
    VoiceSettings& v = z.voiceSettings(k);
    w.WriteFloat(voiceVersion);
    for (int i = 0; i <= 7; ++i) w.WriteFloat(v.setting(i).rawValue());
    if (voiceLevel >= 4) {
      for (int i : {8, 9}) w.WriteFloat(v.setting(i).rawValue());
    }
    if (voiceLevel >= 11) {
      for (int i : {10, 11}) w.WriteFloat(v.setting(i).rawValue());
    }
    if (voiceLevel >= 10) w.WriteFloat(v.setting(VoiceSettings::kTimelineSync).rawValue());
    w.WriteFloat(v.setting(VoiceSettings::kLevel).rawValue());
    patch::WriteVoiceContents(v, k == 3 ? 0 : VoiceSettings::kRoutingRows, w);  // an empty table too
  }
  if (level >= 2) {
    if (level >= 11) {
      w.WriteInt(1);
      z.delay().WriteParameters(w);
    } else {
      DelayEffect& d = z.delay();
      for (Parameter* p : {&d.bypass(), &d.enabled(), &d.time(), &d.feedback(), &d.mix(), &d.amplitude()}) {
        w.WriteFloat(p->rawValue());
      }
      if (level > 4) w.WriteFloat(d.stereo().rawValue());
    }
    z.reverb().WriteParameters(w);
    if (level <= 6) {
      for (int i = 0; i < 6; ++i) w.WriteFloat(0.5f);  // a section later levels dropped
      if (level > 4) z.distortion().WriteParameters(w);
    } else {
      z.distortion().WriteParameters(w);
      z.masterFilter(0).WriteParameters(w);
      z.masterFilter(1).WriteParameters(w);
    }
    if (level >= 5) w.WriteFloat(z.masterVolume().rawValue());
  }
  if (level >= 8) w.WriteFloat(z.pitchBendRange().rawValue());
  if (level >= 6) w.WriteString(z.category());
}

// The state chunks and patch files, which carry the same bodies.
void PatchSeeds(const fs::path& out, const fs::path& scratch) {
  Corpus chunks(out / "state_chunk");
  Corpus files(out / "patch_file");
  const std::string patchHeader = Header(PatchLibraryKind(), scratch);

  Zelvane plain(Host, InstanceOptions{""});
  chunks.Add("initial", plain.GetState());
  Zelvane custom(Host, InstanceOptions{""});
  Customise(custom, 256);
  chunks.Add("custom", custom.GetState());
  Zelvane wide(Host, InstanceOptions{""});
  Customise(wide, 4096);
  chunks.Add("custom-4096", wide.GetState());
  Zelvane narrow(Host, InstanceOptions{""});
  Customise(narrow, 0);
  narrow.voiceSettings(1).waveSet().Resize(64, 12);
  narrow.voiceSettings(1).waveSet().SetUserSamples(0, Cycle(64, 3));
  chunks.Add("custom-64x12", narrow.GetState());

  // The plug-in's own patch files, saved through its patch library.
  for (auto* z : {&plain, &custom, &narrow}) {
    const std::string name = z == &plain ? "Initial" : z == &custom ? "Custom" : "Narrow";
    if (!z->SavePatch("Seeds", name)) fuzz::Fail("cannot save a seed patch");
    const std::string bytes = ReadAll(z->patchLibrary().ItemPath("Seeds", name + "(User)"));
    files.Add(name, bytes);
    if (z != &narrow) chunks.Add("file-" + name, bytes);  // a patch file handed over as a chunk
  }

  // Every older level, with voice blocks of the same level and of others.
  for (int level = 1; level <= 12; ++level) {
    for (int voiceLevel : {level, level == 1 ? 12 : 1}) {
      const std::string name = "level" + std::to_string(level) + "-voice" + std::to_string(voiceLevel);
      std::string body;
      StringWriter w(body);
      WriteOldBody(custom, level, voiceLevel, w);
      chunks.Add(name, body);
      files.Add(name, FileBytes(scratch, [&](Writer& fw) {
                  fw.WriteString(PatchLibraryKind().typeWord);
                  fw.WriteFloat(1.0f);
                  WriteOldBody(custom, level, voiceLevel, fw);
                }));
    }
  }
  // A newer level and a foreign header: both refused at once.
  std::string newer;
  StringWriter nw(newer);
  nw.WriteFloat(0.013f);
  nw.WriteString(patch::kTag);
  chunks.Add("newer", newer);
  files.Add("foreign-header", Header(WaveformLibraryKind(), scratch) + "\x01\x02\x03\x04");
  files.Add("header-only", patchHeader);
}

void WaveformSeeds(const fs::path& out, const fs::path& scratch) {
  Corpus corpus(out / "waveform_file");
  Zelvane z(Host, InstanceOptions{""});
  WaveSet& set = z.voiceSettings(0).waveSet();
  set.BuildBuiltIns({WaveSet::kSine, WaveSet::kRamp, WaveSet::kSquare, WaveSet::kSilence});
  const char* names[] = {"sine", "ramp", "square", "silence"};
  for (int lane = 0; lane < WaveSet::kLanes; ++lane) {
    if (!z.SaveWaveform("Seeds", names[lane], lane)) fuzz::Fail("cannot save a seed waveform");
    corpus.Add(names[lane],
               ReadAll(z.waveformLibrary().ItemPath("Seeds", std::string(names[lane]) + "(User)")));
  }
  for (auto [length, levels] : {std::pair{4096, 128}, {512, 128}, {32, 8}, {2, 1}}) {
    set.Resize(length, levels);
    set.SetUserSamples(2, Cycle(length, std::min(5, length / 2)));
    const std::string name = "user-" + std::to_string(length) + "x" + std::to_string(levels);
    if (!z.SaveWaveform("Seeds", name, 2)) fuzz::Fail("cannot save a seed waveform");
    corpus.Add(name, ReadAll(z.waveformLibrary().ItemPath("Seeds", name + "(User)")));
  }
  // A record of a kind this build does not know: read and left alone.
  corpus.Add("unknown-kind", FileBytes(scratch, [](Writer& w) {
               w.WriteString(WaveformLibraryKind().typeWord);
               w.WriteFloat(1.0f);
               w.WriteFloat(1.0f);
               w.WriteCount(1024);
               w.WriteInt(64);
               w.WriteInt(9);
             }));
}

void TimelineSeeds(const fs::path& out) {
  Corpus corpus(out / "timeline_preset");
  Zelvane z(Host, InstanceOptions{""});
  Customise(z, 0);
  for (int voice : {0, 3}) {
    z.SelectVoice(voice);
    for (TimelineItemFlags flags : {TimelineItemFlags{true, true, true, true, true, true},
                                    TimelineItemFlags{false, true, false, false, false, false},
                                    TimelineItemFlags{true, false, true, true, false, true},
                                    TimelineItemFlags{false, false, false, false, true, false},
                                    TimelineItemFlags{}}) {
      std::string body;
      StringWriter w(body);
      WriteTimelinePreset(z, flags, w);
      std::string name = "voice" + std::to_string(voice) + "-";
      for (bool f : flags) name += f ? '1' : '0';
      corpus.Add(name, body);
    }
  }
}

void MappingSeeds(const fs::path& out, const fs::path& scratch) {
  Corpus corpus(out / "midi_learn");
  Zelvane z(Host, InstanceOptions{""});
  MidiLearnManager& m = z.learnManager();
  const std::string path = z.dataFolders().midiLearnFile;
  if (!m.SaveMappings()) fuzz::Fail("cannot save the mappings");
  corpus.Add("none", ReadAll(path));
  m.SetLearnTarget(&z.performSource(0).x());
  m.ControlChange(0, 20, 0, 0);
  if (!m.SaveMappings()) fuzz::Fail("cannot save the mappings");
  corpus.Add("one", ReadAll(path));
  int controller = 21;
  for (const MidiLearnManager::Learnable& l : m.learnables()) {
    m.SetLearnTarget(l.parameter);
    m.ControlChange(0, controller++ % MidiLearnManager::kControllerCount, 0, 0);
  }
  m.SetLearnTarget(&z.freezePosition());
  m.ControlChange(0, 127, 0, 0);
  m.SetLearnTarget(&z.freezePosition());
  m.ControlChange(0, 0, 0, 0);
  if (!m.SaveMappings()) fuzz::Fail("cannot save the mappings");
  corpus.Add("every-learnable", ReadAll(path));
  // Records the loader skips, and a count larger than the file.
  corpus.Add("skipped", FileBytes(scratch, [&](Writer& w) {
               w.WriteFloat(MidiLearnManager::kFileVersion);
               w.WriteInt(6);
               const Parameter& p = z.performSource(2).y();
               for (auto [name, prefix, cc] : {std::tuple{p.GetName(), p.groupPrefix(), 5},
                                               {std::string("Nothing"), std::string(""), 6},
                                               {p.GetName(), p.groupPrefix(), 128},
                                               {p.GetName(), p.groupPrefix(), -1},
                                               {p.GetName(), std::string("Other"), 7}}) {
                 w.WriteString(name);
                 w.WriteString(prefix);
                 w.WriteInt(cc);
               }
             }));
}

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

// A PCM WAV file of a tone, with the chunks before and after the data that
// real files carry.
std::string Wav(int bits, int channels, int frames, bool extras) {
  std::string format;
  Put(format, 1, 2);
  Put(format, static_cast<std::uint32_t>(channels), 2);
  Put(format, 44100, 4);
  Put(format, static_cast<std::uint32_t>(44100 * channels * bits / 8), 4);
  Put(format, static_cast<std::uint32_t>(channels * bits / 8), 2);
  Put(format, static_cast<std::uint32_t>(bits), 2);
  std::string data;
  const double full = std::ldexp(1.0, bits - 1) - 1.0;
  for (int i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      const double x = 0.6 * std::sin(2.0 * std::numbers::pi * 220.0 * i / 44100.0 + c) +
                       0.2 * std::sin(2.0 * std::numbers::pi * 660.0 * i / 44100.0);
      const auto v = static_cast<std::int32_t>(std::lround(x * full));
      Put(data, static_cast<std::uint32_t>(bits == 8 ? v + 128 : v), bits / 8);
    }
  }
  std::string chunks;
  if (extras) chunks += Chunk("LIST", std::string("INFOISFT\x05\0\0\0seed\0", 17));
  chunks += Chunk("fmt ", format);
  if (extras) {
    std::string fact;
    Put(fact, static_cast<std::uint32_t>(frames), 4);
    chunks += Chunk("fact", fact);
  }
  chunks += Chunk("data", data);
  if (extras) chunks += Chunk("note", "odd");
  std::string file = "RIFF";
  Put(file, static_cast<std::uint32_t>(4 + chunks.size()), 4);
  return file + "WAVE" + chunks;
}

void WavSeeds(const fs::path& out, const fs::path& scratch) {
  Corpus corpus(out / "wav_import");
  for (int bits : {8, 16, 24}) {
    for (int channels : {1, 2}) {
      const std::string name = std::to_string(bits) + "bit-" + (channels == 1 ? "mono" : "stereo");
      corpus.Add(name, Wav(bits, channels, 1500, false));
      corpus.Add(name + "-chunks", Wav(bits, channels, 701, true));
    }
  }
  // The host's writer (libsndfile): what the renderer saves.
  std::vector<float> left(1200), right(1200);
  for (std::size_t i = 0; i < left.size(); ++i) {
    left[i] = static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 330.0 * i / 48000.0));
    right[i] = -left[i];
  }
  const std::string path = (scratch.parent_path() / "seed.wav").string();
  for (auto [format, name] : {std::pair{zhost::WavSampleFormat::kPcm16, "host-16bit"},
                              {zhost::WavSampleFormat::kPcm24, "host-24bit"},
                              {zhost::WavSampleFormat::kFloat32, "host-float"}}) {
    zhost::WriteWav(path, left, right, 48000, format);
    corpus.Add(name, ReadAll(path));
  }
}

void MidiSeeds(const fs::path& out) {
  Corpus corpus(out / "midi_file");
  corpus.Add("demo", zhost::DemoSongMidiFile());

  zhost::MidiFileWriter single(96);
  const int t = single.AddTrack();
  single.Tempo(t, 0, 90.0);
  single.Event(t, 0, 0xC0, 5);
  single.Event(t, 0, 0xB0, 7, 100);
  single.Note(t, 0, 96, 0, 60, 100);
  single.Note(t, 48, 96, 1, 64, 90);
  single.Event(t, 100, 0xE0, 0, 80);
  single.Event(t, 120, 0xD0, 40);
  single.Event(t, 130, 0xA0, 64, 30);
  single.Tempo(t, 150, 150.0);
  single.Note(t, 200, 500, 0, 67, 70);
  corpus.Add("format0", single.Bytes());

  // Running status, a sysex, a text event, an unknown chunk, header padding
  // and a track without its end-of-track event: what other programs write.
  std::vector<std::uint8_t> hand = {'M', 'T', 'h', 'd', 0, 0, 0, 8, 0, 1, 0, 2, 0x01, 0xE0, 0, 0,
                                    'X', 'F', 'I', 'H', 0, 0, 0, 2, 0xAB, 0xCD};
  const std::vector<std::uint8_t> track1 = {0x00, 0xFF, 0x01, 0x04, 't', 'e', 'x', 't',
                                            0x00, 0xF0, 0x03, 0x7E, 0x01, 0xF7,
                                            0x00, 0x90, 0x3C, 0x40, 0x10, 0x3E, 0x40,
                                            0x81, 0x00, 0x3C, 0x00, 0x10, 0x3E, 0x00,
                                            0x00, 0xFF, 0x2F, 0x00};
  const std::vector<std::uint8_t> track2 = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,
                                            0x83, 0x60, 0x91, 0x40, 0x50, 0x60, 0x40, 0x00};
  for (const auto* track : {&track1, &track2}) {
    hand.insert(hand.end(), {'M', 'T', 'r', 'k', 0, 0, 0, static_cast<std::uint8_t>(track->size())});
    hand.insert(hand.end(), track->begin(), track->end());
  }
  corpus.Add("hand-built", hand);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  fuzz::QuietProcess();  // the instruments save into a data folder of their own
  const fs::path out = argv[1];
  fs::create_directories(out);
  const fs::path scratch = fs::path(std::getenv("XDG_DATA_HOME")) / "scratch.bin";
  std::printf("seeds in %s:\n", out.c_str());
  PatchSeeds(out, scratch);
  WaveformSeeds(out, scratch);
  TimelineSeeds(out);
  MappingSeeds(out, scratch);
  WavSeeds(out, scratch);
  MidiSeeds(out);
  return 0;
}
