#include "params/automatable_parameter_server.h"

#include <algorithm>
#include <cmath>

AutomatableParameterServer::~AutomatableParameterServer() = default;

void AutomatableParameterServer::AddAutomatable(Parameter* p) {
  automatables_.push_back(p);
  p->Subscribe(&updateListener_);
}

Parameter* AutomatableParameterServer::Automatable(int index) const {
  if (index < 0 || index >= static_cast<int>(automatables_.size())) return nullptr;
  return automatables_[static_cast<std::size_t>(index)];
}

void AutomatableParameterServer::SetFromHost(int index, float normalised) {
  Parameter* p = Automatable(index);
  if (p == nullptr) return;
  if (!std::isfinite(normalised)) return;
  p->SetFromHost(std::clamp(normalised, 0.0f, 1.0f), &updateListener_);
}

float AutomatableParameterServer::GetForHost(int index) const {
  Parameter* p = Automatable(index);
  return p == nullptr ? 0.0f : p->GetNormalized();
}

void AutomatableParameterServer::UpdateListener::ParameterChanged(float /*value*/,
                                                                 Parameter* which) {
  const auto& list = server_.automatables_;
  auto it = std::find(list.begin(), list.end(), which);
  if (it == list.end()) return;
  server_.NotifyHost(static_cast<int>(it - list.begin()), which->GetNormalized());
}
