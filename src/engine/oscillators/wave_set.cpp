#include "engine/oscillators/wave_set.h"

void WaveSet::Publish(std::unique_ptr<WaveTables> t) {
  current_.store(t.get(), std::memory_order_release);
  std::unique_ptr<WaveTables> old = std::move(owned_);
  owned_ = std::move(t);
  if (old && fence_) fence_();  // a block that began with the old tables has ended
}
