// A control's link to the parameters it edits: it listens to every bound
// parameter and writes a normalised position into all of them at once.
// Thread: user-interface thread; ParameterChanged runs on whichever thread
// changed a bound parameter.
#pragma once

#include <vector>

#include "params/parameter.h"

class ParameterController : public ParamUpdateListener {
 public:
  ParameterController() = default;
  ~ParameterController() override;
  ParameterController(const ParameterController&) = delete;
  ParameterController& operator=(const ParameterController&) = delete;

  // Appends p and listens to it.
  void Bind(Parameter* p);
  // Stops listening to p and forgets it.
  void Unbind(Parameter* p);
  // Unbinds everything and waits for notifications still running on other
  // threads. A control calls it first thing in its own destructor, so no
  // late notification reaches a half-destroyed control.
  void UnbindAllAndWait();
  // Writes n (1 - n when inverted) into every bound parameter in order; the
  // controller itself is not told about the change it made.
  void SetNormalized(float n);

  bool inverted() const { return inverted_; }
  void SetInverted(bool inverted) { inverted_ = inverted; }
  const std::vector<Parameter*>& boundParameters() const { return bound_; }

 private:
  std::vector<Parameter*> bound_;
  bool inverted_ = false;
};
