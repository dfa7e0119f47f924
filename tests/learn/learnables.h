// The instrument's learnable parameters in small: "X" and "Y" of pads 1 and 2
// and "Freeze Position", added to a manager in that order.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "params/midi_learn_manager.h"

struct Learnables {
  Parameter x1{"X", 0.0f, 1.0f}, y1{"Y", 0.0f, 1.0f}, x2{"X", 0.0f, 1.0f}, y2{"Y", 0.0f, 1.0f};
  Parameter freeze{"Freeze Position", 0.0f, 1.0f};
  MidiLearnManager manager;

  Learnables() {
    x1.SetGroupPrefix("1");
    y1.SetGroupPrefix("1");
    x2.SetGroupPrefix("2");
    y2.SetGroupPrefix("2");
    for (Parameter* p : all()) {
      manager.AddLearnable(p);
      p->SetLearnManager(&manager);
    }
  }
  std::array<Parameter*, 5> all() { return {&x1, &y1, &x2, &y2, &freeze}; }
  // "MIDI Learn" on p, then controller c arrives.
  void Learn(Parameter& p, int c) {
    manager.SetLearnTarget(&p);
    manager.HandleEvent(0, 0xB0, c, 0, 0);
  }
  void Move(int c, int value) { manager.HandleEvent(0, 0xB0, c, value, 0); }
};

using Pairs = std::vector<std::pair<Parameter*, int>>;

// The mappings as (parameter, controller), in order.
inline Pairs Tied(const MidiLearnManager& m) {
  Pairs result;
  for (const auto& mapping : m.Mappings()) result.emplace_back(mapping.parameter, mapping.controller);
  return result;
}
