#include "engine/oscillators/dsp_component.h"

DSPComponent::DSPComponent() {
  bypass_.Init("BYPASS", 0.0f, 1.0f, Parameter::kInteger, 1);
  bypass_.SetValue(1.0f);
  AddParameter(&bypass_);
}
