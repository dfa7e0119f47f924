// The patch body through the host's state chunk and through patch files:
// round trips, old levels, refusals and damaged data.
#include <cmath>
#include <cstdlib>
#include <random>

#include "instrument/instrument_fixture.h"
#include "persist/patch.h"
#include "persist/streams.h"
#include "shell/message_box.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

std::string Chunk(Zelvane& z) { return z.GetState(); }

void Customise(Zelvane& z) {
  z.keyMode().SetValue(1.0f);
  z.polyphony().SetValue(11.0f);
  z.masterVolume().SetValue(0.6f);
  z.pitchBendRange().SetValue(7.0f);
  z.performSource(2).x().SetValue(0.25f);
  z.performSource(4).amount(1) = 0.5f;
  z.delay().time().SetValue(3.0f);
  z.reverb().mix().SetValue(0.2f);
  z.distortion().crunch().SetValue(0.9f);
  z.masterFilter(1).cutoff().SetValue(5000.0f);
  VoiceSettings& v = z.voiceSettings(2);
  v.setting(VoiceSettings::kUnisonCount).SetValue(3.0f);
  v.routing(1).sourceOutput = 10;
  v.routing(1).targetInput = 3;
  v.routing(1).enabled = true;
  v.loop().on = true;
  v.loop().end = 5000.0f;
  v.line(VoiceSettings::kWave).Append(9000.0f, 0.5f);
  v.waveSet().SetUserSamples(1, std::vector<float>(4096, 0.25f));
  z.SetPatchName("Glass");
  z.SetCategory("Pads");
}

class PatchTest : public InstrumentTest {
 protected:
  static MessageBoxAnswer Quiet(const std::string& text, const std::string&, MessageBoxButtons) {
    messages.push_back(text);
    return MessageBoxAnswer::kYes;
  }
  void SetUp() override {
    messages.clear();
    previous = SetMessageBoxHandler(Quiet);
  }
  void TearDown() override { SetMessageBoxHandler(previous); }
  static inline std::vector<std::string> messages;
  MessageBoxHandler previous = nullptr;
};

TEST_F(PatchTest, StateRoundTripsByteForByte) {
  Customise(*z);
  const std::string first = Chunk(*z);
  EXPECT_EQ(Chunk(*z), first);  // twice in a row: identical
  Zelvane fresh(Host, InstanceOptions{""});
  EXPECT_TRUE(fresh.SetState(first.data(), first.size()));
  EXPECT_EQ(Chunk(fresh), first);
  EXPECT_EQ(fresh.patchName(), "Glass");
  EXPECT_EQ(fresh.category(), "Pads");
  EXPECT_EQ(fresh.keyMode().GetIntValue(), 1);
  EXPECT_FLOAT_EQ(fresh.masterFilter(1).cutoff().GetValue(), 5000.0f);
  EXPECT_EQ(fresh.voiceSettings(2).waveSet().kind(1), WaveSet::kUser);
  EXPECT_FLOAT_EQ(fresh.voiceSettings(2).waveSet().tables()->level(0)[4 * 100 + 1], 0.25f);
  EXPECT_TRUE(fresh.enabled().GetBool());
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(fresh.SetState(first.data(), 0));  // size 0: nothing changes
}

TEST_F(PatchTest, PatchFilesTakeTheirNameAndFolder) {
  TempDir home;
  ScopedEnv xdg("XDG_DATA_HOME", home.path().string());
  Zelvane z1(Host, InstanceOptions{""});
  Customise(z1);
  ASSERT_TRUE(z1.SavePatch("Leads", "Bright"));
  EXPECT_EQ(z1.patchName(), "Bright(User)");
  ASSERT_TRUE(z1.SavePatch("Leads", "Bright(User)"));  // no second suffix
  EXPECT_EQ(z1.patchName(), "Bright(User)");
  Zelvane z2(Host, InstanceOptions{""});
  z2.patchLibrary().Rescan();
  ASSERT_TRUE(z2.LoadPatch("Leads", "Bright(User)"));
  EXPECT_EQ(z2.patchName(), "Bright(User)");
  EXPECT_EQ(z2.category(), "Leads");
  EXPECT_FLOAT_EQ(z2.masterVolume().GetValue(), 0.6f);
  EXPECT_FALSE(z2.LoadPatch("Leads", "Missing"));
  // A patch file handed over whole as a chunk loads too.
  const std::string file = z2.patchLibrary().ItemPath("Leads", "Bright(User)");
  FILE* f = std::fopen(file.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::string bytes(1 << 20, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  Zelvane z3(Host, InstanceOptions{""});
  z3.SetState(bytes.data(), bytes.size());
  EXPECT_EQ(z3.patchName(), "Bright(User)");
}

TEST_F(PatchTest, NewerBodiesAreRefusedQuietlyAndPlayingGoesOn) {
  z->NoteOn(0, 60, 100, 0);
  std::string chunk;
  StringWriter w(chunk);
  w.WriteFloat(0.013f);
  w.WriteString("ZELVANE_STATE");
  z->masterVolume().SetValue(0.4f);
  z->SetState(chunk.data(), chunk.size());
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(z->enabled().GetBool());
  EXPECT_TRUE(z->znote(0).IsFree());  // the sounding notes were stopped
  EXPECT_FLOAT_EQ(z->masterVolume().GetValue(), 0.4f);
}

// A body of an older level, written field by field.
std::string OldBody(float version, float voiceVersion) {
  const int level = patch::Level(version);
  std::string body;
  StringWriter w(body);
  w.WriteFloat(version);
  w.WriteString("ZELVANE_STATE");
  w.WriteString("Old");
  w.WriteFloat(0.0f);  // time freeze
  if (level < 10) w.WriteFloat(1.0f);  // timeline sync for every voice
  for (float v : {0.0f, 6.0f, 0.0f, 1.0f}) w.WriteFloat(v);  // key mode, polyphony, portamento, marker
  for (int p = 0; p < 6; ++p) {
    for (float v : {1.0f, 1.0f, 0.0f, 0.0f}) w.WriteFloat(v);
    for (int axis = 0; axis < 2; ++axis) {
      w.WriteBool(false);
      w.WriteInt(0);
      w.WriteInt(-1);
    }
  }
  for (int k = 0; k < 4; ++k) {
    w.WriteFloat(voiceVersion);
    const int v = patch::Level(voiceVersion);
    const int settings = 8 + (voiceVersion >= 0.004f ? 2 : 0) + (v >= 11 ? 2 : 0) + (v >= 10 ? 1 : 0) + 1;
    for (int i = 0; i < settings; ++i) w.WriteFloat(i == 0 ? 1.0f : 0.5f);
    w.WriteFloat(1.0f);
    w.WriteInt(0);  // no rows
    for (int lane = 0; lane < 4; ++lane) {
      w.WriteFloat(1.0f);
      w.WriteCount(4096);
      w.WriteInt(128);
      w.WriteInt(lane == 0 ? 2 : 4);
    }
    w.WriteFloat(0.0f);
    w.WriteFloat(1000.0f);
    w.WriteBool(false);
    for (int values : {1, 5, 3, 3, 23, 4}) {
      w.WriteFloat(1.0f);
      w.WriteCount(1);
      w.WriteCount(static_cast<std::uint32_t>(values));
      w.WriteFloat(0.0f);
      for (int i = 0; i < values; ++i) w.WriteFloat(1.0f);
    }
  }
  if (level <= 4) {
    for (int i = 0; i < 6; ++i) w.WriteFloat(0.5f);  // delay
  }
  for (int i = 0; i < 5; ++i) w.WriteFloat(1.0f);  // reverb
  if (level <= 4) {
    for (int i = 0; i < 6; ++i) w.WriteFloat(0.3f);  // discarded
  }
  return body;
}

TEST_F(PatchTest, OldLevelsLoadWithTheirRules) {
  Customise(*z);
  const std::string body = OldBody(0.004f, 0.002f);
  z->SetState(body.data(), body.size());
  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_EQ(z->patchName(), "Old");
  EXPECT_EQ(z->category(), "<untitled>");
  EXPECT_TRUE(z->delay().stereo().GetBool());
  EXPECT_FALSE(z->distortion().enabled().GetBool());
  EXPECT_FLOAT_EQ(z->distortion().crunch().GetValue(), 0.5f);
  EXPECT_FALSE(z->masterFilter(0).enabled().GetBool());
  EXPECT_FLOAT_EQ(z->masterFilter(1).cutoff().GetValue(), 22000.0f);
  EXPECT_FLOAT_EQ(z->masterVolume().GetValue(), 1.0f);
  EXPECT_FLOAT_EQ(z->pitchBendRange().GetValue(), 2.0f);
  const VoiceSettings& v = z->voiceSettings(0);
  EXPECT_TRUE(v.setting(VoiceSettings::kTimelineSync).GetBool());  // from the level < 10 flag
  EXPECT_FALSE(v.setting(VoiceSettings::kLfo1Positive).GetBool());  // block older than 0.004
  EXPECT_FLOAT_EQ(v.line(VoiceSettings::kVoice)[0].values[0], 12.0f);  // block older than 0.003
  EXPECT_FLOAT_EQ(v.line(VoiceSettings::kVoice)[0].values[1], 1.0f);
}

TEST_F(PatchTest, DamagedChunksAreRefusedSafely) {
  Customise(*z);
  const std::string good = Chunk(*z);
  // Every prefix of a good body, and random bytes: never a crash or a hang.
  for (std::size_t n = 1; n < good.size(); n += 1 + n / 8) {
    Zelvane target(Host, InstanceOptions{""});
    target.SetState(good.data(), n);
    EXPECT_TRUE(target.enabled().GetBool());
  }
  std::mt19937 random(7);
  for (int i = 0; i < 50; ++i) {
    std::string noise(static_cast<std::size_t>(random() % 4000), '\0');
    for (char& c : noise) c = static_cast<char>(random());
    if (i % 2 == 0 && noise.size() > 40) noise.replace(0, 22, good.substr(0, 22));  // a real start
    z->SetState(noise.data(), noise.size());
    EXPECT_TRUE(z->enabled().GetBool());
  }
  // Still a working instrument.
  z->SetState(good.data(), good.size());
  EXPECT_EQ(Chunk(*z), good);
}

// Damaged bodies hold any float where a version belongs, in the body and in
// each voice block.
TEST_F(PatchTest, VersionsOfAnyFloatHaveALevel) {
  EXPECT_EQ(patch::Level(0.012f), 12);
  EXPECT_EQ(patch::Level(0.0045f), 5);  // halves up
  EXPECT_EQ(patch::Level(NAN), 0);
  EXPECT_EQ(patch::Level(-1.7e34f), -1000000);
  EXPECT_EQ(patch::Level(INFINITY), 1000000);
  std::string body = OldBody(0.004f, -1.7e34f);
  z->SetState(body.data(), body.size());
  body = OldBody(-1.7e34f, 0.004f);
  z->SetState(body.data(), body.size());
  EXPECT_TRUE(z->enabled().GetBool());
}

// A pad's amount that is not a number would stay in the pad's smoothing,
// which no later patch or state resets.
TEST_F(PatchTest, PadAmountsThatAreNotNumbersAreRefusedAndLeaveNothingBehind) {
  const std::string good = Chunk(*z);
  std::string prefix;  // the fields before the first pad's amounts
  StringWriter w(prefix);
  w.WriteFloat(patch::kVersion);
  w.WriteString(patch::kTag);
  w.WriteBool(false);
  w.WriteString(z->patchName());
  for (int i = 0; i < 5; ++i) w.WriteFloat(0.0f);
  for (float bad : {NAN, INFINITY, 3.0e38f}) {
    std::string damaged = good;
    std::string value;
    StringWriter vw(value);
    vw.WriteFloat(bad);
    damaged.replace(prefix.size() + 4, 4, value);  // the Y amount of pad 1
    messages.clear();
    z->SetState(damaged.data(), damaged.size());
    EXPECT_FALSE(messages.empty()) << bad;
    Render(512);
    EXPECT_TRUE(std::isfinite(z->performSource(0).amount(1))) << bad;
    EXPECT_TRUE(std::isfinite(z->performSource(0).smoothed(1))) << bad;
  }
}

}  // namespace
