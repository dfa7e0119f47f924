// A layer as it sounds: pitch, unison, vector weights, balance, amplitude
// line, time freeze, release, sends.
#include <cmath>

#include "playing.h"
#include "support/audio_analysis.h"

namespace {

float Hz(float pitch) { return 13.75f * std::exp2((pitch - 9.0f) / 12.0f); }

std::span<const float> Tail(const std::vector<float>& v, std::size_t from) {
  return std::span<const float>(v).subspan(from);
}

TEST_F(PlayingTest, KeysSoundAtTheirPitchAndPitchBendMovesThem) {
  Key(69);
  Play(16384);
  EXPECT_NEAR(analysis::EstimateFundamental(Tail(left, 4096), 44100.0), 440.0, 0.5);
  EXPECT_GT(analysis::Rms(Tail(left, 4096)), 0.05);
  EXPECT_FALSE(analysis::HasNonFinite(left));

  // Full bend down: two semitones at the initial range, an octave at 12.
  z->HandleEvent(0, 0xE0, 0, 0, 0);
  left.clear();
  Play(16384);
  EXPECT_NEAR(analysis::EstimateFundamental(Tail(left, 4096), 44100.0), 440.0 * std::exp2(-2.0 / 12.0), 0.5);
  z->pitchBendRange().SetValue(12.0f);
  left.clear();
  Play(16384);
  EXPECT_NEAR(analysis::EstimateFundamental(Tail(left, 4096), 44100.0), 220.0, 0.5);
}

TEST_F(PlayingTest, UnisonSpreadsPanAndDetunesDownwards) {
  VoiceSettings& s = z->voiceSettings(0);
  s.setting(VoiceSettings::kUnisonCount).SetValue(3.0f);
  SetLine(0, VoiceSettings::kVoice, {0, 0, 0, 0, 0.5f});
  Key(60);
  Play(512);
  Voice& v = z->znote(0).layer(0);
  EXPECT_FLOAT_EQ(v.oscillator(0).pan()[0].values[0], -0.5f);
  EXPECT_FLOAT_EQ(v.oscillator(1).pan()[0].values[0], 0.0f);
  EXPECT_FLOAT_EQ(v.oscillator(2).pan()[0].values[0], 0.5f);

  s.setting(VoiceSettings::kUnisonCount).SetValue(4.0f);
  SetLine(0, VoiceSettings::kVoice, {0, 0, 0.8f, 1.0f, 0.5f});
  Play(512);
  const float offsets[4] = {0.0f, -0.275f, -0.45f, -0.7875f};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(v.oscillator(k).frequency()[0].values[0], Hz(60.0f + offsets[k]), 1e-3) << k;
  }
  EXPECT_FLOAT_EQ(v.oscillator(3).pan()[0].values[0], 1.0f);  // 0.8 + 0.5 clamped
}

TEST_F(PlayingTest, VectorPositionWeighsTheCorners) {
  SetLine(0, VoiceSettings::kWave, {0.0f, 0.0f, 1.0f});
  Key(60);
  Play(512);
  Voice& v = z->znote(0).layer(0);
  for (int c = 0; c < 4; ++c) EXPECT_NEAR(v.oscillator(0).weights()[0].values[c], 0.25f, 1e-6);
  SetLine(0, VoiceSettings::kWave, {-1.0f, 0.0f, 1.0f});
  Play(512);
  EXPECT_GT(v.oscillator(0).weights()[0].values[0], 0.9999f);

  // Only the first corner's wave, the fundamental, is heard.
  PublishSines(z->voiceSettings(0).waveSet(), true);
  left.clear();
  Play(16384);
  EXPECT_NEAR(analysis::EstimateFundamental(Tail(left, 4096), 44100.0), Hz(60.0f), 0.5);
}

TEST_F(PlayingTest, BalanceRunsOnlyTheStacksItNeeds) {
  Key(60);
  SetLine(0, VoiceSettings::kWave, {0.0f, 0.0f, 0.0f});  // noise only
  Play(2048);
  Voice& v = z->znote(0).layer(0);
  EXPECT_FLOAT_EQ(v.oscillator(0).phase(), 0.0f);  // the vector stack never ran
  EXPECT_GT(analysis::Rms(left), 0.05);
  SetLine(0, VoiceSettings::kWave, {0.0f, 0.0f, 1.0f});  // vector only
  left.clear();
  Play(16384);
  EXPECT_NEAR(analysis::EstimateFundamental(Tail(left, 4096), 44100.0), Hz(60.0f), 0.5);
}

TEST_F(PlayingTest, AmplitudeLineEndSilencesBeforeTheKeyGoesUp) {
  EventEnvelope& amp = z->voiceSettings(0).line(VoiceSettings::kAmplitude);
  amp.Clear();
  amp.Append(0.0f, 1.0f);
  amp.Append(4000.0f, 1.0f);
  Key(60);
  Play(8192);
  EXPECT_GT(analysis::Peak(std::span<const float>(left).subspan(1000, 2000)), 0.1f);
  EXPECT_EQ(analysis::Peak(Tail(left, 4608)), 0.0f);
}

TEST_F(PlayingTest, ReleaseHoldsUntilTheOffsetThenFallsAndFrees) {
  z->voiceSettings(0).setting(VoiceSettings::kReleaseLength).SetValue(1000.0f);
  Key(60);
  Play(4096);
  KeyUp(60, 300);
  Play(2048);
  const std::span<const float> block(left.data() + 4096, 2048);
  EXPECT_GT(analysis::Peak(block.subspan(200, 100)), 0.25f);  // full level until 300
  EXPECT_EQ(analysis::Peak(block.subspan(1300)), 0.0f);        // silent after 300 + 1000
  EXPECT_TRUE(z->znote(0).IsFree());
}

TEST_F(PlayingTest, TimeFreezeEasesTowardsTheEditTime) {
  Key(60);
  z->SetEditTime(100.0f);
  z->timeFreeze().SetValue(1.0f);
  Voice& v = z->znote(0).layer(0);
  const float expected[] = {10, 19, 27, 34};
  for (float e : expected) {
    Play(64, 64);
    EXPECT_FLOAT_EQ(v.frozenPosition(), e);
  }
}

TEST_F(PlayingTest, TimelineAdvancesByWholeUnitsAt48k) {
  z->dispatcher(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  Key(60);
  Voice& v = z->znote(0).layer(0);
  // Each block starts from the position rounded to a whole unit.
  float expected = 0.0f;
  for (int block = 0; block < 5; ++block) {
    Play(100, 100);
    expected = std::floor(expected + 0.5f) + 100.0f * 44100.0f / 48000.0f;
    EXPECT_FLOAT_EQ(v.position(), expected) << block;
  }
}

TEST_F(PlayingTest, DistortionSendIsAnInsertBlend) {
  z->distortion().enabled().SetValue(1.0f);
  SetLine(0, VoiceSettings::kEffects, {0, 0, 0, 1.0f});
  Key(60);
  Play(4096);
  // Everything went through the distortion: the dry path is empty, but the
  // return carries the sound.
  EXPECT_GT(analysis::Rms(Tail(left, 1024)), 0.05);
  SetLine(0, VoiceSettings::kEffects, {0, 0, 0, 0});
  z->distortion().output().SetValue(0.1f);
  left.clear();
  Play(4096);
  const double dry = analysis::Rms(Tail(left, 1024));
  EXPECT_GT(dry, 0.15);  // send off: the dry level is back
}

}  // namespace

namespace {

TEST_F(PlayingTest, PadAssignedToVectorXMovesTheMixture) {
  SetLine(0, VoiceSettings::kWave, {0.0f, 0.0f, 1.0f});
  Key(60);
  Play(512);
  Voice& v = z->znote(0).layer(0);
  EXPECT_NEAR(v.oscillator(0).weights()[0].values[2], 0.25f, 1e-4);
  z->SetPadAssignment(0, 0, true, 0, kVectorX);
  z->performSource(0).x().SetValue(1.0f);
  Play(512 * 8);  // the pad's smoothing settles within a few blocks
  EXPECT_GT(v.oscillator(0).weights().last().values[2], 0.98f);  // the corner at (1, 0)
  z->SetPadAssignment(0, 0, false, 0, -1);
  Play(512);
  EXPECT_NEAR(v.oscillator(0).weights().last().values[2], 0.25f, 1e-4);
  // The sixth pad's Y axis reaches every layer of every note too.
  z->SetPadAssignment(5, 1, true, 4, kVectorY);
  EXPECT_TRUE(z->znote(3).layer(2).routing().row(16).enabled);
}

}  // namespace
