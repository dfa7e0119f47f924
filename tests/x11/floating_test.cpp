// Dialogs and menus on the X display: a frame is a dialog transient for the
// host's top-level at its screen position, takes typed keys, moves when
// dragged and ends its modal run at the window manager's close; a menu is
// override-redirect, on top, and holds the pointer so a click outside it
// reaches it.
#include "gui/frame.h"
#include "gui/top_level.h"
#include "platform/x11_window.h"
#include "x11_fixture.h"

namespace {

constexpr int kHostX = 50, kHostY = 60;
constexpr xcb_keysym_t kBackSpace = 0xFF08, kReturn = 0xFF0D, kKpEnter = 0xFF8D, kLeft = 0xFF51;
constexpr xcb_keysym_t kCapsLock = 0xFFE5;

xcb_window_t IdOf(gui::Window& w) { return dynamic_cast<platform::X11Window&>(w.topLevel()->native()).id(); }

std::string KeyName(platform::KeyEvent::Key k) { return "key " + std::to_string(k); }

class Floating : public X11Test {
 protected:
  void SetUp() override {
    X11Test::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    hostWindow = host->CreateWindow(kHostX, kHostY, 500, 400);
    editor.width = 400;
    editor.height = 300;
    top = std::make_unique<gui::TopLevel>(*x11, platform::WindowKind::kEmbedded, hostWindow, nullptr, editor,
                                          10, 10);
  }
  void TearDown() override { top.reset(); }

  std::vector<std::string> KeysHeard(const Swatch& s) {
    std::vector<std::string> keys;
    for (const std::string& h : s.heard) {
      if (h.rfind("char", 0) == 0 || h.rfind("key", 0) == 0) keys.push_back(h);
    }
    return keys;
  }

  xcb_window_t hostWindow = XCB_NONE;
  Swatch editor{0x000080};
  std::unique_ptr<gui::TopLevel> top;
};

struct Dialog : gui::Frame {
  Swatch field{0xFFFFFF};
  bool closed = false;
  void Paint(gui::GraphicsContext& g) override {
    g.SetColour(0, 128, 0);
    g.FillRect(0, 0, width, height);
  }
  void OnClose() override {
    closed = true;
    Frame::OnClose();
  }
};

// Ends a modal run that nothing else ended, so a lost message fails the
// test instead of hanging it.
struct ModalGuard : gui::TimerListener {
  explicit ModalGuard(gui::Frame& f) : frame(f) { StartTimer(nullptr, 3000); }
  void OnTimer(void*) override {
    fired = true;
    frame.EndModal();
  }
  gui::Frame& frame;
  bool fired = false;
};

TEST_F(Floating, AFrameIsADialogForTheHostWindowAtItsScreenPositionThatTakesKeys) {
  Dialog dialog;
  dialog.Create(&editor, 600, 300, 200, 120);
  dialog.field.Create(&dialog, 200, 60, 0, 0);
  dialog.field.SetFocus();
  const xcb_window_t id = IdOf(dialog);
  SyncPlatform();  // the server has the window before the host looks

  EXPECT_EQ(host->Property32(id, XCB_ATOM_WM_TRANSIENT_FOR), std::vector<std::uint32_t>{hostWindow});
  EXPECT_EQ(host->Property32(id, "_NET_WM_WINDOW_TYPE"),
            std::vector<std::uint32_t>{host->Atom("_NET_WM_WINDOW_TYPE_DIALOG")});
  EXPECT_EQ(host->Property32(id, "WM_PROTOCOLS"), std::vector<std::uint32_t>{host->Atom("WM_DELETE_WINDOW")});
  const std::vector<std::uint32_t> hints = host->Property32(id, XCB_ATOM_WM_NORMAL_HINTS);
  ASSERT_EQ(hints.size(), 18u);
  EXPECT_TRUE(hints[0] & 1) << "the position is the user's";
  EXPECT_EQ(hints[1], 600u);
  EXPECT_EQ(hints[2], 300u);
  EXPECT_FALSE(host->OverrideRedirect(id)) << "a window manager places and focuses dialogs";

  EXPECT_EQ(ScreenPixelOnceSettled(610, 310, 0xFFFFFF), 0xFFFFFFu);
  EXPECT_EQ(ScreenPixelOnceSettled(610, 390, 0x008000), 0x008000u);
  int x = 0, y = 0;
  host->Origin(id, x, y);
  EXPECT_EQ(x, 600);
  EXPECT_EQ(y, 300);
  ASSERT_TRUE(PumpUntil([&] { return host->InputFocus() == id; }));

  host->Tap('a');
  host->Tap('b', true);
  host->Key(kCapsLock, true);
  host->Key(kCapsLock, false);
  host->Tap('c');
  host->Tap('1');
  host->Key(kCapsLock, true);
  host->Key(kCapsLock, false);
  host->Tap(kBackSpace);
  host->Tap(kLeft);
  host->Tap(kReturn);
  host->Tap(kKpEnter);
  const std::vector<std::string> expected = {"char a", "char B", "char C", "char 1",
                                             KeyName(platform::KeyEvent::kBackspace),
                                             KeyName(platform::KeyEvent::kLeft),
                                             KeyName(platform::KeyEvent::kReturn),
                                             KeyName(platform::KeyEvent::kReturn)};
  PumpUntil([&] { return KeysHeard(dialog.field).size() >= expected.size(); });
  EXPECT_EQ(KeysHeard(dialog.field), expected);
  EXPECT_TRUE(KeysHeard(editor).empty()) << "the embedded editor leaves keys to the host";

  // The window manager's close ends the modal run.
  host->SendDeleteWindow(id);
  ModalGuard guard(dialog);
  dialog.RunModal();
  EXPECT_TRUE(dialog.closed);
  EXPECT_FALSE(guard.fired);
  EXPECT_EQ(x11->errorCount(), 0);
}

TEST_F(Floating, ADraggableFrameFollowsThePointer) {
  Dialog dialog;
  dialog.draggable = true;
  dialog.Create(&editor, 600, 300, 200, 120);
  dialog.field.Create(&dialog, 200, 60, 0, 0);
  const xcb_window_t id = IdOf(dialog);
  ASSERT_EQ(ScreenPixelOnceSettled(700, 400, 0x008000), 0x008000u);
  // By its background, in steps, as a hand does.
  host->MovePointer(700, 400);
  host->Button(1, true);
  for (int i = 1; i <= 5; ++i) {
    host->MovePointer(700 + 10 * i, 400 + 6 * i);
    PumpUntil([] { return false; }, 20);
  }
  host->Button(1, false);
  int x = 0, y = 0;
  PumpUntil([&] {
    host->Origin(id, x, y);
    return x == 650 && y == 330;
  });
  EXPECT_EQ(x, 650);
  EXPECT_EQ(y, 330);
  EXPECT_FALSE(dialog.dragging);
  EXPECT_EQ(dialog.topLevel()->native().bounds().x, 650);
  EXPECT_EQ(x11->errorCount(), 0);
}

TEST_F(Floating, AMenuIsOnTopHoldsThePointerAndHearsAClickOutsideIt) {
  Swatch menuRoot(0xFFFF00);
  menuRoot.width = 120;
  menuRoot.height = 90;
  auto menu = std::make_unique<gui::TopLevel>(*x11, platform::WindowKind::kMenu, 0, top.get(), menuRoot, 300, 200);
  const xcb_window_t id = IdOf(menuRoot);
  SyncPlatform();
  EXPECT_TRUE(host->OverrideRedirect(id));
  EXPECT_EQ(host->Property32(id, XCB_ATOM_WM_TRANSIENT_FOR), std::vector<std::uint32_t>{hostWindow});
  EXPECT_EQ(ScreenPixelOnceSettled(310, 210, 0xFFFF00), 0xFFFF00u);
  EXPECT_EQ(host->RootChildrenBottomToTop().back(), id) << "above everything";
  EXPECT_FALSE(host->PointerIsFree());

  // Inside the host's window, where the editor is: the menu hears it.
  host->Click(kHostX + 50, kHostY + 40);
  EXPECT_TRUE(PumpUntil([&] { return menuRoot.Heard("down -200,-100"); }));
  EXPECT_TRUE(editor.heard.empty());
  host->Click(305, 205);
  EXPECT_TRUE(PumpUntil([&] { return menuRoot.Heard("down 5,5"); }));

  menu.reset();
  EXPECT_TRUE(PumpUntil([&] { return host->PointerIsFree(); })) << "the grab goes with the menu";
  EXPECT_EQ(x11->errorCount(), 0);
}

}  // namespace
