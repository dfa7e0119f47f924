// The emulated sustain pedal and the controller 64 it sends.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "params/midi_learn_manager.h"
#include "params/sustain_pedal_emulator.h"

namespace {

using Event = std::array<int, 5>;

// Records events and, like the instrument, decodes them and passes them on.
struct Listener : MidiEventListener, MidiEventSource {
  std::vector<Event> events;
  std::vector<std::string> pedal;
  void SustainOn(int channel, int offset) override { pedal.push_back("on " + std::to_string(channel + offset)); }
  void SustainOff(int channel, int offset) override { pedal.push_back("off " + std::to_string(channel + offset)); }
  void HandleEvent(int channel, int kind, int data1, int data2, int offset) override {
    events.push_back({channel, kind, data1, data2, offset});
    Decode(channel, kind, data1, data2, offset);
    ForwardEvent(channel, kind, data1, data2, offset);
  }
};

TEST(SustainPedalEmulator, SendsController64ToListenersAndTheirs) {
  SustainPedalEmulator pedal;
  Listener instrument, modSource;
  MidiLearnManager learn;
  Parameter x("X", 0.0f, 1.0f);
  learn.SetLearnTarget(&x);
  instrument.AddMidiListener(&modSource);
  instrument.AddMidiListener(&learn);
  pedal.AddMidiListener(&instrument);
  EXPECT_EQ(pedal.sustain().GetName(), "Sustain");
  EXPECT_FALSE(pedal.sustain().GetBool());

  pedal.sustain().SetValue(1.0f);
  pedal.sustain().SetValue(0.4f);  // an integer: rounds to off
  pedal.sustain().SetBool(true);
  EXPECT_EQ(instrument.pedal, (std::vector<std::string>{"on 0", "off 0", "on 0"}));
  const std::vector<Event> sent = {{0, 0xB0, 64, 127, 0}, {0, 0xB0, 64, 0, 0}, {0, 0xB0, 64, 127, 0}};
  EXPECT_EQ(instrument.events, sent);
  EXPECT_EQ(modSource.events, sent);
  // The learn manager hears a pedal, never a controller it could learn.
  EXPECT_EQ(learn.learnTarget(), &x);
  EXPECT_TRUE(learn.Mappings().empty());
}

}  // namespace
