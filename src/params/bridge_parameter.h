// A parameter that stands for another, retargetable one: controls bind to the
// bridge, and moving the bridge to another target moves all of them at once.
// Reads and writes go to the target; the bridge's own listeners hear every
// change of the target. GetValue, GetRange and IsAscending (and so
// GetIntValue and the two-argument SetValue) keep to the bridge's own fields.
// Without a target every delegated read answers 0 (or the empty name) and
// every delegated write does nothing.
// Thread: SetTarget under the instrument's mutex on the user-interface
// thread; the rest from any thread, as for a plain parameter.
#pragma once

#include <string>

#include "params/parameter.h"
#include "params/parameter_controller.h"

class BridgeParameter : public Parameter, public ParameterController {
 public:
  BridgeParameter() = default;
  ~BridgeParameter() override = default;

  // Stops listening to the old target, then listens to p (may be null).
  void SetTarget(Parameter* p);
  Parameter* target() const { return target_.load(std::memory_order_acquire); }
  virtual float GetTargetValue() const;

  int GetType() const override;
  int GetStorageKind() const override;
  const std::string& GetName() const override;
  bool HasName(const std::string& text) const override;
  float GetMinimum() const override;
  float GetMaximum() const override;
  bool GetBool() const override;
  // The target's SetBool, then (1 or 0, bridge) to the bridge's listeners.
  void SetBool(bool b) override;
  void NotifyListeners() override;
  float SetNormalized(float n, ParamUpdateListener* source) override;
  float GetNormalized() const override;
  float Denormalize(float n) const override;
  float Normalize(float v) const override;

  using Parameter::SetValue;
  // The target's SetValue (its listeners, this bridge among them, hear it),
  // then (the value it answered, bridge) to the bridge's listeners: they hear
  // the change twice.
  float SetValue(float v) override;

  // A change of the target, passed on as (its value, bridge).
  void ParameterChanged(float value, Parameter* which) override;

 private:
  std::atomic<Parameter*> target_{nullptr};
};
