// zelvane-render: renders a MIDI file (or the built-in demo) through a VST 2
// instrument into a WAV file. This file only reads the command line; the
// work is in render_job.
#include <getopt.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "demo_song.h"
#include "editor_screenshot.h"
#include "editor_session.h"
#include "midi_file.h"
#include "persist/data_folders.h"
#include "persist/preset_library.h"
#include "render_job.h"

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void PrintHelp(std::FILE* out) {
  std::fputs(
      "Usage: zelvane-render [options]\n"
      "Renders a MIDI file through a VST 2 instrument into a WAV file.\n"
      "\n"
      "  --plugin PATH        plug-in to load (default: ZelvaneWinVst.so beside this program)\n"
      "  --midi FILE          Standard MIDI File to play (default: the built-in demo)\n"
      "  -o, --output FILE    WAV file to write (default: demo.wav)\n"
      "  --rate HZ            sample rate (default: 44100)\n"
      "  --block N            block size in frames (default: 512)\n"
      "  --tempo BPM          tempo for MIDI files that set none (default: 120)\n"
      "  --tail SECONDS       time rendered after the last note-off (default: 2)\n"
      "  --bits 16|24|32      sample format; 32 is float (default: 24)\n"
      "  --param INDEX=VALUE  set a parameter (normalised 0..1) before rendering;\n"
      "  --param NAME=VALUE     repeatable, NAME as the plug-in reports it\n"
      "  --list-params        print index, name and value of every parameter, then exit\n"
      "  --patch FILE.zel     load a patch file into the plug-in before rendering\n"
      "  --state FILE         load a saved state chunk before rendering\n"
      "  --save-state FILE    save the plug-in's state chunk after rendering\n"
      "  --list-patches       list the patch library (category/name), then exit\n"
      "  --editor             open the plug-in's editor in a window of its own (needs an\n"
      "                         X display; exit status 2 without one) and play the demo\n"
      "                         or --midi FILE over and over in real time, silently, until\n"
      "                         the window is closed; no WAV file is written, but\n"
      "                         --save-state saves what was edited\n"
      "  --screenshot FILE    write the editor's image as PNG without a display, then exit\n"
      "  --page N             the editor page for --screenshot: 0 synth, 1 perform, 2 preset\n"
      "  -h, --help           show this help\n",
      out);
}

double ParseNumber(const char* text, const char* option, double low, double high) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(value) || value < low || value > high) {
    char range[64];
    std::snprintf(range, sizeof range, "%g..%g", low, high);
    throw UsageError(std::string("--") + option + " wants a number in " + range + ", not '" + text +
                     "'");
  }
  return value;
}

int ParseInteger(const char* text, const char* option, long low, long high) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < low || value > high) {
    throw UsageError(std::string("--") + option + " wants a whole number in " +
                     std::to_string(low) + ".." + std::to_string(high) + ", not '" + text + "'");
  }
  return static_cast<int>(value);
}

std::string DefaultPluginPath() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "ZelvaneWinVst.so";
  return (self.parent_path() / "ZelvaneWinVst.so").string();
}

struct CommandLine {
  zhost::RenderJobOptions job;
  std::optional<std::string> midiPath;
  double tempo = 120.0;
  bool listParams = false;
  bool listPatches = false;
  bool editor = false;
  std::string screenshotPath;
  int page = 0;
  bool help = false;
};

CommandLine Parse(int argc, char** argv) {
  enum Option {
    kPlugin = 256, kMidi, kRate, kBlock, kTempo, kTail, kBits, kParam, kListParams,
    kPatch, kState, kSaveState, kListPatches, kEditor, kScreenshot, kPage
  };
  static const option kOptions[] = {{"plugin", required_argument, nullptr, kPlugin},
                                    {"midi", required_argument, nullptr, kMidi},
                                    {"output", required_argument, nullptr, 'o'},
                                    {"rate", required_argument, nullptr, kRate},
                                    {"block", required_argument, nullptr, kBlock},
                                    {"tempo", required_argument, nullptr, kTempo},
                                    {"tail", required_argument, nullptr, kTail},
                                    {"bits", required_argument, nullptr, kBits},
                                    {"param", required_argument, nullptr, kParam},
                                    {"list-params", no_argument, nullptr, kListParams},
                                    {"patch", required_argument, nullptr, kPatch},
                                    {"state", required_argument, nullptr, kState},
                                    {"save-state", required_argument, nullptr, kSaveState},
                                    {"list-patches", no_argument, nullptr, kListPatches},
                                    {"editor", no_argument, nullptr, kEditor},
                                    {"screenshot", required_argument, nullptr, kScreenshot},
                                    {"page", required_argument, nullptr, kPage},
                                    {"help", no_argument, nullptr, 'h'},
                                    {nullptr, 0, nullptr, 0}};

  CommandLine cl;
  cl.job.pluginPath = DefaultPluginPath();
  opterr = 0;  // we report errors ourselves
  int c;
  while ((c = getopt_long(argc, argv, ":o:h", kOptions, nullptr)) != -1) {
    switch (c) {
      case kPlugin:
        cl.job.pluginPath = optarg;
        break;
      case kMidi:
        cl.midiPath = optarg;
        break;
      case 'o':
        cl.job.outputPath = optarg;
        break;
      case kRate:
        cl.job.settings.sampleRate = ParseInteger(optarg, "rate", 1000, 1536000);
        break;
      case kBlock:
        cl.job.settings.blockSize = ParseInteger(optarg, "block", 1, 65536);
        break;
      case kTempo:
        cl.tempo = ParseNumber(optarg, "tempo", 1.0, 1000.0);
        break;
      case kTail:
        cl.job.settings.tailSeconds = ParseNumber(optarg, "tail", 0.0, 3600.0);
        break;
      case kBits:
        switch (ParseInteger(optarg, "bits", 16, 32)) {
          case 16:
            cl.job.format = zhost::WavSampleFormat::kPcm16;
            break;
          case 24:
            cl.job.format = zhost::WavSampleFormat::kPcm24;
            break;
          case 32:
            cl.job.format = zhost::WavSampleFormat::kFloat32;
            break;
          default:
            throw UsageError(std::string("--bits wants 16, 24 or 32, not '") + optarg + "'");
        }
        break;
      case kParam:
        try {
          cl.job.parameters.push_back(zhost::ParseParameterAssignment(optarg));
        } catch (const zhost::RenderError& e) {
          throw UsageError(e.what());
        }
        break;
      case kListParams:
        cl.listParams = true;
        break;
      case kPatch:
      case kState:
        // The plug-in takes a patch file or a saved chunk alike.
        if (!cl.job.stateInPath.empty()) throw UsageError("give --patch or --state once");
        cl.job.stateInPath = optarg;
        break;
      case kSaveState:
        cl.job.stateOutPath = optarg;
        break;
      case kListPatches:
        cl.listPatches = true;
        break;
      case kEditor:
        cl.editor = true;
        break;
      case kScreenshot:
        cl.screenshotPath = optarg;
        break;
      case kPage:
        cl.page = ParseInteger(optarg, "page", 0, 2);
        break;
      case 'h':
        cl.help = true;
        break;
      case ':':
        throw UsageError(std::string("option ") + argv[optind - 1] + " needs a value");
      default:
        if (optopt > 0 && optopt < 128)
          throw UsageError(std::string("unknown option -") + char(optopt));
        throw UsageError(std::string("unknown option ") + argv[optind - 1]);
    }
  }
  if (optind < argc) throw UsageError(std::string("unexpected argument '") + argv[optind] + "'");
  return cl;
}

// Carriage-return progress on stderr, shown once a render has taken half a
// second and then updated a few times a second.
class Progress {
 public:
  explicit Progress(int sampleRate) : sampleRate_(sampleRate) {}
  ~Progress() {
    if (shown_) std::fputc('\n', stderr);
  }
  void operator()(std::int64_t done, std::int64_t total) {
    using namespace std::chrono_literals;
    const auto now = std::chrono::steady_clock::now();
    if (done < total ? now - last_ < (shown_ ? 200ms : 500ms) : !shown_) return;
    last_ = now;
    shown_ = true;
    std::fprintf(stderr, "\rrendering %5.1f%%  %.1f / %.1f s", 100.0 * double(done) / double(total),
                 double(done) / sampleRate_, double(total) / sampleRate_);
    std::fflush(stderr);
  }

 private:
  int sampleRate_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

int Run(const CommandLine& cl) {
  if (cl.listPatches) {
    PresetLibrary library;
    library.Init(CurrentDataFolders().patches, PatchLibraryKind());
    for (const PresetLibrary::Entry& e : library.flatList()) {
      std::printf("%s/%s\n", e.category.c_str(), e.item.c_str());
    }
    if (library.flatList().empty()) std::fprintf(stderr, "no patches in %s\n", library.root().c_str());
    return 0;
  }
  if (!std::filesystem::exists(cl.job.pluginPath)) {
    throw zhost::HostError("plug-in not found: " + cl.job.pluginPath);
  }
  // Read the MIDI file first: a bad file should not cost a plug-in start-up.
  zhost::MidiSequence sequence =
      cl.midiPath ? zhost::ReadMidiFile(*cl.midiPath, cl.tempo) : zhost::DemoSong();

  if (cl.editor) return zhost::RunEditorSession(cl.job, sequence);
  zhost::RenderJob job(cl.job);
  if (!cl.screenshotPath.empty()) {
    zhost::WriteEditorScreenshot(job.plugin(), cl.screenshotPath, cl.page);
    std::printf("wrote %s\n", cl.screenshotPath.c_str());
    return 0;
  }
  if (cl.listParams) {
    for (const auto& p : job.Parameters()) {
      std::printf("%d\t%s\t%.6f\n", p.index, p.name.c_str(), static_cast<double>(p.value));
    }
    return 0;
  }

  const std::int64_t total = zhost::RenderLengthFrames(sequence, cl.job.settings);
  std::optional<Progress> progress;
  if (total > std::int64_t{5} * cl.job.settings.sampleRate) {
    progress.emplace(cl.job.settings.sampleRate);
  }
  const zhost::RenderReport report = job.Render(sequence, [&](std::int64_t done, std::int64_t all) {
    if (progress) (*progress)(done, all);
  });
  progress.reset();
  if (!cl.job.stateOutPath.empty()) job.SaveState(cl.job.stateOutPath);

  std::printf("wrote %s\n", report.outputPath.c_str());
  std::printf("rendered %lld frames (%.3f s at %d Hz)\n",
              static_cast<long long>(report.stats.frames), report.AudioSeconds(),
              report.sampleRate);
  if (report.stats.silent) {
    std::printf("peak -inf dBFS: the render is silent (every sample is exactly zero)\n");
  } else {
    std::printf("peak %.2f dBFS\n", report.PeakDbfs());
  }
  std::printf("real-time factor %.1fx\n", report.RealTimeFactor());
  if (report.stats.nonFinite > 0) {
    std::fprintf(stderr,
                 "zelvane-render: warning: the plug-in produced %lld NaN or infinite "
                 "samples (written as 0)\n",
                 static_cast<long long>(report.stats.nonFinite));
  }
  if (report.stats.peak > 1.0f && cl.job.format != zhost::WavSampleFormat::kFloat32) {
    std::fprintf(stderr,
                 "zelvane-render: warning: the output exceeds full scale and was clipped\n");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine cl;
  try {
    cl = Parse(argc, argv);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "zelvane-render: %s\nTry 'zelvane-render --help'.\n", e.what());
    return kExitUsage;
  }
  if (cl.help) {
    PrintHelp(stdout);
    return 0;
  }
  try {
    return Run(cl);
  } catch (const zhost::MidiFileError& e) {
    std::fprintf(stderr, "zelvane-render: bad MIDI file: %s\n", e.what());
  } catch (const zhost::WavError& e) {
    std::fprintf(stderr, "zelvane-render: %s\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelvane-render: %s\n", e.what());
  }
  return kExitError;
}
