// The render path never allocates once warmed up: this program counts every
// heap allocation while an instrument plays busy MIDI for thousands of blocks.
#include <atomic>
#include <cstdlib>
#include <new>

#include "playing.h"

namespace {
std::atomic<long> allocations{0};
std::atomic<bool> counting{false};
}  // namespace

void* operator new(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
// GCC pairs this free with the replaced new it cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

TEST_F(PlayingTest, BusyPlayingAllocatesNothingAfterWarmUp) {
  for (int k = 0; k < 4; ++k) {
    VoiceSettings& s = z->voiceSettings(k);
    s.setting(VoiceSettings::kLayerOn).SetValue(1.0f);
    s.setting(VoiceSettings::kUnisonCount).SetValue(4.0f);
    s.setting(VoiceSettings::kFilterOn).SetValue(1.0f);
    s.setting(VoiceSettings::kReleaseLength).SetValue(3000.0f);
    SetLine(k, VoiceSettings::kWave, {0.3f, -0.2f, 0.6f});
    SetLine(k, VoiceSettings::kEffects, {0, 0.3f, 0.3f, 0.3f});
    // Matrix row 0: LFO1 to the vector X.
    s.routing(0) = ModRouting{true, nullptr, 0, nullptr, kVectorX, 0.0f, false, true};
    s.routing(0).amount = 0.5f;
  }
  for (int i = 0; i < 16; ++i) {
    for (int k = 0; k < 4; ++k) z->znote(i).layer(k).SyncRoutings();
  }
  z->delay().enabled().SetValue(1.0f);
  z->reverb().enabled().SetValue(1.0f);
  z->distortion().enabled().SetValue(1.0f);
  z->masterFilter(0).enabled().SetValue(1.0f);

  std::vector<float> bufferL(256), bufferR(256);
  auto busy = [&](int blocks) {
    for (int b = 0; b < blocks; ++b) {
      const int key = 40 + (b * 7) % 40;
      Key(key, 60 + b % 60, b % 256);
      if (b % 3 == 0) KeyUp(40 + ((b - 9) * 7 % 40 + 40) % 40, 17);
      if (b % 50 == 0) z->HandleEvent(0, 0xE0, 0, b % 128, 0);
      if (b % 97 == 0) z->HandleEvent(0, 0xB0, 64, b % 2 ? 127 : 0, 0);
      float* out[2] = {bufferL.data(), bufferR.data()};
      z->processReplacing(nullptr, out, 256);
    }
  };
  busy(500);  // warm-up: lists reach their working sizes
  counting = true;
  busy(3000);
  counting = false;
  EXPECT_EQ(allocations.load(), 0);
}

}  // namespace
