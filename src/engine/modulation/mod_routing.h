// Modulation sources, targets and the routing rows between them. Sources
// fill a breakpoint list of their values over the coming block; a routing
// scales such a list by its amount and adds it into a target's input.
// Thread: audio thread (inside a voice's render); rows are edited under the
// instrument's mutex.
#pragma once

#include <vector>

#include "engine/envelope/envelope.h"

class ZModSource {
 public:
  explicit ZModSource(int outputs) : outputs_(static_cast<std::size_t>(outputs), ZModValues(1)) {}
  virtual ~ZModSource() = default;
  // Appends this source's values for frames 0..frames to the cleared list.
  virtual void ComputeOutput(ZModValues& list, int frames, int output) = 0;
  ZModValues& output(int i) { return outputs_[static_cast<std::size_t>(i)]; }
  int outputCount() const { return static_cast<int>(outputs_.size()); }

 private:
  std::vector<ZModValues> outputs_;
};

class ZModTarget {
 public:
  explicit ZModTarget(int inputs) : inputs_(static_cast<std::size_t>(inputs), ZModValues(1)) {}
  virtual ~ZModTarget() = default;
  // Called after a routing has added into the input.
  virtual void InputChanged(int /*input*/) {}
  ZModValues& input(int i) { return inputs_[static_cast<std::size_t>(i)]; }
  int inputCount() const { return static_cast<int>(inputs_.size()); }

 private:
  std::vector<ZModValues> inputs_;
};

// One routing row. A layer's settings keep the menu identifiers in
// sourceOutput and targetInput (the references stay empty); a voice's rows
// hold the resolved references.
struct ModRouting {
  bool enabled = false;
  ZModSource* source = nullptr;
  int sourceOutput = -1;
  ZModTarget* target = nullptr;
  int targetInput = -1;
  float amount = 0.0f;
  bool amountFromLine = true;
  bool voiceTarget = true;
};
