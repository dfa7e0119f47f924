// The MIDI learn menu of a learnable parameter: learning, cancelling and
// disconnecting through the menu, on the parameter's own manager.
#include "gui_fixture.h"
#include "gui/midi_learn_menu.h"
#include "menu_helpers.h"
#include "params/midi_learn_manager.h"

namespace {

constexpr const char* kLearn = "MIDI Learn (click here, then move MIDI controller to assign it to me)";

class MidiLearnMenuTest : public GuiTest {
 protected:
  MidiLearnMenuTest() {
    x.SetGroupPrefix("3");
    manager.AddLearnable(&x);
    x.SetLearnManager(&manager);
  }
  ~MidiLearnMenuTest() override { headless.SetModalStep(nullptr); }

  // Shows the menu and clicks the given row (or dismisses it with -1).
  int Choose(int row) {
    const gui::PopupMenu shown = gui::BuildMidiLearnMenu(x);
    headless.SetModalStep([&] {
      platform::HeadlessWindow* open = headless.Topmost(platform::WindowKind::kMenu);
      if (open == nullptr) return;
      if (row < 0) {
        headless.Key(platform::KeyEvent::kEscape);
      } else {
        headless.Click(open, 40, RowCentre(shown, row));
      }
    });
    const int id = gui::ShowMidiLearnMenu(root, 50, 151, x);
    headless.SetModalStep(nullptr);
    return id;
  }

  MidiLearnManager manager;
  Parameter x{"X", -1.0f, 1.0f};
};

TEST_F(MidiLearnMenuTest, TheMenuLearnsCancelsAndDisconnects) {
  gui::PopupMenu menu = gui::BuildMidiLearnMenu(x);
  ASSERT_EQ(menu.items().size(), 1u);
  EXPECT_EQ(menu.items()[0].text, kLearn);
  EXPECT_EQ(menu.items()[0].id, gui::kMidiLearnStart);

  EXPECT_EQ(Choose(0), gui::kMidiLearnStart);
  EXPECT_EQ(manager.learnTarget(), &x);
  menu = gui::BuildMidiLearnMenu(x);
  ASSERT_EQ(menu.items().size(), 1u);
  EXPECT_EQ(menu.items()[0].text, "Cancel MIDI Learn");
  EXPECT_EQ(Choose(0), gui::kMidiLearnCancel);
  EXPECT_EQ(manager.learnTarget(), nullptr);

  // Learned: the menu offers to disconnect, after a separator.
  EXPECT_EQ(Choose(0), gui::kMidiLearnStart);
  manager.ControlChange(4, 20, 100, 0);
  ASSERT_TRUE(manager.HasMapping(&x));
  menu = gui::BuildMidiLearnMenu(x);
  ASSERT_EQ(menu.items().size(), 3u);
  EXPECT_EQ(menu.items()[0].text, kLearn);
  EXPECT_TRUE(menu.items()[1].separator);
  EXPECT_EQ(menu.items()[2].text, "Disconnect from MIDI controller");
  EXPECT_EQ(menu.items()[2].id, gui::kMidiLearnDisconnect);
  EXPECT_EQ(Choose(-1), -1) << "dismissed: nothing changes";
  EXPECT_TRUE(manager.HasMapping(&x));
  EXPECT_EQ(Choose(2), gui::kMidiLearnDisconnect);
  EXPECT_FALSE(manager.HasMapping(&x));
  EXPECT_EQ(manager.learnTarget(), nullptr);
}

TEST_F(MidiLearnMenuTest, CancellingLeavesAnotherParametersLearnAlone) {
  Parameter y("Y", -1.0f, 1.0f);
  y.SetLearnManager(&manager);
  manager.SetLearnTarget(&y);
  gui::ApplyMidiLearnChoice(x, gui::kMidiLearnCancel);
  EXPECT_EQ(manager.learnTarget(), &y);
  EXPECT_EQ(gui::BuildMidiLearnMenu(x).items()[0].text, kLearn) << "x is not the one learning";

  // A parameter without a manager has no menu, and nothing opens.
  Parameter plain("Polyphony", 1.0f, 16.0f);
  bool opened = false;
  headless.SetModalStep([&] { opened = opened || headless.Topmost(platform::WindowKind::kMenu) != nullptr; });
  EXPECT_TRUE(gui::BuildMidiLearnMenu(plain).empty());
  EXPECT_EQ(gui::ShowMidiLearnMenu(root, 10, 10, plain), -1);
  EXPECT_FALSE(opened);
}

}  // namespace
