// Waveform files in the waveform library, as the instrument saves and loads
// them for a lane of the selected voice, while a note plays.
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "instrument/instrument_fixture.h"
#include "shell/message_box.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

std::vector<float> Cycle(float harmonic) {
  std::vector<float> samples(4096);
  for (std::size_t k = 0; k < samples.size(); ++k) {
    samples[k] = 0.5f * std::sin(harmonic * 2.0f * 3.14159265f * static_cast<float>(k) / 4096.0f);
  }
  return samples;
}
float Sample(Zelvane& z, int voice, int lane, int k) {
  return z.voiceSettings(voice).waveSet().tables()->level(0)[4 * k + lane];
}

class WaveformFileTest : public InstrumentTest {
 protected:
  WaveformFileTest() : xdg_("XDG_DATA_HOME", home_.path().string()) {
    previous_ = SetMessageBoxHandler([](const std::string&, const std::string&, MessageBoxButtons) {
      return MessageBoxAnswer::kYes;
    });
    z = std::make_unique<Zelvane>(Host, InstanceOptions{""});
  }
  ~WaveformFileTest() override { SetMessageBoxHandler(previous_); }
  TempDir home_;
  ScopedEnv xdg_;
  MessageBoxHandler previous_ = nullptr;
};

TEST_F(WaveformFileTest, ALaneSavedAndLoadedComesBackIntoTheSelectedVoice) {
  z->SelectVoice(1);
  z->voiceSettings(1).waveSet().BuildFromSamples(2, Cycle(3.0f));
  ASSERT_TRUE(z->SaveWaveform("Bells", "Third", 2));
  PresetLibrary& library = z->waveformLibrary();
  ASSERT_EQ(library.flatList().size(), 1u);
  EXPECT_EQ(library.flatList()[0], (PresetLibrary::Entry{"Bells", "Third(User)"}));
  ASSERT_TRUE(std::filesystem::exists(library.ItemPath("Bells", "Third(User)")));

  // Into another lane of another voice: the third harmonic arrives there.
  z->SelectVoice(3);
  ASSERT_EQ(z->LoadWaveform("Bells", "Third(User)", 0), WaveformLoad::kLoaded);
  EXPECT_EQ(z->voiceSettings(3).waveSet().kind(0), WaveSet::kUser);
  for (int k : {0, 100, 341, 2000}) EXPECT_NEAR(Sample(*z, 3, 0, k), Sample(*z, 1, 2, k), 1e-5f);
  // A built-in lane is stored by kind alone.
  ASSERT_TRUE(z->SaveWaveform("Bells", "Square", 2));
  ASSERT_EQ(z->LoadWaveform("Bells", "Square(User)", 0), WaveformLoad::kLoaded);
  EXPECT_EQ(z->voiceSettings(3).waveSet().kind(0), WaveSet::kSquare);
}

TEST_F(WaveformFileTest, MissingForeignAndDamagedFilesLeaveTheLaneAsItWas) {
  z->voiceSettings(0).waveSet().BuildFromSamples(1, Cycle(2.0f));
  ASSERT_TRUE(z->SaveWaveform("Keep", "Two", 1));
  ASSERT_TRUE(z->SavePatch("Keep", "NotAWave"));
  const std::string path = z->waveformLibrary().ItemPath("Keep", "Two(User)");
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  const float before = Sample(*z, 0, 0, 77);

  EXPECT_EQ(z->LoadWaveform("Keep", "Missing", 0), WaveformLoad::kNotOpened);
  // A patch file renamed into the waveform library has the wrong type word.
  std::filesystem::copy_file(z->patchLibrary().ItemPath("Keep", "NotAWave(User)"),
                             z->waveformLibrary().ItemPath("Keep", "Patch"));
  EXPECT_EQ(z->LoadWaveform("Keep", "Patch", 0), WaveformLoad::kNotOpened);
  // Cut inside its samples, and a length no wave set can take.
  std::ofstream(z->waveformLibrary().ItemPath("Keep", "Cut"), std::ios::binary)
      << bytes.substr(0, bytes.size() - 9);
  std::string huge = bytes;
  huge[bytes.size() - 4 * 4096 - 12] = '\x7f';
  std::ofstream(z->waveformLibrary().ItemPath("Keep", "Huge"), std::ios::binary) << huge;
  EXPECT_EQ(z->LoadWaveform("Keep", "Cut", 0), WaveformLoad::kDamaged);
  EXPECT_EQ(z->LoadWaveform("Keep", "Huge", 0), WaveformLoad::kDamaged);
  EXPECT_EQ(z->voiceSettings(0).waveSet().kind(0), WaveSet::kRamp);
  EXPECT_EQ(Sample(*z, 0, 0, 77), before);
  EXPECT_EQ(z->LoadWaveform("Keep", "../Keep/Two(User)", 0), WaveformLoad::kNotOpened);
}

TEST_F(WaveformFileTest, LoadingWhileANotePlaysKeepsTheSoundClean) {
  z->voiceSettings(0).waveSet().BuildFromSamples(3, Cycle(5.0f));
  ASSERT_TRUE(z->SaveWaveform("Live", "Five", 3));
  z->NoteOn(0, 57, 100, 0);
  std::atomic<bool> done{false};
  std::atomic<int> bad{0};
  std::thread audio([&] {
    std::vector<float> l(128), r(128);
    float* out[2] = {l.data(), r.data()};
    while (!done.load()) {
      z->processReplacing(nullptr, out, 128);
      for (float v : l) bad += std::isfinite(v) ? 0 : 1;
    }
  });
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(z->LoadWaveform("Live", "Five(User)", i % 4), WaveformLoad::kLoaded);
  }
  done = true;
  audio.join();
  EXPECT_EQ(bad.load(), 0);
}

}  // namespace
