// A listener that remembers every change it hears, in order.
#pragma once

#include <utility>
#include <vector>

#include "params/parameter.h"

struct Recorder : ParamUpdateListener {
  std::vector<std::pair<float, Parameter*>> heard;
  void ParameterChanged(float value, Parameter* which) override { heard.emplace_back(value, which); }
};
