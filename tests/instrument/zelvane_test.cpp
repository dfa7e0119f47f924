// The instrument as built: its initial patch, parameter reactions and the
// block loop.
#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <thread>

#include "instrument_fixture.h"

namespace {

// A host may keep an instance in a static object made before any instance
// existed, and so destroyed after everything the instance registered with.
TEST(InstrumentLifetime, AnInstanceDestroyedWhileTheProcessExitsIsSafe) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: no instance made before
  EXPECT_EXIT(
      {
        static std::unique_ptr<Zelvane> kept;
        kept = std::make_unique<Zelvane>(
            [](vst2::AEffect*, vst2::VstInt32 opcode, vst2::VstInt32, vst2::VstIntPtr, void*,
               float) -> vst2::VstIntPtr { return opcode == vst2::audioMasterVersion ? 2400 : 0; },
            InstanceOptions{""});
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(InstrumentTest, ANewInstanceIsTheInitialPatchAndTellsTheHostNothing) {
  EXPECT_TRUE(automation.empty());
  EXPECT_EQ(z->patchName(), "<untitled>");
  EXPECT_EQ(z->category(), "");
  EXPECT_TRUE(z->voiceSettings(0).setting(VoiceSettings::kLayerOn).GetBool());
  for (int k = 1; k < 4; ++k) EXPECT_FALSE(z->voiceSettings(k).setting(VoiceSettings::kLayerOn).GetBool());
  EXPECT_FLOAT_EQ(z->masterVolume().GetValue(), 1.0f);
  EXPECT_EQ(z->keyMode().GetIntValue(), 0);
  EXPECT_EQ(z->polyphony().GetIntValue(), 8);
  EXPECT_EQ(z->activeNoteLimit(), 8);
  EXPECT_FLOAT_EQ(z->portamentoTime().GetValue(), 0.0f);
  EXPECT_EQ(z->pitchBendRange().GetIntValue(), 2);
  EXPECT_TRUE(z->enabled().GetBool());
  EXPECT_FALSE(z->timeFreeze().GetBool());
  // Release length of the selected voice: 0.2 frames clamped to its range.
  EXPECT_FLOAT_EQ(z->voiceSettings(0).setting(VoiceSettings::kReleaseLength).GetValue(), 256.0f);
  EXPECT_FLOAT_EQ(z->voiceSettings(1).setting(VoiceSettings::kReleaseLength).GetValue(), 352544.0f);
  EXPECT_FLOAT_EQ(z->masterFilter(0).cutoff().GetValue(), 20.0f);
  EXPECT_FLOAT_EQ(z->masterFilter(1).cutoff().GetValue(), 22000.0f);
  EXPECT_EQ(z->masterFilter(0).type().GetIntValue(), StereoFilter::kHighPass);
  EXPECT_FLOAT_EQ(z->masterFilter(1).resonance().GetValue(), 7.0f);
  EXPECT_FLOAT_EQ(z->delay().time().GetValue(), 0.0f);
  EXPECT_FLOAT_EQ(z->delay().mix().GetValue(), 0.5f);
  EXPECT_TRUE(z->delay().stereo().GetBool());
  EXPECT_FLOAT_EQ(z->distortion().crunch().GetValue(), 0.5f);
  EXPECT_FLOAT_EQ(z->reverb().size().GetValue(), 0.5f);

  const VoiceSettings& v = z->voiceSettings(3);
  ASSERT_EQ(v.line(VoiceSettings::kAmplitude).size(), 3);
  EXPECT_FLOAT_EQ(v.line(VoiceSettings::kAmplitude)[2].time, 264600.0f);
  EXPECT_FLOAT_EQ(v.line(VoiceSettings::kFilter)[0].values[2], 5.0f);
  const auto& modulation = v.line(VoiceSettings::kModulation)[0].values;
  ASSERT_EQ(modulation.size(), 23u);
  EXPECT_FLOAT_EQ(modulation[1], 0.05f);
  EXPECT_FLOAT_EQ(modulation[10], 0.5f);
  EXPECT_FLOAT_EQ(modulation[11], 1.0f);
  EXPECT_EQ(z->voiceSettings(2).waveSet().kind(2), WaveSet::kSquare);
  EXPECT_FLOAT_EQ(z->voiceSettings(2).LongestLine(), 264600.0f);
}

TEST_F(InstrumentTest, TheHostIsNeverCalledBackUnderOurMutex) {
  z->masterVolume().SetValue(0.3f);
  z->keyMode().SetValue(2.0f);
  watchLock = &z->mutex();
  calledUnderLock = 0;
  automation.clear();
  z->ResetPatch();  // changes automatable values while holding the mutex
  watchLock = nullptr;
  EXPECT_GE(automation.size(), 2u);
  EXPECT_EQ(calledUnderLock, 0);
}

TEST_F(InstrumentTest, MasterCutoffsDragEachOther) {
  StereoFilter& f1 = z->masterFilter(0);
  StereoFilter& f2 = z->masterFilter(1);
  f2.cutoff().SetValue(5000.0f);
  f1.cutoff().SetValue(8000.0f);
  EXPECT_FLOAT_EQ(f2.cutoff().GetValue(), 8000.0f);
  f2.cutoff().SetValue(300.0f);
  EXPECT_FLOAT_EQ(f1.cutoff().GetValue(), 300.0f);
  f1.cutoff().SetValue(100.0f);  // below: the second stays
  EXPECT_FLOAT_EQ(f2.cutoff().GetValue(), 300.0f);
}

TEST_F(InstrumentTest, KeyModeAndPolyphonySetTheNoteLimit) {
  z->polyphony().SetValue(12.0f);
  EXPECT_EQ(z->activeNoteLimit(), 12);
  z->keyMode().SetValue(1.0f);
  EXPECT_EQ(z->activeNoteLimit(), 1);
  z->polyphony().SetValue(5.0f);  // in every key mode
  EXPECT_EQ(z->activeNoteLimit(), 5);
  z->keyMode().SetValue(0.0f);
  EXPECT_EQ(z->activeNoteLimit(), 5);
}

TEST_F(InstrumentTest, FreezePositionPicksAWholeTimeOnTheLongestLine) {
  for (int line = 0; line < VoiceSettings::kLineCount; ++line) {
    EventEnvelope& l = z->voiceSettings(0).line(line);
    l.Clear();
    l.Append(0.0f);
    l.Append(line == 2 ? 11.0f : 4.0f);
  }
  z->freezePosition().SetValue(0.5f);  // time freeze off: no effect
  EXPECT_FLOAT_EQ(z->editTime(), 0.0f);
  z->timeFreeze().SetValue(1.0f);
  automation.clear();
  z->setParameter(12, 0.5f);  // as the host does
  EXPECT_FLOAT_EQ(z->editTime(), 6.0f);  // 5.5 rounds half up
  EXPECT_FLOAT_EQ(z->freezePosition().GetValue(), 6.0f / 11.0f);
  ASSERT_EQ(automation.size(), 1u);  // the corrected position goes back to the host
  EXPECT_EQ(automation[0].index, 12);
  EXPECT_NEAR(automation[0].value, 6.0f / 11.0f, 1e-6);
}

TEST_F(InstrumentTest, DisabledInstrumentRendersSilenceWithoutTakingTheMutex) {
  z->enabled().SetValue(0.0f);
  std::promise<void> locked, release;
  std::thread holder([&] {
    std::lock_guard lock(z->mutex());
    locked.set_value();
    release.get_future().wait();
  });
  locked.get_future().wait();
  auto done = std::async(std::launch::async, [&] { Render(); });
  const bool returned = done.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  release.set_value();
  holder.join();
  EXPECT_TRUE(returned);
}

TEST_F(InstrumentTest, BlockLoopSmoothsPadsAndAdvancesMidiSources) {
  PerformModSource& pad = z->performSource(2);
  pad.x().SetValue(1.0f);
  pad.amount(1) = 0.5f;
  pad.y().SetValue(-1.0f);
  Render();
  EXPECT_FLOAT_EQ(pad.previous(0), 0.0f);
  EXPECT_FLOAT_EQ(pad.smoothed(0), 0.5f);
  EXPECT_FLOAT_EQ(pad.smoothed(1), -0.25f);
  Render();
  EXPECT_FLOAT_EQ(pad.previous(0), 0.5f);
  EXPECT_FLOAT_EQ(pad.smoothed(0), 0.75f);

  EXPECT_FLOAT_EQ(z->modWheelSource().value(), -1.0f);
  z->HandleEvent(3, 0xB0, 1, 96, 0);  // mod wheel on any channel
  z->HandleEvent(0, 0xE0, 0, 96, 0);
  z->HandleEvent(0, 0xD0, 32, 0, 0);
  z->HandleEvent(0, 0xB0, 2, 127, 0);  // another controller: ignored
  EXPECT_FLOAT_EQ(z->modWheelSource().value(), 0.5f);
  EXPECT_FLOAT_EQ(z->modWheelSource().previousValue(), -1.0f);
  EXPECT_FLOAT_EQ(z->pitchBendSource().value(), 0.5f);
  EXPECT_FLOAT_EQ(z->aftertouchSource().value(), -0.5f);
  Render();
  EXPECT_FLOAT_EQ(z->modWheelSource().previousValue(), 0.5f);
}

}  // namespace
