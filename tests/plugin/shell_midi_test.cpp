// The shell's MIDI intake, automation reports and module check, with a small
// instrument of the test's own built on the same layers as the real one.
#include <gtest/gtest.h>

#include <string>
#include <array>
#include <limits>
#include <memory>
#include <vector>

#include "shell/instrument_base.h"
#include "shell/message_box.h"

namespace {

struct Call {
  std::string what;
  int channel, a, b;
  bool operator==(const Call&) const = default;
};

std::vector<vst2::VstIntPtr> automatedIndices;
std::vector<float> automatedValues;

vst2::VstIntPtr HostCallback(vst2::AEffect*, vst2::VstInt32 opcode, vst2::VstInt32 index,
                             vst2::VstIntPtr, void*, float opt) {
  if (opcode == vst2::audioMasterVersion) return 2400;
  if (opcode == vst2::audioMasterAutomate) {
    automatedIndices.push_back(index);
    automatedValues.push_back(opt);
  }
  return 0;
}

class Recorder : public MidiEventListener {
 public:
  std::vector<Call> calls;
  void NoteOn(int c, int n, int v, int) override { calls.push_back({"on", c, n, v}); }
  void NoteOff(int c, int n, int) override { calls.push_back({"off", c, n, 0}); }
  void AllNotesOff(int c) override { calls.push_back({"all off", c, 0, 0}); }
  void SustainOn(int c, int) override { calls.push_back({"sustain on", c, 0, 0}); }
  void SustainOff(int c, int) override { calls.push_back({"sustain off", c, 0, 0}); }
  void ControlChange(int c, int cc, int v, int) override { calls.push_back({"cc", c, cc, v}); }
  void PitchBend(int c, float bend, int) override {
    calls.push_back({"bend", c, static_cast<int>(bend * 64.0f), 0});
  }
  void OtherMessage(int c, int kind, int d1, int d2, int) override {
    calls.push_back({"other", c, kind, d1 * 128 + d2});
  }
};

class TestInstrument : public InstrumentBase {
 public:
  explicit TestInstrument(const std::string& moduleName = "")
      : InstrumentBase(HostCallback, Identity(moduleName), 4) {
    CreateNotes();
    parameter.Init("Level", 0.0f, 10.0f);
    AddParameter(&parameter);
    AddAutomatable(&parameter);
  }
  void RenderBlock(float*, float*, int, int) override {}
  std::unique_ptr<Note> CreateNote(int) override { return std::make_unique<Note>(); }

  Recorder own;  // what the instrument's own typed operations saw
  Parameter parameter;

  void NoteOn(int c, int n, int v, int o) override { own.NoteOn(c, n, v, o); }
  void NoteOff(int c, int n, int o) override { own.NoteOff(c, n, o); }
  void AllNotesOff(int c) override { own.AllNotesOff(c); }
  void SustainOn(int c, int o) override { own.SustainOn(c, o); }
  void SustainOff(int c, int o) override { own.SustainOff(c, o); }
  void ControlChange(int c, int cc, int v, int o) override { own.ControlChange(c, cc, v, o); }
  void PitchBend(int c, float b, int o) override { own.PitchBend(c, b, o); }
  void OtherMessage(int c, int k, int d1, int d2, int o) override {
    own.OtherMessage(c, k, d1, d2, o);
  }

  void Send(std::vector<std::array<unsigned char, 3>> messages) {
    std::vector<vst2::VstMidiEvent> events(messages.size());
    std::vector<unsigned char> storage(sizeof(vst2::VstEvents) +
                                       messages.size() * sizeof(vst2::VstEvent*));
    auto* list = reinterpret_cast<vst2::VstEvents*>(storage.data());
    list->numEvents = static_cast<vst2::VstInt32>(messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
      events[i].type = vst2::kVstMidiType;
      events[i].byteSize = sizeof(vst2::VstMidiEvent);
      for (int b = 0; b < 3; ++b) events[i].midiData[b] = static_cast<char>(messages[i][b]);
      list->events[i] = reinterpret_cast<vst2::VstEvent*>(&events[i]);
    }
    dispatcher(vst2::effProcessEvents, 0, 0, list, 0.0f);
  }

 private:
  static PluginIdentity Identity(const std::string& moduleName) {
    PluginIdentity id;
    id.numParams = 1;
    id.effectName = "Test";
    id.moduleName = moduleName;
    return id;
  }
};

TEST(ShellMidi, HostEventsAreDecodedIntoTypedOperations) {
  TestInstrument instrument;
  instrument.Send({{0x92, 60, 100},  // note on, channel 3
                   {0x92, 60, 0},    // velocity 0 is a note-off
                   {0x81, 61, 40},
                   {0xB0, 64, 63},   // the pedal is down from 64
                   {0xB0, 64, 64},
                   {0xB0, 123, 0},
                   {0xB0, 1, 99},
                   {0xE0, 0x7F, 0x40},  // only the MSB counts
                   {0xE0, 0, 0},
                   {0xD0, 77, 0},
                   {0x92, 0xC5, 0xE4}});  // data bytes keep their low seven bits
  const std::vector<Call> expected = {
      {"on", 2, 60, 100},  {"off", 2, 60, 0},      {"off", 1, 61, 0},   {"sustain off", 0, 0, 0},
      {"sustain on", 0, 0, 0}, {"all off", 0, 0, 0}, {"cc", 0, 1, 99},  {"bend", 0, 0, 0},
      {"bend", 0, -64, 0}, {"other", 0, 0xD0, 77 * 128}, {"on", 2, 0x45, 0x64}};
  EXPECT_EQ(instrument.own.calls, expected);
}

TEST(ShellMidi, ListenersHearEveryEventAfterTheInstrument) {
  TestInstrument instrument;
  Recorder listener;
  instrument.AddMidiListener(&listener);
  instrument.Send({{0xB0, 64, 127}, {0xB0, 123, 0}, {0x90, 50, 1}});
  EXPECT_EQ(listener.calls, instrument.own.calls);
  EXPECT_EQ(listener.calls.size(), 3u);
  instrument.RemoveMidiListener(&listener);
  instrument.Send({{0x90, 51, 1}});
  EXPECT_EQ(listener.calls.size(), 3u);
}

TEST(ShellMidi, MalformedEventListsAreSkipped) {
  TestInstrument instrument;
  EXPECT_EQ(instrument.dispatcher(vst2::effProcessEvents, 0, 0, nullptr, 0.0f), 1);
  unsigned char storage[sizeof(vst2::VstEvents) + sizeof(vst2::VstEvent*)] = {};
  auto* list = reinterpret_cast<vst2::VstEvents*>(storage);
  list->numEvents = 2;  // both slots null
  instrument.dispatcher(vst2::effProcessEvents, 0, 0, list, 0.0f);
  EXPECT_TRUE(instrument.own.calls.empty());
}

TEST(ShellAutomation, OnlyChangesNotMadeByTheHostAreReported) {
  TestInstrument instrument;
  automatedIndices.clear();
  automatedValues.clear();
  instrument.setParameter(0, 0.25f);
  EXPECT_TRUE(automatedIndices.empty());
  EXPECT_FLOAT_EQ(instrument.getParameter(0), 0.25f);
  instrument.parameter.SetValue(5.0f);  // an editor or a pad moved it
  ASSERT_EQ(automatedIndices.size(), 1u);
  EXPECT_EQ(automatedIndices[0], 0);
  EXPECT_FLOAT_EQ(automatedValues[0], 0.5f);
  instrument.setParameter(7, 0.5f);  // out of range: ignored
  EXPECT_EQ(instrument.getParameter(7), 0.0f);
}

std::string lastMessage;
MessageBoxAnswer RememberMessage(const std::string& text, const std::string&, MessageBoxButtons) {
  lastMessage = text;
  return MessageBoxAnswer::kOk;
}

TEST(ShellModuleCheck, AWrongLibraryNameIsReportedAndRefused) {
  MessageBoxHandler previous = SetMessageBoxHandler(RememberMessage);
  // This test program is not the plug-in library.
  EXPECT_THROW(TestInstrument instrument("ZelvaneWinVst"), std::runtime_error);
  EXPECT_EQ(lastMessage, "Expected dll for this plug-in to be called ZelvaneWinVst.so, please rename it");
  SetMessageBoxHandler(previous);
}

}  // namespace
