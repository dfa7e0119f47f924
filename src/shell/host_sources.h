// Sample-rate, tempo and transport notifications from the host to the
// instrument's components. Thread: sample rate on the user-interface thread
// (effSetSampleRate); tempo and transport on the audio thread.
#pragma once

#include <functional>
#include <vector>

class SampleRateListener {
 public:
  virtual ~SampleRateListener() = default;
  void SetSampleRate(float rate) {
    sampleRate_ = rate;
    SampleRateChanged();
  }
  float sampleRate() const { return sampleRate_; }

 protected:
  virtual void SampleRateChanged() {}

 private:
  float sampleRate_ = 44100.0f;
};

class SampleRateSource {
 public:
  void AddSampleRateListener(SampleRateListener* l) { listeners_.push_back(l); }
  void RemoveSampleRateListener(SampleRateListener* l) { std::erase(listeners_, l); }
  float currentSampleRate() const { return rate_; }
  // Stores a changed rate and hands it to every listener in order.
  void ChangeSampleRate(float rate) {
    if (rate == rate_) return;
    rate_ = rate;
    for (SampleRateListener* l : listeners_) l->SetSampleRate(rate);
  }

 private:
  float rate_ = 44100.0f;
  std::vector<SampleRateListener*> listeners_;
};

class TempoListener {
 public:
  virtual ~TempoListener() = default;
  void SetTempo(float bpm) {
    tempo_ = bpm;
    TempoChanged();
  }
  float tempo() const { return tempo_; }

 protected:
  virtual void TempoChanged() {}

 private:
  float tempo_ = 120.0f;
};

class TempoSource {
 public:
  void AddTempoListener(TempoListener* l) { listeners_.push_back(l); }
  void RemoveTempoListener(TempoListener* l) { std::erase(listeners_, l); }
  float currentTempo() const { return tempo_; }
  // A tempo seen again notifies nobody; a listener already holding it neither.
  void ChangeTempo(float bpm) {
    if (bpm == tempo_) return;
    tempo_ = bpm;
    for (TempoListener* l : listeners_) {
      if (l->tempo() != bpm) l->SetTempo(bpm);
    }
  }

 private:
  float tempo_ = 120.0f;
  std::vector<TempoListener*> listeners_;
};

class TransportListener {
 public:
  virtual ~TransportListener() = default;
  virtual void TransportStarted() {}
  virtual void TransportStopped() {}
};

class TransportSource {
 public:
  void AddTransportListener(TransportListener* l) { listeners_.push_back(l); }
  void RemoveTransportListener(TransportListener* l) { std::erase(listeners_, l); }
  // Callbacks run on start, after the listeners. Subscribe before processing.
  void SubscribeStart(std::function<void()> callback) { callbacks_.push_back(std::move(callback)); }

  void Start() {
    for (TransportListener* l : listeners_) l->TransportStarted();
    for (auto& c : callbacks_) c();
  }
  void Stop() {
    for (TransportListener* l : listeners_) l->TransportStopped();
  }

 private:
  std::vector<TransportListener*> listeners_;
  std::vector<std::function<void()>> callbacks_;
};
