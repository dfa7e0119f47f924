// The zelvane-render program as a user runs it: exit codes, messages and
// the WAV it leaves behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "midi_file.h"
#include "plugin_host.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "third_party.h"
#include "wav_file.h"

extern char** environ;

using namespace zhost;

namespace {

struct Outcome {
  int exitCode = -1;
  std::string out, err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ThirdPartyLibrary() == nullptr) {
      GTEST_SKIP() << kThirdPartyPlugin << " is missing; install the amsynth package";
    }
  }

  // Runs zelvane-render with the arguments, capturing its output.
  Outcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), ZELVANE_RENDER_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string out = dir.File("stdout.txt"), err = dir.File("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // The program unloads the plug-in before exit, so in sanitizer builds the
    // plug-in's own leaks could not be told apart from ours: leak checking is
    // left to the in-process tests.
    std::vector<std::string> environment;
    std::string asanOptions = "ASAN_OPTIONS=detect_leaks=0";
    for (char** e = environ; *e != nullptr; ++e) {
      const std::string entry = *e;
      if (entry.rfind("ASAN_OPTIONS=", 0) == 0) {
        asanOptions = entry + ":detect_leaks=0";
      } else {
        environment.push_back(entry);
      }
    }
    environment.push_back(asanOptions);
    std::vector<char*> envp;
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    Outcome outcome;
    if (spawned != 0) {
      ADD_FAILURE() << "cannot run " << argv[0];
      return outcome;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = Slurp(out);
    outcome.err = Slurp(err);
    return outcome;
  }

  std::string WriteMidi(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir.File(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // One second of A4 at the file's own tempo of 60 BPM (480 ticks a second).
  std::string OneSecondNote() {
    MidiFileWriter writer(480);
    const int track = writer.AddTrack();
    writer.Tempo(track, 0, 60.0);
    writer.Note(track, 0, 480, 0, 69, 100);
    return WriteMidi("note.mid", writer.Bytes());
  }

  TempDir dir;
};

TEST_F(RenderCommand, RendersAMidiFileToAWavOfTheExpectedLength) {
  const std::string wav = dir.File("out.wav");
  const Outcome run = Run({"--plugin", kThirdPartyPlugin, "--midi", OneSecondNote(), "-o", wav,
                           "--rate", "22050", "--bits", "16", "--tail", "0.5", "--block", "300"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const WavData data = ReadWav(wav);
  EXPECT_EQ(data.sampleRate, 22050);
  EXPECT_EQ(data.channels.size(), 2u);
  EXPECT_EQ(data.format, WavSampleFormat::kPcm16);
  EXPECT_EQ(data.frames(), 22050u + 11025u);  // the note-off at 1 s, then the tail
  EXPECT_NE(run.out.find(wav), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("33075 frames"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("dBFS"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("real-time factor"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("silent"), std::string::npos) << run.out;
}

TEST_F(RenderCommand, TempoOptionOnlyTimesFilesWithoutTempo) {
  MidiFileWriter writer(480);
  writer.Note(writer.AddTrack(), 0, 960, 0, 69, 100);  // two quarters, no tempo event
  const std::string midi = WriteMidi("untimed.mid", writer.Bytes());
  const std::string wav = dir.File("untimed.wav");
  const Outcome run = Run({"--plugin", kThirdPartyPlugin, "--midi", midi, "-o", wav, "--tempo",
                           "240", "--tail", "0", "--rate", "8000", "--bits", "32"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadWav(wav).frames(), 4000u + 1u);  // half a second; one frame for the note-off

  const Outcome timed = Run({"--plugin", kThirdPartyPlugin, "--midi", OneSecondNote(), "-o", wav,
                             "--tempo", "240", "--tail", "0", "--rate", "8000"});
  ASSERT_EQ(timed.exitCode, 0) << timed.err;
  EXPECT_EQ(ReadWav(wav).frames(), 8000u + 1u);
}

TEST_F(RenderCommand, ListsParametersAfterApplyingAssignments) {
  PluginInstance plugin(*ThirdPartyLibrary());
  ASSERT_GE(plugin.NumParams(), 3);
  const std::string secondName = plugin.ParameterName(2);
  const Outcome run = Run({"--plugin", kThirdPartyPlugin, "--param", "0=0.25", "--param",
                           secondName + "=0.125", "--list-params"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string index, name, value;
    std::getline(fields, index, '\t');
    std::getline(fields, name, '\t');
    std::getline(fields, value);
    ASSERT_EQ(std::stoi(index), count) << line;
    EXPECT_EQ(name, plugin.ParameterName(count));
    if (count == 0) {
      EXPECT_NEAR(std::stod(value), 0.25, 1e-3);
    } else if (count == 2) {
      EXPECT_NEAR(std::stod(value), 0.125, 1e-3);
    }
    ++count;
  }
  EXPECT_EQ(count, plugin.NumParams());
}

TEST_F(RenderCommand, ErrorsExitNonZeroWithAMessageAndNoOutput) {
  const std::string garbage = WriteMidi("garbage.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 2});
  const std::string wav = dir.File("never.wav");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--plugin", kThirdPartyPlugin, "--midi", garbage, "-o", wav}, "bad MIDI file"},
      {{"--plugin", kThirdPartyPlugin, "--midi", dir.File("absent.mid"), "-o", wav}, "absent.mid"},
      {{"--plugin", dir.File("absent.so"), "-o", wav}, "plug-in not found"},
      {{"--plugin", garbage, "-o", wav}, "cannot load plug-in"},
      {{"--plugin", kThirdPartyPlugin, "--param", "no_such_parameter=0.5", "-o", wav},
       "no_such_parameter"},
      {{"--plugin", kThirdPartyPlugin, "-o", dir.File("no-folder/out.wav")}, "cannot write"},
      {{"--plugin", kThirdPartyPlugin, "--bits", "20", "-o", wav}, "--bits"},
      {{"--plugin", kThirdPartyPlugin, "--rate", "fast", "-o", wav}, "--rate"},
      {{"--plugin", kThirdPartyPlugin, "--param", "0=2", "-o", wav}, "0..1"},
      {{"--frobnicate"}, "unknown option"},
      {{"--midi"}, "needs a value"},
      {{"stray"}, "unexpected argument"},
  };
  for (const Case& c : cases) {
    const Outcome run = Run(c.args);
    std::string shown;
    for (const auto& a : c.args) shown += a + " ";
    EXPECT_NE(run.exitCode, 0) << shown;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << shown << "\n" << run.err;
    EXPECT_FALSE(std::filesystem::exists(wav)) << shown;
  }
}

}  // namespace

namespace {

TEST_F(RenderCommand, StateSavedAfterARenderLoadsBackUnchanged) {
  const std::string first = dir.File("first.state"), second = dir.File("second.state");
  const std::string wav = dir.File("out.wav"), note = OneSecondNote();
  Outcome a = Run({"--midi", note, "-o", wav, "--param", "MasterVolume=0.25", "--save-state", first});
  ASSERT_EQ(a.exitCode, 0) << a.err;
  Outcome b = Run({"--midi", note, "-o", wav, "--state", first, "--save-state", second});
  ASSERT_EQ(b.exitCode, 0) << b.err;
  const std::string bytes = Slurp(first);
  EXPECT_GT(bytes.size(), 1000u);
  EXPECT_EQ(Slurp(second), bytes);
  Outcome missing = Run({"--midi", note, "-o", wav, "--patch", dir.File("none.zel")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("none.zel"), std::string::npos) << missing.err;
}

}  // namespace

namespace {

// Width and height from a PNG's header chunk.
std::pair<int, int> PngSize(const std::string& path) {
  const std::string bytes = Slurp(path);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto word = [&](std::size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
  };
  return {word(16), word(20)};
}

TEST_F(RenderCommand, ScreenshotDrawsTheEditorWithoutADisplay) {
  const std::filesystem::path data = dir.path() / "data";
  std::filesystem::create_directories(data / "Tarvenn Audio/Zelvane/Data");
  std::filesystem::create_directory_symlink(ZELVANE_SKIN_IMAGES, data / "Tarvenn Audio/Zelvane/Data/Images");
  ScopedEnv xdg("XDG_DATA_HOME", data.string());
  ScopedEnv display("DISPLAY", std::nullopt);
  const std::string shot = dir.File("editor.png");
  Outcome o = Run({"--screenshot", shot, "--page", "1"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_NE(o.out.find("wrote"), std::string::npos);
  EXPECT_EQ(PngSize(shot), (std::pair<int, int>{767, 638}));
  EXPECT_EQ(o.err, "") << "the skin is complete: nothing to complain about";

  o = Run({"--screenshot", shot, "--page", "3"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_NE(o.err.find("--page"), std::string::npos);
}

}  // namespace
