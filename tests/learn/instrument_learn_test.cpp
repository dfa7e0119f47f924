// MIDI learn and the emulated pedal as parts of the instrument: the pads and
// "Freeze Position" are learnable, learned values land at the next block,
// the mappings file is written on the user-interface thread only and is read
// by every later instance.
#include <filesystem>
#include <thread>

#include "instrument/instrument_fixture.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

class InstrumentLearnTest : public InstrumentTest {
 protected:
  InstrumentLearnTest() : xdg_("XDG_DATA_HOME", home_.path().string()) {
    z = std::make_unique<Zelvane>(Host, InstanceOptions{""});
  }
  void Controller(Zelvane& instrument, int c, int value, int channel = 0) {
    instrument.HandleEvent(channel, 0xB0, c, value, 0);
  }
  std::string MappingsFile() const { return z->dataFolders().midiLearnFile; }

  TempDir home_;
  ScopedEnv xdg_;
};

TEST_F(InstrumentLearnTest, PadsAndFreezePositionLearnAndApplyAtTheNextBlock) {
  MidiLearnManager& learn = z->learnManager();
  ASSERT_EQ(learn.learnables().size(), 13u);
  EXPECT_EQ(learn.learnables()[4].parameter, &z->performSource(2).x());
  EXPECT_EQ(learn.learnables()[4].groupPrefix, "3");
  EXPECT_EQ(learn.learnables()[12].name, "Freeze Position");
  EXPECT_EQ(z->performSource(2).x().learnManager(), &learn);
  EXPECT_EQ(MappingsFile().substr(home_.path().string().size()),
            "/Tarvenn Audio/Zelvane/Data/MidiLearnMappings.dat");

  Parameter& x3 = z->performSource(2).x();
  learn.SetLearnTarget(&x3);
  Controller(*z, 20, 90, 5);  // any channel; this value is not applied
  EXPECT_EQ(learn.learnTarget(), nullptr);
  Render();
  EXPECT_FLOAT_EQ(x3.GetValue(), 0.0f);

  // Two values before one block: only the last lands, and the host hears it.
  Controller(*z, 20, 10);
  Controller(*z, 20, 127);
  EXPECT_FLOAT_EQ(x3.GetValue(), 0.0f);  // not before the block
  automation.clear();
  Render();
  EXPECT_FLOAT_EQ(x3.GetValue(), x3.GetMaximum());
  ASSERT_EQ(automation.size(), 1u);
  EXPECT_EQ(automation[0].index, 4);
  EXPECT_FLOAT_EQ(automation[0].value, 1.0f);
  Controller(*z, 20, 0);
  Render();
  EXPECT_FLOAT_EQ(x3.GetValue(), x3.GetMinimum());
  // Sustain and all-notes-off never reach the manager as controllers.
  learn.SetLearnTarget(&z->freezePosition());
  Controller(*z, 64, 127);
  Controller(*z, 123, 0);
  EXPECT_EQ(learn.learnTarget(), &z->freezePosition());
  learn.CancelLearn(&z->freezePosition());
}

TEST_F(InstrumentLearnTest, TheFileIsWrittenOnTheUserInterfaceThreadAndSharedByLaterInstances) {
  z->learnManager().SetLearnTarget(&z->freezePosition());
  // Learning happens in the audio thread's event intake and block: no file.
  std::thread audio([&] {
    Controller(*z, 7, 0);
    Render();
  });
  audio.join();
  EXPECT_FALSE(std::filesystem::exists(MappingsFile()));
  // The host's idle call (editor idle, here the plain one) writes it.
  z->dispatcher(vst2::effIdle, 0, 0, nullptr, 0.0f);
  EXPECT_TRUE(std::filesystem::exists(MappingsFile()));

  Zelvane later(Host, InstanceOptions{""});
  EXPECT_TRUE(later.learnManager().HasMapping(&later.freezePosition()));
  Controller(later, 7, 127);
  std::vector<float> l(64), r(64);
  float* out[2] = {l.data(), r.data()};
  later.processReplacing(nullptr, out, 64);
  EXPECT_FLOAT_EQ(later.freezePosition().GetValue(), 1.0f);

  // A mapping learned just before the instance closes is still kept.
  later.learnManager().SetLearnTarget(&later.performSource(0).y());
  Controller(later, 9, 1);
  const auto before = std::filesystem::file_size(MappingsFile());
  {
    Zelvane closing(Host, InstanceOptions{""});
    closing.learnManager().SetLearnTarget(&closing.performSource(5).x());
    Controller(closing, 11, 1);
  }
  EXPECT_GT(std::filesystem::file_size(MappingsFile()), before);
  Zelvane last(Host, InstanceOptions{""});
  EXPECT_TRUE(last.learnManager().HasMapping(&last.performSource(5).x()));
  EXPECT_TRUE(last.learnManager().HasMapping(&last.freezePosition()));
}

TEST_F(InstrumentLearnTest, TheEmulatedPedalHoldsNotesLikeARealOne) {
  Parameter& sustain = z->sustainEmulator().sustain();
  EXPECT_FALSE(z->sustainHeld());
  z->NoteOn(0, 60, 100, 0);
  sustain.SetValue(1.0f);
  EXPECT_TRUE(z->sustainHeld());
  z->NoteOff(0, 60, 0);
  Render();
  EXPECT_EQ(z->znote(0).state(), ZNote::kSustained);
  // A real pedal acts on the same flag: the last message decides.
  z->HandleEvent(0, 0xB0, 64, 0, 0);
  EXPECT_FALSE(z->sustainHeld());
  sustain.SetValue(1.0f);
  EXPECT_TRUE(z->sustainHeld());
  sustain.SetValue(0.0f);
  Render();
  EXPECT_NE(z->znote(0).state(), ZNote::kSustained);
  EXPECT_NE(z->znote(0).state(), ZNote::kHeld);
  // The pedal is no part of a patch.
  EXPECT_EQ(sustain.owner(), nullptr);
}

}  // namespace
