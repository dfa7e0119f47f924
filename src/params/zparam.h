// An edit proxy: a parameter standing for value `index` of timeline line
// `group` of the breakpoint being edited. The value lives with the timeline's
// owner; the proxy fetches it on every read and notification, and hands every
// change written into it back to the owner through its own listener part.
// Thread: user-interface thread (editor) or the host's parameter thread.
#pragma once

#include "params/parameter.h"
#include "params/timeline_edit_owner.h"

class ZParam : public Parameter, public ParamUpdateListener {
 public:
  ZParam() = default;
  ~ZParam() override;

  // Storage kind 1, empty name, linear curve, value and previous value =
  // start. Adds the proxy to owner.proxyHost(), then subscribes its own
  // listener part to itself.
  void Init(TimelineEditOwner& owner, int group, int index, float start, float end, int type);

  // The owner's current value (rounded when integer), stored as the value.
  float GetNormalized() const override;
  // Fetches as GetNormalized does and tells every listener but the proxy's
  // own listener part, so a refresh is not written back.
  void NotifyListeners() override;
  // The own listener part: a change written into the proxy goes to the owner.
  void ParameterChanged(float value, Parameter* which) override;

  TimelineEditOwner* editOwner() const { return editOwner_; }
  int group() const { return group_; }
  int index() const { return index_; }
  ParamUpdateListener* selfListener() { return static_cast<ParamUpdateListener*>(this); }

 private:
  // Reads the owner's value, rounds it when integer and keeps it as value.
  float FetchValue() const;

  TimelineEditOwner* editOwner_ = nullptr;
  int group_ = 1;
  int index_ = 0;
};
