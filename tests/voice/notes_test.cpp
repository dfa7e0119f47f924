// Note allocation as a player meets it: stealing, the monophonic modes,
// glides, the pedal, all-notes-off, the release curve.
#include <cmath>

#include "playing.h"
#include "support/audio_analysis.h"

namespace {

int Sounding(Zelvane& z) {
  int n = 0;
  for (int i = 0; i < Zelvane::kNoteCount; ++i) n += z.znote(i).IsFree() ? 0 : 1;
  return n;
}

TEST_F(PlayingTest, SeventeenthKeyStealsTheOldestReleasedFirst) {
  z->polyphony().SetValue(16.0f);
  for (int k = 0; k < 16; ++k) {
    Key(40 + k);
    Play(64, 64);
  }
  EXPECT_EQ(Sounding(*z), 16);
  Key(80);  // the oldest (key 40, note 0) goes
  EXPECT_EQ(z->znote(0).key(), 80);
  EXPECT_EQ(z->znote(0).state(), ZNote::kHeld);

  z->voiceSettings(0).setting(VoiceSettings::kReleaseLength).SetValue(352800.0f);
  KeyUp(45);
  KeyUp(47);
  Play(64, 64);
  Key(81);  // of the released notes, the older (key 45, note 5) goes
  EXPECT_EQ(z->znote(5).key(), 81);
  EXPECT_EQ(z->znote(7).state(), ZNote::kReleased);
}

TEST_F(PlayingTest, LegatoGlidesWithoutRestartingAndBack) {
  z->keyMode().SetValue(2.0f);
  z->portamentoTime().SetValue(0.0f);
  Key(60);
  Play(2048);
  const float position = z->znote(0).layer(0).position();
  Key(64);
  EXPECT_EQ(z->znote(0).key(), 64);
  EXPECT_EQ(Sounding(*z), 1);
  Play(512);
  EXPECT_GT(z->znote(0).layer(0).position(), position);  // the timeline ran on
  EXPECT_NEAR(z->znote(0).CurrentPitch(), 64.0f, 1e-4);  // 4 semitones in ~35 frames
  KeyUp(64);
  EXPECT_EQ(z->znote(0).key(), 60);  // handed back to the first key
  EXPECT_EQ(z->znote(0).state(), ZNote::kHeld);
  EXPECT_NEAR(z->znote(0).CurrentPitch(), 64.0f, 1e-4);  // and gliding from where it was
  Play(512);
  EXPECT_NEAR(z->znote(0).CurrentPitch(), 60.0f, 1e-4);
}

TEST_F(PlayingTest, RetriggerHandsBackWithTheHeldVelocity) {
  z->keyMode().SetValue(1.0f);
  Key(60, 30);
  Key(64, 110);
  Play(512);
  KeyUp(64);
  int found = 0;
  for (int i = 0; i < Zelvane::kNoteCount; ++i) {
    ZNote& n = z->znote(i);
    if (n.state() == ZNote::kHeld) {
      EXPECT_EQ(n.key(), 60);
      EXPECT_EQ(n.velocity(), 30);
      ++found;
    }
  }
  EXPECT_EQ(found, 1);
}

TEST_F(PlayingTest, AtMostTwoNotesFadeAtOnce) {
  z->keyMode().SetValue(1.0f);
  for (int key : {60, 62, 64, 65}) Key(key, 100, 10);
  EXPECT_EQ(z->znote(0).state(), ZNote::kFading);
  EXPECT_EQ(z->znote(1).state(), ZNote::kFading);
  // The third sounding note (key 64, the most recent) was cut; key 65 took its slot.
  EXPECT_EQ(z->znote(2).state(), ZNote::kHeld);
  EXPECT_EQ(z->znote(2).key(), 65);
  EXPECT_EQ(z->znote(3).state(), ZNote::kFree);
  Play(1024);
  EXPECT_EQ(Sounding(*z), 1);  // fades end after 400 frames
}

TEST_F(PlayingTest, PedalHoldsNotesUntilItGoesUp) {
  z->HandleEvent(0, 0xB0, 64, 127, 0);
  Key(60);
  Play(512);
  KeyUp(60);
  EXPECT_EQ(z->znote(0).state(), ZNote::kSustained);
  Play(512);
  EXPECT_GT(analysis::Peak(std::span<const float>(left).subspan(512)), 0.2f);
  Key(62);
  z->HandleEvent(0, 0xB0, 123, 0, 0);  // all notes off with the pedal down
  EXPECT_EQ(z->znote(1).state(), ZNote::kSustained);
  EXPECT_EQ(z->heldKeyCount(), 0);
  z->HandleEvent(0, 0xB0, 64, 0, 0);
  Play(64, 64);
  EXPECT_EQ(z->znote(0).state(), ZNote::kReleased);
  EXPECT_EQ(z->znote(1).state(), ZNote::kReleased);
}

TEST_F(PlayingTest, PortamentoGlidesFromTheNearestHeldKey) {
  Key(60);
  Key(72);  // portamento 0 in the polyphonic mode: no glide
  EXPECT_FLOAT_EQ(z->znote(1).CurrentPitch(), 72.0f);
  z->portamentoTime().SetValue(0.01f);
  Key(62, 100, 300);  // nearest held key: 60
  EXPECT_FLOAT_EQ(z->znote(2).CurrentPitch(), 60.0f);
  Play(300, 300);
  EXPECT_NEAR(z->znote(2).CurrentPitch(), 60.0f, 1e-4);  // starts at the key's offset
  Play(64, 64);
  // 2 semitones x (0.01 + 0.001) x 8810 = 193 frames
  EXPECT_NEAR(z->znote(2).CurrentPitch(), 60.0f + 2.0f * 64.0f / 193.0f, 0.02f);
}

TEST_F(PlayingTest, ReleaseCurveFallsInStepsOf1024Frames) {
  Voice& v = z->znote(0).layer(0);
  z->voiceSettings(0).setting(VoiceSettings::kReleaseLength).SetValue(4096.0f);
  Key(60);
  KeyUp(60, 100);
  const Envelope& r = v.releaseList();
  const float times[] = {0, 100, 1124, 2148, 3172, 4196};
  const float levels[] = {1, 1, 0.4286f, 0.2f, 0.0769f, 0};
  ASSERT_EQ(r.size(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_FLOAT_EQ(r[i].time, times[i]) << i;
    EXPECT_NEAR(r[i].values[0], levels[i], 1e-4) << i;
  }
  z->voiceSettings(0).setting(VoiceSettings::kReleaseLength).SetValue(1000.0f);
  Key(61);
  KeyUp(61, 0);
  const Envelope& s = z->znote(1).layer(0).releaseList();
  ASSERT_EQ(s.size(), 2);
  EXPECT_FLOAT_EQ(s[1].time, 1000.0f);
  EXPECT_FLOAT_EQ(s[1].values[0], 0.0f);
}

}  // namespace
