// A single adjustable value inside a range, with a name, change listeners, an
// optional modulation input and the value at the end of the previous block.
// Thread: values are atomics (relaxed): written by the user-interface thread,
// the host and MIDI learn, read by the audio thread. Listener lists are
// changed only while no other thread notifies (construction, editor set-up).
#pragma once

#include <array>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "params/next_buffer_listener.h"

class Parameter;
class ParameterHost;
class MidiLearnManager;

class ParamUpdateListener {
 public:
  virtual ~ParamUpdateListener() = default;
  virtual void ParameterChanged(float value, Parameter* which) = 0;
};

class ModulationTarget {
 public:
  virtual ~ModulationTarget() = default;
  virtual void ModulationTargetHook() {}
};

// The modulation signal of one block for a parameter.
struct ParameterModulationInput {
  static constexpr int kCapacity = 128;
  std::array<float, kCapacity> buffer{};
  std::atomic<bool> active{false};
};

class Parameter : public ModulationTarget, public NextBufferListener {
 public:
  enum Type { kContinuous = 0, kInteger = 1 };
  enum Curve { kLinear = 0, kCubic = 1 };
  static constexpr std::size_t kMaxNameLength = 255;  // 256 bytes with the zero

  Parameter() = default;
  Parameter(std::string name, float start, float end, int type = kContinuous,
            int storageKind = 1, int curve = kLinear);
  ~Parameter() override = default;
  Parameter(const Parameter&) = delete;
  Parameter& operator=(const Parameter&) = delete;

  // Sets name, range, type, storage kind and curve; value and previous value
  // become the start.
  void Init(std::string name, float start, float end, int type = kContinuous, int storageKind = 1,
            int curve = kLinear);

  virtual int GetType() const { return type_.load(std::memory_order_relaxed); }
  virtual bool IsContinuous() const { return GetType() == kContinuous; }
  virtual bool IsInteger() const { return GetType() == kInteger; }
  virtual float GetValue() const;
  virtual void CopyFrom(const Parameter& other) { SetValue(other.GetValue()); }
  virtual float SetValue(float v) { return SetValue(v, nullptr); }
  // Rounds, clamps, moves the old value into previous and notifies every
  // listener but source, even when the value did not change.
  virtual float SetValue(float v, ParamUpdateListener* source);
  virtual bool GetBool() const { return GetValue() >= 0.5f; }
  virtual void SetBool(bool b);
  virtual int GetIntValue() const { return static_cast<int>(GetValue()); }
  virtual int GetStorageKind() const { return storageKind_; }
  virtual const std::string& GetName() const { return name_; }
  virtual bool HasName(const std::string& text) const { return GetName() == text; }
  virtual float GetMinimum() const { return start_; }
  virtual float GetMaximum() const { return end_; }
  virtual float GetRange() const { return end_ - start_; }
  virtual bool IsAscending() const { return ascending_; }
  virtual void NotifyListeners();
  // Notifies (all but source) only when the value changes; previous value
  // stays. Answers the normalised value held afterwards.
  virtual float SetNormalized(float n, ParamUpdateListener* source);
  virtual float GetNormalized() const { return Normalize(GetValue()); }
  virtual float Denormalize(float n) const;
  virtual float Normalize(float v) const;

  // The host's setParameter: SetValue (Denormalize (n), source), source being
  // the automation listener. Goes through the virtuals so that derived
  // parameters get their own SetValue.
  virtual void SetFromHost(float n, ParamUpdateListener* source);

  float RoundAndClamp(float v) const;
  static float RoundHalfUp(float v);

  void AfterBlock() override { previous_.store(value_.load(std::memory_order_relaxed), std::memory_order_relaxed); }

  float rawValue() const { return value_.load(std::memory_order_relaxed); }
  float previousValue() const { return previous_.load(std::memory_order_relaxed); }
  const std::string& groupPrefix() const { return groupPrefix_; }
  void SetGroupPrefix(std::string prefix);
  void SetName(std::string name);
  void SetType(int type) { type_.store(type, std::memory_order_relaxed); }
  void SetCurve(int curve) { curve_.store(curve, std::memory_order_relaxed); }
  int curve() const { return curve_.load(std::memory_order_relaxed); }
  void SetStorageKind(int kind) { storageKind_ = kind; }
  void SetRange(float start, float end);
  void SetOwnerAppliesModulation(bool b) { ownerAppliesModulation_ = b; }
  ParameterHost* owner() const { return owner_; }
  void SetOwner(ParameterHost* owner) { owner_ = owner; }
  MidiLearnManager* learnManager() const { return learnManager_; }
  void SetLearnManager(MidiLearnManager* m) { learnManager_ = m; }
  ParameterModulationInput& modulationInput() { return modulation_[0]; }
  // The name as the host sees it: "prefix : name", or the bare name.
  std::string HostName() const;

  // Listeners may come and go on one thread while another notifies: each
  // notification works on a copy of the list taken under a short lock.
  void Subscribe(ParamUpdateListener* l);
  void Unsubscribe(ParamUpdateListener* l);
  // Unsubscribe, then wait until notifications running on other threads
  // have ended, so l may be destroyed at once. Never call it while holding
  // a lock a listener of this parameter may take.
  void UnsubscribeAndWait(ParamUpdateListener* l);
  std::vector<ParamUpdateListener*> listeners() const;

 protected:
  void NotifyAllBut(float value, ParamUpdateListener* source);
  // const: an edit proxy refreshes the value it holds while answering a read.
  void StoreValue(float v) const { value_.store(v, std::memory_order_relaxed); }
  void StorePrevious(float v) { previous_.store(v, std::memory_order_relaxed); }

 private:
  std::array<ParameterModulationInput, 1> modulation_;
  std::string name_;
  std::string groupPrefix_;
  mutable std::atomic<float> value_{0.0f};
  std::atomic<float> previous_{0.0f};
  float end_ = 1.0f;
  float start_ = 0.0f;
  std::atomic<int> type_{kContinuous};
  int storageKind_ = 1;
  bool ascending_ = true;
  bool ownerAppliesModulation_ = false;
  std::atomic<int> curve_{kLinear};
  ParameterHost* owner_ = nullptr;
  mutable std::mutex listenersLock_;
  std::vector<ParamUpdateListener*> listeners_;
  std::atomic<int> notifying_{0};  // notifications in progress, on any thread
  MidiLearnManager* learnManager_ = nullptr;
};
