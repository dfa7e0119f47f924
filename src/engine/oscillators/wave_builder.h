// Spectra of single-cycle waves: partials and cycles turned into band-limited
// levels, a level analysed back into partials, and the harmonic partials of
// a recording (WAV import).
// A spectrum bin h stands for the partial a · sin(2πhk/N + φ); its
// magnitude is a and its phase φ in [0, 2π).
// Thread: a WaveBuilder belongs to one thread at a time (the user-interface
// or loader thread), never the audio thread. Plans are made and destroyed
// under FftPlannerMutex(), which every FFTW plan in the process must take.
#pragma once

#include <functional>
#include <mutex>
#include <span>
#include <vector>

struct fftwf_plan_s;

// FFTW's planner keeps global state: plan creation and destruction anywhere
// in the process go through this one mutex. Executing a plan needs no lock.
std::mutex& FftPlannerMutex();

// Frequency in Hz of MIDI note level + 1, the note table `level` is made for.
double LevelNoteFrequency(int level);
// Bins 0 .. count - 1 kept in table `level` of a user wave with N = length:
// count = ⌊min(N/2 - 1, 22050 / F, limit)⌋, limit being the partial count
// (harmonic h comes from entry h - 1, so the last entry is never used) or a
// cap. Never negative.
int UserBinCount(int level, int length, double limit);
// Highest harmonic of the built-in ramp and square in table `level`: they
// reach twice as high as user waves (harmonics 1 .. ⌈min(N/2, 44100/F) - 1⌉).
int BuiltInHarmonics(int level, int length);

class WaveBuilder {
 public:
  // length: N, a power of two from 2 on.
  explicit WaveBuilder(int length);
  ~WaveBuilder();
  WaveBuilder(const WaveBuilder&) = delete;
  WaveBuilder& operator=(const WaveBuilder&) = delete;

  int length() const { return length_; }
  int binCount() const { return length_ / 2; }

  // The working spectrum: bins 0 .. binCount() - 1 (the Nyquist bin stays 0).
  void ClearSpectrum();
  // Harmonic h (1 .. binCount() - 1); non-finite values count as 0.
  void SetPartial(int harmonic, float amplitude, float phase);
  // Replaces the spectrum by that of one cycle of length() samples, read
  // every `stride` floats. Non-finite samples count as 0.
  void Analyse(const float* cycle, int stride);
  // Copies the bins both sizes share from another builder's spectrum (a
  // cycle carried to another length keeps its partials).
  void TakeSpectrum(const WaveBuilder& other);
  float Magnitude(int bin) const;
  float Phase(int bin) const;

  // One band-limited cycle per level: table m is the inverse transform of
  // bins 0 .. counts[m] - 1, handed to sink(m, cycle). Levels that come out
  // alike share one transform. With keepSource, a level whose removed bins
  // hold nothing but rounding noise is the analysed cycle itself, so that a
  // cycle which is already band-limited is kept sample for sample.
  using Sink = std::function<void(int level, const float* cycle)>;
  void Synthesise(std::span<const int> counts, const Sink& sink, bool keepSource = false);

 private:
  void Inverse(int count);

  int length_;
  float* spectrum_ = nullptr;   // complex bins, scaled so the inverse gives the wave
  float* work_ = nullptr;       // transform input/output bins (the inverse destroys them)
  float* cycle_ = nullptr;      // transform samples
  std::vector<float> source_;   // the last analysed cycle
  double nyquistEnergy_ = 0.0;  // of that cycle, which no level keeps
  fftwf_plan_s* forward_ = nullptr;
  fftwf_plan_s* inverse_ = nullptr;
};

// Frames a recording is analysed over.
constexpr int kRecordingFrames = 32768;
// Harmonic partial amplitudes (entry h - 1 for harmonic h, kRecordingFrames
// / 2 entries) of a recording's first kRecordingFrames frames (fewer are
// padded with silence): a Hamming window, the spectrum's first peak above a
// tenth of its maximum as the fundamental, and every bin's magnitude added
// to the nearest harmonic. All zero when no fundamental is found.
std::vector<float> RecordingPartials(std::span<const float> frames);
