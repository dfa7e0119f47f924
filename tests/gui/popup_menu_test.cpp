// Popup menus: opened at a window's point on the screen, items chosen by
// clicking their rows, submenus opened by hovering, and every way of
// dismissing one.
#include "gui_fixture.h"
#include "menu_helpers.h"

namespace {

using platform::KeyEvent;
using platform::WindowKind;

class MenuTest : public GuiTest {
 protected:
  MenuTest() { child.Create(&root, 100, 100, 50, 40); }
  ~MenuTest() override { headless.SetModalStep(nullptr); }

  // Runs step (with the topmost menu) at every turn of the menu's loop
  // until it answers true.
  std::optional<gui::PopupMenu::Choice> ShowWith(const gui::PopupMenu& menu,
                                                 std::function<bool(platform::HeadlessWindow*, int)> step) {
    int turn = 0;
    bool finished = false;
    headless.SetModalStep([&, step] {
      platform::HeadlessWindow* open = headless.Topmost(WindowKind::kMenu);
      if (open != nullptr && !finished) finished = step(open, turn++);
    });
    auto choice = menu.Show(child, 20, 30);
    headless.SetModalStep(nullptr);
    EXPECT_EQ(MenuWindowCount(headless), 0) << "every level closed";
    return choice;
  }

  gui::Window child;
};

TEST_F(MenuTest, ClickingARowAnswersItsIdAndData) {
  gui::PopupMenu menu;
  menu.AddItem("<None>", -2, 0);
  menu.AddItem("Locked", 4, 40, gui::PopupMenu::kDisabled);
  menu.AddSeparator();
  menu.AddItem("Clear routings", 5, 50, gui::PopupMenu::kChecked);

  platform::Rect bounds;
  std::uint32_t panel = 0, hovered = 0, text = 0;
  auto choice = ShowWith(menu, [&](platform::HeadlessWindow* open, int turn) {
    if (turn == 0) {
      bounds = open->bounds();
      panel = headless.Pixel(open, 1, 1);
      headless.MouseMove(open, 40, RowCentre(menu, 3));
      hovered = headless.Pixel(open, 4, RowCentre(menu, 3) - 7);
      for (int x = 0; x < open->bounds().width; ++x) {
        text = std::max(text, headless.Pixel(open, x, RowCentre(menu, 0)) & 0xFFu);
      }
      headless.Click(open, 40, RowCentre(menu, 1));  // disabled: nothing
      return false;
    }
    headless.Click(open, 40, RowCentre(menu, 3));
    return true;
  });
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(*choice, (gui::PopupMenu::Choice{5, 50}));
  // At the window's point, on the screen.
  EXPECT_EQ(bounds.x, 70);
  EXPECT_EQ(bounds.y, 70);
  EXPECT_EQ(bounds.height, 2 * gui::MenuLevel::kPadding + 3 * gui::MenuLevel::kRowHeight +
                               gui::MenuLevel::kSeparatorHeight);
  // Dark panel, highlighted hover row, light text.
  EXPECT_EQ(panel, Rgb(45, 45, 45));
  EXPECT_EQ(hovered, Rgb(70, 100, 160));
  EXPECT_GT(text, 150u);

  // The second row of a negative id.
  choice = ShowWith(menu, [&](platform::HeadlessWindow* open, int) {
    headless.Click(open, 40, RowCentre(menu, 0));
    return true;
  });
  EXPECT_EQ(choice, (gui::PopupMenu::Choice{-2, 0}));
}

TEST_F(MenuTest, SubmenusOpenBesideTheirItemAndAnswerTheirOwnItems) {
  gui::PopupMenu menu;
  gui::PopupMenu& copy = menu.AddSubmenu("Copy Amplitude Graph settings to..");
  gui::PopupMenu& release = menu.AddSubmenu("Copy Release settings to..");
  for (int v = 0; v < 4; ++v) {
    copy.AddItem("Voice " + std::to_string(v + 1), v, 10 + v);
    release.AddItem("Voice " + std::to_string(v + 1), v, 20 + v);  // the same ids
  }
  menu.AddSeparator();
  menu.AddItem("Reset Amplitude Graph", 5);

  platform::HeadlessWindow* first = nullptr;
  platform::Rect sub;
  int levelsAfterSwitch = 0;
  auto choice = ShowWith(menu, [&](platform::HeadlessWindow* open, int turn) {
    if (turn == 0) {
      first = open;
      headless.MouseMove(open, 40, RowCentre(menu, 0));  // opens "Copy .."
      EXPECT_EQ(MenuWindowCount(headless), 2);
      headless.MouseMove(open, 40, RowCentre(menu, 1));  // ... and switches to "Release .."
      return false;
    }
    if (turn == 1) {
      levelsAfterSwitch = MenuWindowCount(headless);
      sub = open->bounds();
      // Moving onto the submenu keeps it open; clicking its second row chooses.
      headless.MouseMove(open, 30, RowCentre(release, 1));
      headless.Click(open, 30, RowCentre(release, 1));
      return true;
    }
    return false;
  });
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(levelsAfterSwitch, 2) << "the first submenu closed";
  EXPECT_EQ(choice, (gui::PopupMenu::Choice{1, 21})) << "the item clicked, not the first with its id";
  EXPECT_EQ(sub.y, 70 + gui::MenuLevel::kPadding + gui::MenuLevel::kRowHeight - gui::MenuLevel::kPadding);
  EXPECT_GT(sub.x, 70 + 50) << "beside its item";
}

TEST_F(MenuTest, AClickOutsideEscapeOrALostGrabDismissTheMenu) {
  gui::PopupMenu menu;
  menu.AddItem("Clear this line", 5);
  menu.AddSubmenu("Select..").AddItem("All", 9);

  // A press anywhere outside every level, even over the editor.
  auto choice = ShowWith(menu, [&](platform::HeadlessWindow*, int) {
    headless.Click(&native(), 380, 280);
    return true;
  });
  EXPECT_FALSE(choice.has_value());
  // Escape, with a submenu open.
  choice = ShowWith(menu, [&](platform::HeadlessWindow* open, int) {
    headless.MouseMove(open, 40, RowCentre(menu, 1));
    headless.Key(KeyEvent::kEscape);
    return true;
  });
  EXPECT_FALSE(choice.has_value());
  // The window system takes the pointer grab away.
  choice = ShowWith(menu, [&](platform::HeadlessWindow* open, int) {
    open->client()->NativeCloseRequested();
    return true;
  });
  EXPECT_FALSE(choice.has_value());

  // The release of the press that opened the menu chooses nothing; Return
  // chooses the row under the pointer.
  choice = ShowWith(menu, [&](platform::HeadlessWindow* open, int turn) {
    if (turn == 0) {
      headless.MouseUp(open, 40, RowCentre(menu, 0), 3);
      return false;
    }
    EXPECT_EQ(turn, 1) << "still open after the release";
    headless.MouseMove(open, 40, RowCentre(menu, 0));
    headless.Key(KeyEvent::kReturn);
    return true;
  });
  EXPECT_EQ(choice, (gui::PopupMenu::Choice{5, 0}));

  // Nothing to show on: a window outside any top-level.
  gui::Window loose;
  EXPECT_FALSE(menu.Show(loose, 0, 0).has_value());
}

}  // namespace
