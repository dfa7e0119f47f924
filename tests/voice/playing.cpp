#include "playing.h"

#include <cmath>
#include <numbers>

void PublishSines(WaveSet& set, bool harmonicPerLane) {
  const int length = 4096;
  auto tables = std::make_unique<WaveTables>(length, 128);
  for (int m = 0; m < 128; ++m) {
    float* level = tables->mutableLevel(m);
    for (int i = 0; i < length; ++i) {
      for (int c = 0; c < 4; ++c) {
        const int h = harmonicPerLane ? c + 1 : 1;
        level[4 * i + c] = static_cast<float>(std::sin(2.0 * std::numbers::pi * h * i / length));
      }
    }
  }
  set.Publish(std::move(tables));
}

PlayingTest::PlayingTest() {
  z->dispatcher(vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
  for (int k = 0; k < 4; ++k) PublishSines(z->voiceSettings(k).waveSet());
  // Plain, steady sound: no filter, the amplitude line flat at 1.
  for (int k = 0; k < 4; ++k) {
    z->voiceSettings(k).setting(VoiceSettings::kFilterOn).SetValue(0.0f);
    EventEnvelope& amp = z->voiceSettings(k).line(VoiceSettings::kAmplitude);
    amp.Clear();
    amp.Append(0.0f, 1.0f);
    amp.Append(10000000.0f, 1.0f);
  }
}

void PlayingTest::Play(int frames, int block) {
  std::vector<float> l(static_cast<std::size_t>(block)), r(l.size());
  for (int done = 0; done < frames; done += block) {
    const int n = std::min(block, frames - done);
    std::fill(l.begin(), l.end(), 0.0f);
    std::fill(r.begin(), r.end(), 0.0f);
    float* out[2] = {l.data(), r.data()};
    z->processReplacing(nullptr, out, n);
    left.insert(left.end(), l.begin(), l.begin() + n);
    right.insert(right.end(), r.begin(), r.begin() + n);
  }
}

void PlayingTest::SetLine(int layer, int line, std::vector<float> values) {
  EventEnvelope& l = z->voiceSettings(layer).line(line);
  l.Clear();
  Breakpoint& p = l.Append(0.0f);
  for (std::size_t i = 0; i < values.size() && i < p.values.size(); ++i) p.values[i] = values[i];
}
