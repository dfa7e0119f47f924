// Measurements of rendered sound for tests: level, pitch and numeric health.
// Thread: pure functions; any thread.
#pragma once

#include <cstddef>
#include <span>

namespace analysis {

float Peak(std::span<const float> samples);  // largest |x|; NaN is ignored
double Rms(std::span<const float> samples);
bool HasNonFinite(std::span<const float> samples);
std::size_t CountSubnormals(std::span<const float> samples);

// Fundamental frequency in Hz of a steady periodic signal, searched between
// minHz and maxHz; 0 when no periodicity is found or the signal is too short
// (it needs a few periods of minHz). From about a second of audio the error
// is a small fraction of a hertz.
double EstimateFundamental(std::span<const float> samples, double sampleRate, double minHz = 40.0,
                           double maxHz = 4000.0);

}  // namespace analysis
