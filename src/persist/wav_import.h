// A user wave taken from a WAV file: 8, 16 or 24-bit PCM, mono or stereo.
// The file's first 32768 frames are analysed for their fundamental and
// harmonics, and the lane is built from those partials.
// Thread: the thread that owns the wave set's changes (user interface).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class WaveSet;

// Up to maxFrames frames of a WAV file as mono floats (stereo is the mean of
// both channels), or nothing when the file cannot be read or holds a format
// not covered: other sample sizes, float data, more than two channels,
// chunks running past the end of the file, no "fmt " or "data" chunk.
std::optional<std::vector<float>> ReadWavFrames(const std::string& path, std::size_t maxFrames);
// The same from the bytes of a whole file held in memory.
std::optional<std::vector<float>> ReadWavFrames(std::span<const std::uint8_t> bytes,
                                                std::size_t maxFrames);

// False, leaving the lane as it was, when the file gives no frames.
bool ImportWav(WaveSet& set, int lane, const std::string& path);
bool ImportWav(WaveSet& set, int lane, std::span<const std::uint8_t> bytes);
