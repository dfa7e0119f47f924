// Editing the selected voice: bridges, edit proxies at the edit time and
// multiple selections.
#include "instrument_fixture.h"

namespace {

// Line 2 of voice 0 from (0: -1, 0, 1) to (100: 1, 0, 0).
void TwoPointWaveLine(Zelvane& z) {
  EventEnvelope& l = z.voiceSettings(0).line(VoiceSettings::kWave);
  l.Clear();
  Breakpoint& a = l.Append(0.0f);
  a.values = {-1.0f, 0.0f, 1.0f};
  Breakpoint& b = l.Append(100.0f);
  b.values = {1.0f, 0.0f, 0.0f};
}

TEST_F(InstrumentTest, BridgesFollowTheSelectedVoice) {
  z->SelectVoice(2);
  EXPECT_EQ(z->selectedVoice(), 2);
  z->bridge(2).SetValue(3.0f);  // unison count
  EXPECT_EQ(z->voiceSettings(2).setting(VoiceSettings::kUnisonCount).GetIntValue(), 3);
  EXPECT_EQ(z->voiceSettings(0).setting(VoiceSettings::kUnisonCount).GetIntValue(), 1);
  for (int b = 1; b <= Zelvane::kBridges; ++b) {
    const int target = Zelvane::kBridgeTargets[static_cast<std::size_t>(b - 1)];
    EXPECT_EQ(z->bridge(b).GetTargetValue(), z->voiceSettings(2).setting(target).GetValue()) << b;
  }
  z->SelectVoice(0);
  EXPECT_EQ(z->bridge(2).GetTargetValue(), 1.0f);
}

TEST_F(InstrumentTest, LfoSyncBridgesSwitchTheRateProxiesBetweenSteppedAndSmooth) {
  ZParam* rate1 = z->FindProxy(4, 1);
  ZParam* rate2 = z->FindProxy(4, 4);
  ASSERT_NE(rate1, nullptr);
  ASSERT_NE(rate2, nullptr);
  EXPECT_TRUE(rate1->IsContinuous());  // reset patch: sync off
  EXPECT_EQ(rate1->curve(), Parameter::kCubic);
  z->bridge(5).SetValue(1.0f);
  EXPECT_TRUE(rate1->IsInteger());
  EXPECT_EQ(rate1->curve(), Parameter::kLinear);
  EXPECT_TRUE(rate2->IsContinuous());
  z->voiceSettings(0).setting(VoiceSettings::kLfo2Sync).SetValue(1.0f);  // reaches the bridge too
  EXPECT_TRUE(rate2->IsInteger());
  z->bridge(5).SetValue(0.0f);
  EXPECT_TRUE(rate1->IsContinuous());
}

TEST_F(InstrumentTest, ProxiesReadAndWriteTheLineAtTheEditTime) {
  TwoPointWaveLine(*z);
  ZParam* x = z->FindProxy(2, 0);
  ZParam* balance = z->FindProxy(2, 2);
  z->SetEditTime(25.0f);
  EXPECT_FLOAT_EQ(z->ReadEditedValue(0, 2, 0), -0.5f);
  EXPECT_FLOAT_EQ(x->GetNormalized(), 0.25f);
  z->SetEditTime(100.0f);
  EXPECT_FLOAT_EQ(z->ReadEditedValue(0, 2, 0), 1.0f);
  z->SetEditTime(500.0f);  // after the end: the last breakpoint
  EXPECT_FLOAT_EQ(z->ReadEditedValue(0, 2, 2), 0.0f);

  z->SetEditTime(25.0f);
  x->SetValue(0.3f);  // no breakpoint at 25: one is inserted, continuing the line
  const EventEnvelope& l = z->voiceSettings(0).line(VoiceSettings::kWave);
  ASSERT_EQ(l.size(), 3);
  EXPECT_FLOAT_EQ(l[1].time, 25.0f);
  EXPECT_FLOAT_EQ(l[1].values[0], 0.3f);
  EXPECT_FLOAT_EQ(l[1].values[2], 0.75f);
  balance->SetValue(0.9f);  // the breakpoint is there now
  EXPECT_EQ(l.size(), 3);
  EXPECT_FLOAT_EQ(l[1].values[2], 0.9f);
  EXPECT_FLOAT_EQ(z->ReadEditedValue(0, 2, 2), 0.9f);
  // Another voice's line is untouched.
  EXPECT_EQ(z->voiceSettings(1).line(VoiceSettings::kWave).size(), 1);
  // An empty line reads 0.
  z->voiceSettings(0).line(VoiceSettings::kEffects).Clear();
  EXPECT_FLOAT_EQ(z->ReadEditedValue(0, 5, 1), 0.0f);
}

TEST_F(InstrumentTest, MultipleSelectionWritesAbsoluteRelativeOrNotAtAll) {
  TwoPointWaveLine(*z);
  PointSelection both{{{2, 0}, {2, 1}}};
  z->SetMultipleSelection(&both);
  ZParam* x = z->FindProxy(2, 0);
  const EventEnvelope& l = z->voiceSettings(0).line(VoiceSettings::kWave);

  x->SetValue(0.2f);  // mode 0: dropped
  EXPECT_FLOAT_EQ(l[0].values[0], -1.0f);
  EXPECT_EQ(l.size(), 2);

  z->multipleSelectionMode().SetValue(2.0f);
  x->SetValue(0.2f);
  EXPECT_FLOAT_EQ(l[0].values[0], 0.2f);
  EXPECT_FLOAT_EQ(l[1].values[0], 0.2f);

  // Relative: values -0.5 and 0.5, the proxy centred; moving it to
  // normalised 0.75 adds 0.25 x range 2 = 0.5 to both.
  z->voiceSettings(0).line(VoiceSettings::kWave)[0].values[0] = -0.5f;
  z->voiceSettings(0).line(VoiceSettings::kWave)[1].values[0] = 0.5f;
  z->multipleSelectionMode().SetValue(1.0f);
  z->SetMultipleSelection(&both);
  EXPECT_FLOAT_EQ(x->GetNormalized(), 0.5f);
  x->SetValue(x->Denormalize(0.75f));
  EXPECT_FLOAT_EQ(l[0].values[0], 0.0f);
  EXPECT_FLOAT_EQ(l[1].values[0], 1.0f);
  EXPECT_FLOAT_EQ(z->selectionOffset(2, 0), 0.25f);
  EXPECT_FLOAT_EQ(x->GetNormalized(), 0.75f);
  x->SetValue(x->Denormalize(0.25f));  // back by 0.5 of the range: -1.0
  EXPECT_FLOAT_EQ(l[0].values[0], -1.0f);
  EXPECT_FLOAT_EQ(l[1].values[0], 0.0f);
  x->SetValue(-1.0f);  // would push -1.0 out of range: nothing moves
  EXPECT_FLOAT_EQ(l[0].values[0], -1.0f);
  EXPECT_FLOAT_EQ(l[1].values[0], 0.0f);

  z->SelectVoice(0);  // selecting a voice clears the selection
  x->SetValue(0.4f);   // back to the breakpoint at the edit time (0) alone
  EXPECT_FLOAT_EQ(l[0].values[0], 0.4f);
  EXPECT_FLOAT_EQ(l[1].values[0], 0.0f);
}

}  // namespace
