#include "engine/oscillators/wave_set.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <numbers>
#include <utility>

#include "engine/oscillators/wave_builder.h"

namespace {

constexpr double kNoLimit = std::numeric_limits<double>::infinity();

bool PowerOfTwo(int n) {
  return n > 0 && (n & (n - 1)) == 0;
}

void SetPartials(WaveBuilder& b, WaveSet::Kind shape) {
  b.ClearSpectrum();
  for (int h = 1; h < b.binCount(); ++h) {
    if (shape == WaveSet::kSquare && h % 2 == 0) continue;
    b.SetPartial(h, 1.0f / static_cast<float>(h), 0.0f);
  }
}

std::vector<int> BuiltInCounts(int levels, int length) {
  std::vector<int> counts(static_cast<std::size_t>(levels));
  for (int m = 0; m < levels; ++m)
    counts[static_cast<std::size_t>(m)] = BuiltInHarmonics(m, length) + 1;
  return counts;
}

// Ramp or square levels at the usual size, one lane's worth, made once per
// process: every reset builds them, and copying beats transforming again.
std::vector<float> MakeShape(WaveSet::Kind shape) {
  constexpr int n = WaveSet::kBuiltInLength;
  WaveBuilder b(n);
  SetPartials(b, shape);
  std::vector<float> levels(static_cast<std::size_t>(n) * WaveSet::kLevels);
  b.Synthesise(BuiltInCounts(WaveSet::kLevels, n), [&](int m, const float* cycle) {
    std::copy_n(cycle, n, levels.begin() + static_cast<std::ptrdiff_t>(m) * n);
  });
  return levels;
}

const std::vector<float>& StandardShape(WaveSet::Kind shape) {
  if (shape == WaveSet::kRamp) {
    static const std::vector<float> ramp = MakeShape(WaveSet::kRamp);
    return ramp;
  }
  static const std::vector<float> square = MakeShape(WaveSet::kSquare);
  return square;
}

void WriteLane(WaveTables& t, int level, int lane, const float* cycle) {
  float* out = t.mutableLevel(level) + lane;
  for (int k = 0; k < t.length(); ++k) out[4 * k] = cycle[k];
}

}  // namespace

WaveSet::WaveSet() = default;
WaveSet::~WaveSet() = default;

bool WaveSet::ValidSize(int length, int levels) {
  return PowerOfTwo(length) && length >= 2 && length <= kMaxLength && levels >= 1 &&
         levels <= kLevels;
}

WaveBuilder& WaveSet::Builder() {
  if (!builder_ || builder_->length() != length())
    builder_ = std::make_unique<WaveBuilder>(length());
  return *builder_;
}

void WaveSet::Publish(std::unique_ptr<WaveTables> t) {
  Install(std::shared_ptr<const WaveTables>(std::move(t)));
}

void WaveSet::Install(std::shared_ptr<const WaveTables> t) {
  if (t == owned_) return;
  LevelForFrequencyIndex(1);  // the lookup is built here, never on the audio thread
  current_.store(t.get(), std::memory_order_release);
  std::shared_ptr<const WaveTables> old = std::exchange(owned_, std::move(t));
  if (old && fence_) fence_();  // a block that began with the old tables has ended
}

void WaveSet::FillBuiltIn(WaveTables& t, int lane, Kind kind) {
  const int n = t.length();
  if (kind == kRamp || kind == kSquare) {
    if (n == kBuiltInLength) {
      const std::vector<float>& shape = StandardShape(kind);
      for (int m = 0; m < t.levels(); ++m)
        WriteLane(t, m, lane, shape.data() + static_cast<std::ptrdiff_t>(m) * n);
      return;
    }
    WaveBuilder& b = Builder();
    SetPartials(b, kind);
    b.Synthesise(BuiltInCounts(t.levels(), n),
                 [&](int m, const float* cycle) { WriteLane(t, m, lane, cycle); });
    return;
  }
  std::vector<float> cycle(static_cast<std::size_t>(n), 0.0f);
  if (kind == kSine) {  // pure already: no band limit needed
    for (int k = 0; k < n; ++k) {
      cycle[static_cast<std::size_t>(k)] =
          static_cast<float>(std::sin(2.0 * std::numbers::pi * k / n));
    }
  }
  for (int m = 0; m < t.levels(); ++m) WriteLane(t, m, lane, cycle.data());
}

void WaveSet::Synthesise(WaveTables& t, int lane, double limit, bool keepSource) {
  std::vector<int> counts(static_cast<std::size_t>(t.levels()));
  for (int m = 0; m < t.levels(); ++m)
    counts[static_cast<std::size_t>(m)] = UserBinCount(m, t.length(), limit);
  Builder().Synthesise(
      counts, [&](int m, const float* cycle) { WriteLane(t, m, lane, cycle); }, keepSource);
}

std::shared_ptr<const WaveTables> WaveSet::SharedBuiltIns(const Kinds& kinds) {
  struct Key {
    Kinds kinds;
    int length;
    int levels;
    auto operator<=>(const Key&) const = default;
  };
  static std::mutex mutex;
  static std::map<Key, std::weak_ptr<const WaveTables>> cache;
  const Key key{kinds, length(), levels_};
  {
    std::lock_guard lock(mutex);
    auto found = cache.find(key);
    if (found != cache.end()) {
      if (auto shared = found->second.lock()) return shared;
    }
  }
  // Built outside the lock: another set may be building its own meanwhile.
  auto next = std::make_unique<WaveTables>(length(), levels_);
  for (int c = 0; c < kLanes; ++c) {
    if (kinds[static_cast<std::size_t>(c)] != kSilence)
      FillBuiltIn(*next, c, kinds[static_cast<std::size_t>(c)]);
  }
  std::shared_ptr<const WaveTables> made(std::move(next));
  std::lock_guard lock(mutex);
  std::erase_if(cache, [](const auto& entry) { return entry.second.expired(); });
  std::weak_ptr<const WaveTables>& slot = cache[key];
  if (auto other = slot.lock()) return other;
  slot = made;
  return made;
}

std::unique_ptr<WaveTables> WaveSet::CopyCurrent() {
  auto next = std::make_unique<WaveTables>(length(), levels_);
  const WaveTables* old = tables();
  if (old != nullptr && old->length() == length() && old->levels() == levels_) {
    for (int m = 0; m < levels_; ++m)
      std::copy_n(old->level(m), kLanes * length(), next->mutableLevel(m));
    return next;
  }
  // Nothing of this size to copy: built-in lanes are made again, user lanes
  // have nothing to keep and stay silent.
  for (int c = 0; c < kLanes; ++c) {
    const Kind k = kinds_[static_cast<std::size_t>(c)];
    if (BuiltIn(k) && k != kSilence) FillBuiltIn(*next, c, k);
  }
  return next;
}

bool WaveSet::Resize(int length, int levels) {
  if (!ValidSize(length, levels)) return false;
  if (length == this->length() && levels == levels_) return true;
  const WaveTables* old = tables();
  const bool carry = old != nullptr && old->length() == this->length() && old->levels() == levels_;
  // The builder of the old length analyses the user lanes it carries over.
  std::unique_ptr<WaveBuilder> previous = std::move(builder_);
  if (carry && !previous) previous = std::make_unique<WaveBuilder>(this->length());
  length_.store(length, std::memory_order_relaxed);
  levels_ = levels;
  if (std::ranges::all_of(kinds_, BuiltIn)) {
    Install(SharedBuiltIns(kinds_));
    return true;
  }
  auto next = std::make_unique<WaveTables>(length, levels);
  for (int c = 0; c < kLanes; ++c) {
    const Kind k = kinds_[static_cast<std::size_t>(c)];
    if (BuiltIn(k)) {
      if (k != kSilence) FillBuiltIn(*next, c, k);
    } else if (k == kUser && carry) {
      previous->Analyse(old->level(0) + c, kLanes);
      Builder().TakeSpectrum(*previous);
      Synthesise(*next, c, kNoLimit, false);
    }
  }
  Install(std::move(next));
  return true;
}

void WaveSet::BuildBuiltIn(int lane, Kind kind) {
  if (!ValidLane(lane) || !BuiltIn(kind)) return;
  Kinds kinds = kinds_;
  kinds[static_cast<std::size_t>(lane)] = kind;
  BuildBuiltIns(kinds);
}

void WaveSet::BuildBuiltIns(const Kinds& wanted) {
  Kinds kinds = kinds_;
  for (std::size_t c = 0; c < kinds.size(); ++c) {
    if (BuiltIn(wanted[c])) kinds[c] = wanted[c];
  }
  if (std::ranges::all_of(kinds, BuiltIn)) {
    Install(SharedBuiltIns(kinds));
  } else {
    std::unique_ptr<WaveTables> next = CopyCurrent();
    for (int c = 0; c < kLanes; ++c) {
      const Kind k = wanted[static_cast<std::size_t>(c)];
      if (BuiltIn(k)) FillBuiltIn(*next, c, k);
    }
    Install(std::move(next));
  }
  kinds_ = kinds;
}

void WaveSet::BuildFromPartials(int lane, std::span<const float> amplitudes,
                                std::span<const float> phases) {
  if (!ValidLane(lane)) return;
  std::unique_ptr<WaveTables> next = CopyCurrent();  // before the spectrum: it may use the builder
  WaveBuilder& b = Builder();
  b.ClearSpectrum();
  const std::size_t count = amplitudes.size();
  for (std::size_t h = 1; h < count && h < static_cast<std::size_t>(b.binCount()); ++h) {
    b.SetPartial(static_cast<int>(h), amplitudes[h - 1],
                 h - 1 < phases.size() ? phases[h - 1] : 0.0f);
  }
  Synthesise(*next, lane, static_cast<double>(count), false);
  kinds_[static_cast<std::size_t>(lane)] = kUser;
  Install(std::move(next));
}

bool WaveSet::BuildFromSamples(int lane, std::span<const float> samples, std::optional<int> cap) {
  if (!ValidLane(lane) || samples.size() > static_cast<std::size_t>(kMaxLength)) return false;
  const int n = static_cast<int>(samples.size());
  if (!ValidSize(n, levels_) || !Resize(n, levels_)) return false;
  std::unique_ptr<WaveTables> next = CopyCurrent();
  WaveBuilder& b = Builder();
  b.Analyse(samples.data(), 1);
  Synthesise(*next, lane, cap ? static_cast<double>(*cap) : kNoLimit, true);
  kinds_[static_cast<std::size_t>(lane)] = kUser;
  Install(std::move(next));
  return true;
}

void WaveSet::AnalyseLane(int lane, std::span<float> amplitudes, std::span<float> phases) {
  std::ranges::fill(amplitudes, 0.0f);
  std::ranges::fill(phases, 0.0f);
  const WaveTables* t = tables();
  if (!ValidLane(lane) || t == nullptr || t->length() != length() || t->levels() < 1) return;
  WaveBuilder& b = Builder();
  b.Analyse(t->level(0) + lane, kLanes);
  for (std::size_t i = 0; i < amplitudes.size(); ++i)
    amplitudes[i] = b.Magnitude(static_cast<int>(i) + 1);
  for (std::size_t i = 0; i < phases.size(); ++i) phases[i] = b.Phase(static_cast<int>(i) + 1);
}
