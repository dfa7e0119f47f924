#include "engine/oscillators/wave_set.h"

void WaveSet::Publish(std::unique_ptr<WaveTables> t) {
  current_.store(t.get(), std::memory_order_release);
  std::unique_ptr<WaveTables> old = std::move(owned_);
  owned_ = std::move(t);
  if (old && fence_) fence_();  // a block that began with the old tables has ended
}

void WaveSet::SetUserSamples(int lane, const std::vector<float>& samples) {
  const int length = static_cast<int>(samples.size());
  // New storage: the other lanes are copied when they share the length.
  auto next = std::make_unique<WaveTables>(length, kLevels);
  const WaveTables* old = tables();
  for (int m = 0; m < kLevels; ++m) {
    float* level = next->mutableLevel(m);
    const float* previous = old != nullptr && old->length() == length && m < old->levels() ? old->level(m) : nullptr;
    for (int k = 0; k < length; ++k) {
      for (int c = 0; c < kLanes; ++c) {
        level[4 * k + c] = c == lane ? samples[static_cast<std::size_t>(k)]
                                     : previous != nullptr ? previous[4 * k + c] : 0.0f;
      }
    }
  }
  kinds_[static_cast<std::size_t>(lane)] = kUser;
  length_ = length;
  Publish(std::move(next));
}
