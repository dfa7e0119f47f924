// What a host sees of the plug-in through its AEffect record and dispatcher.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin_host.h"
#include "shell/editor_commands.h"

using namespace zhost;

namespace {

PluginLibrary& Library() {
  static PluginLibrary library(ZELVANE_PLUGIN_PATH);
  return library;
}

class PluginInterface : public ::testing::Test {
 protected:
  PluginInstance plugin{Library()};
};

TEST_F(PluginInterface, AEffectRecordIsFilledAsPublished) {
  const vst2::AEffect* e = plugin.effect();
  EXPECT_EQ(e->magic, vst2::kEffectMagic);
  EXPECT_EQ(e->numPrograms, 0);
  EXPECT_EQ(e->numParams, 40);
  EXPECT_EQ(e->numInputs, 0);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags, 0x131);  // replacing, program chunks, synth, editor
  EXPECT_EQ(e->uniqueID, vst2::FourCC('T', 'v', 'Z', '1'));
  EXPECT_EQ(e->uniqueID, 0x54765A31);
  EXPECT_EQ(e->version, 1);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_FLOAT_EQ(e->ioRatio, 1.0f);
  EXPECT_NE(e->processReplacing, nullptr);
  EXPECT_NE(e->process, nullptr);
  EXPECT_NE(e->processDoubleReplacing, nullptr);
  EXPECT_EQ(e->resvd2, 0);  // host-reserved fields are left alone
}

TEST_F(PluginInterface, NamesAndVersions) {
  EXPECT_EQ(plugin.EffectName(), "Zelvane");
  EXPECT_EQ(plugin.ProductString(), "Zelvane");
  EXPECT_EQ(plugin.VendorString(), "Tarvenn Audio");
  EXPECT_EQ(plugin.Dispatch(vst2::effGetVstVersion), 2400);
  EXPECT_EQ(plugin.Dispatch(vst2::effGetVendorVersion), 0);
  EXPECT_EQ(plugin.Dispatch(vst2::effGetTailSize), 0);
  EXPECT_EQ(plugin.Dispatch(vst2::effGetPlugCategory), vst2::kPlugCategSynth);
  EXPECT_EQ(plugin.Dispatch(vst2::effIdentify), vst2::FourCC('N', 'v', 'E', 'f'));
  EXPECT_EQ(plugin.Dispatch(vst2::effGetProgram), 0);
}

TEST_F(PluginInterface, CanDoAnswersOnlyTheReceiveCapabilities) {
  EXPECT_EQ(plugin.CanDo("receiveVstEvents"), 1);
  EXPECT_EQ(plugin.CanDo("receiveVstMidiEvent"), 1);
  for (const char* other : {"bypass", "sendVstEvents", "receiveVstTimeInfo", "", "offline",
                            "receiveVstEventsX"}) {
    EXPECT_EQ(plugin.CanDo(other), -1) << other;
  }
  EXPECT_EQ(plugin.Dispatch(vst2::effCanDo, 0, 0, nullptr), -1);
}

TEST_F(PluginInterface, EveryTextFitsTheHostsBuffers) {
  // Hosts size these buffers at 64 bytes; fill ours with a marker beyond that.
  const vst2::VstInt32 textOpcodes[] = {vst2::effGetEffectName, vst2::effGetVendorString,
                                        vst2::effGetProductString, vst2::effGetProgramName,
                                        vst2::effGetParamLabel, vst2::effGetParamDisplay};
  for (vst2::VstInt32 op : textOpcodes) {
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    plugin.Dispatch(op, 0, 0, buffer);
    EXPECT_LT(strnlen(buffer, sizeof buffer), 64u) << "opcode " << op;
    EXPECT_EQ(buffer[100], 'x') << "opcode " << op << " wrote past 64 bytes";
  }
  for (int i = -3; i < 45; ++i) {
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    plugin.Dispatch(vst2::effGetParamName, i, 0, buffer);
    EXPECT_LT(strnlen(buffer, sizeof buffer), 64u) << "parameter " << i;
  }
}

TEST_F(PluginInterface, EditorRectangleIsKnownBeforeOpening) {
  vst2::ERect* rect = nullptr;
  ASSERT_EQ(plugin.Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->right, 767);
  EXPECT_EQ(rect->bottom, 638);
  EXPECT_EQ(plugin.Dispatch(vst2::effEditGetRect, 0, 0, nullptr), 0);
}

TEST_F(PluginInterface, EditorOpcodesInAnyOrderAreSafe) {
  using namespace editor_commands;
  plugin.Dispatch(vst2::effEditIdle);   // idle without an editor
  plugin.Dispatch(vst2::effEditClose);  // close without opening
  // No window to open in: refused, and nothing else changes.
  EXPECT_EQ(plugin.Dispatch(vst2::effEditOpen, 0, 0, nullptr), 0);
  vst2::ERect* rect = nullptr;
  EXPECT_EQ(plugin.Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 767);
  EXPECT_EQ(rect->bottom, 638);
  // Our host's headless editor goes through the same loader.
  EXPECT_EQ(plugin.Dispatch(vst2::effVendorSpecific, kTag, kOpenHeadless), 1);
  EXPECT_EQ(plugin.Dispatch(vst2::effVendorSpecific, kTag, kOpenHeadless), 1);  // twice
  plugin.Dispatch(vst2::effEditIdle);
  plugin.Dispatch(vst2::effEditClose);
  plugin.Dispatch(vst2::effEditClose);
  EXPECT_EQ(plugin.Dispatch(vst2::effVendorSpecific, kTag, kAdvance, nullptr, 100.0f), 0) << "closed";
  EXPECT_EQ(plugin.Dispatch(vst2::effVendorSpecific, kTag, kOpenHeadless), 1);
  EXPECT_EQ(plugin.Dispatch(vst2::effVendorSpecific, 1234, kOpenHeadless), 0) << "not our tag";
  // The instance is closed with its editor open when the fixture ends.
}

TEST_F(PluginInterface, SwitchingOnAsksForMidiEveryTime) {
  EXPECT_EQ(plugin.wantMidiCount(), 0);
  plugin.Dispatch(vst2::effMainsChanged, 0, 0);
  EXPECT_EQ(plugin.wantMidiCount(), 0);
  plugin.Dispatch(vst2::effMainsChanged, 0, 1);
  plugin.Dispatch(vst2::effMainsChanged, 0, 1);  // hosts resume twice
  EXPECT_EQ(plugin.wantMidiCount(), 2);
}

TEST_F(PluginInterface, ScannerSequenceWithoutSampleRate) {
  // A scanner opens, sets no rate (or 0), asks names and closes.
  plugin.Dispatch(vst2::effOpen);
  plugin.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 0.0f);
  plugin.Dispatch(vst2::effSetBlockSize, 0, 0);
  for (int i = 0; i < plugin.NumParams(); ++i) {
    EXPECT_EQ(plugin.Dispatch(vst2::effCanBeAutomated, i), 1);
    EXPECT_EQ(plugin.Dispatch(vst2::effGetParameterProperties, i, 0, nullptr), 0);
    plugin.ParameterName(i);
  }
  plugin.Dispatch(vst2::effMainsChanged, 0, 0);
  EXPECT_EQ(plugin.EffectName(), "Zelvane");
}

TEST_F(PluginInterface, ParameterIndicesOutOfRangeAreHarmless) {
  for (int index : {-1, 40, 41, 1000, -100000}) {
    plugin.SetParameter(index, 0.5f);
    EXPECT_EQ(plugin.GetParameter(index), 0.0f);
    EXPECT_EQ(plugin.ParameterName(index), "");
  }
  EXPECT_TRUE(plugin.TakeAutomation().empty());
}

TEST_F(PluginInterface, FortyNamedParametersInTheirFixedOrder) {
  std::vector<std::string> expected;
  for (int pad = 1; pad <= 6; ++pad) {
    expected.push_back(std::to_string(pad) + " : X");
    expected.push_back(std::to_string(pad) + " : Y");
  }
  for (const char* name :
       {"Freeze Position", "MasterVolume", "PitchBendRange", "DELAY_ENABLED", "DELAY_TIME",
        "DELAY_FEEDBACK", "DELAY_MIX", "DELAY_STEREO", "REVERB_ENABLED", "REVERB_TIME",
        "REVERB_SIZE", "REVERB_MIX", "DISTORTION_ENABLED", "DISTORTION_CRUNCH", "DISTORTION_DRIVE",
        "DISTORTION_OUTPUT", "DISTORTION_HIGHCUT", "STEREOFILTER_ENABLED", "STEREOFILTER_CUTOFF",
        "STEREOFILTER_ENABLED", "STEREOFILTER_CUTOFF", "", "", "", "", "KeyMode", "Polyphony",
        "PortamentoTime"}) {
    expected.push_back(name);
  }
  ASSERT_EQ(expected.size(), 40u);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(plugin.ParameterName(i), expected[i]) << "index " << i;
}

TEST_F(PluginInterface, NormalisedValuesFollowRangesAndCurves) {
  plugin.SetParameter(38, 0.5f);  // Polyphony 2..16: 9
  EXPECT_FLOAT_EQ(plugin.GetParameter(38), 0.5f);
  plugin.SetParameter(38, 0.52f);  // 9.28 holds 9
  EXPECT_FLOAT_EQ(plugin.GetParameter(38), 0.5f);
  plugin.SetParameter(39, 0.5f);  // PortamentoTime, cubic: holds 0.125, reads back 0.5
  EXPECT_NEAR(plugin.GetParameter(39), 0.5f, 1e-6);
  plugin.SetParameter(14, 0.0f);  // PitchBendRange starts at 1 semitone
  EXPECT_FLOAT_EQ(plugin.GetParameter(14), 0.0f);
  plugin.SetParameter(14, 0.3f);  // 1 + 11 x 0.3 = 4.3 holds 4
  EXPECT_NEAR(plugin.GetParameter(14), 3.0f / 11.0f, 1e-6);
  plugin.SetParameter(0, 0.75f);  // pad 1 X, -1..1
  EXPECT_FLOAT_EQ(plugin.GetParameter(0), 0.75f);
}

TEST_F(PluginInterface, HostChangesAreNotEchoedButTheInstrumentsOwnAre) {
  for (int i = 0; i < plugin.NumParams(); ++i) plugin.SetParameter(i, 0.25f);
  plugin.SetParameter(3, 1.7f);  // clamped into the normalised range
  EXPECT_LE(plugin.GetParameter(3), 1.0f);
  EXPECT_TRUE(plugin.TakeAutomation().empty());
  // The first master cutoff above the second drags the second along: the
  // instrument changed it, so the host hears about it.
  plugin.SetParameter(32, 0.5f);
  plugin.SetParameter(30, 0.8f);
  const auto automation = plugin.TakeAutomation();
  ASSERT_EQ(automation.size(), 1u);
  EXPECT_EQ(automation[0].index, 32);
  EXPECT_NEAR(automation[0].value, 0.8f, 1e-5);
  EXPECT_NEAR(plugin.GetParameter(32), 0.8f, 1e-5);
}

TEST_F(PluginInterface, ChunkCallsWithoutDataAreRefused) {
  EXPECT_EQ(plugin.Dispatch(vst2::effSetChunk, 0, 0, nullptr), 0);
  EXPECT_EQ(plugin.Dispatch(vst2::effSetChunk, 0, -5, nullptr), 0);
  EXPECT_EQ(plugin.Dispatch(vst2::effGetChunk, 0, 0, nullptr), 0);
  void* data = nullptr;
  const auto size = plugin.Dispatch(vst2::effGetChunk, 0, 0, &data);
  EXPECT_GE(size, 0);
  if (size > 0) {
    EXPECT_NE(data, nullptr);
  }
}

TEST(PluginEntry, RefusesAHostThatAnswersNoVersion) {
  PluginInstance::SetVersionAnswer(0);
  EXPECT_THROW(PluginInstance plugin(Library()), HostError);
  PluginInstance::SetVersionAnswer(2400);
  EXPECT_NO_THROW(PluginInstance plugin(Library()));
}

TEST(PluginEntry, EntryPointRefusesANullCallback) {
  EXPECT_EQ(Library().entry()(nullptr), nullptr);
}

TEST(PluginEntry, TwoInstancesAreIndependent) {
  PluginInstance a(Library());
  PluginInstance b(Library());
  EXPECT_NE(a.effect(), b.effect());
  a.SetParameter(5, 0.25f);
  b.SetParameter(5, 0.75f);
  EXPECT_NEAR(a.GetParameter(5), 0.25f, 1e-6);
  EXPECT_NEAR(b.GetParameter(5), 0.75f, 1e-6);
}

}  // namespace
