// Maps the automatable parameters to the host's parameter indices and reports
// every change not made by the host itself back to it as automation.
// Thread: any; NotifyHost runs on the thread that changed the parameter.
#pragma once

#include <vector>

#include "params/parameter.h"

class AutomatableParameterServer {
 public:
  virtual ~AutomatableParameterServer();

  // Appends p (its host index is its position) and listens to it.
  void AddAutomatable(Parameter* p);
  int automatableCount() const { return static_cast<int>(automatables_.size()); }
  // The parameter at a host index, or null for an index out of range.
  Parameter* Automatable(int index) const;

  // The host's own calls: never echoed back.
  void SetFromHost(int index, float normalised);
  float GetForHost(int index) const;

  virtual void NotifyHost(int index, float normalised) = 0;

  class UpdateListener : public ParamUpdateListener {
   public:
    explicit UpdateListener(AutomatableParameterServer& server) : server_(server) {}
    void ParameterChanged(float value, Parameter* which) override;

   private:
    AutomatableParameterServer& server_;
  };
  UpdateListener& updateListener() { return updateListener_; }

 private:
  std::vector<Parameter*> automatables_;
  UpdateListener updateListener_{*this};
};
