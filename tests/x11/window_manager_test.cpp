// Under a reparenting window manager, as on every desktop: the host's
// window sits in the manager's frame, a dialog is still transient for the
// host's own window, keeps the place it asked for, gets the focus and the
// keys, and moves when told; a menu stays unframed and holds the pointer.
#include "gui/frame.h"
#include "gui/top_level.h"
#include "platform/program_lookup.h"
#include "platform/x11_window.h"
#include "support/temp_dir.h"
#include "x11_fixture.h"

namespace {

xcb_window_t IdOf(gui::Window& w) { return dynamic_cast<platform::X11Window&>(w.topLevel()->native()).id(); }

class UnderWindowManager : public X11Test {
 protected:
  void SetUp() override {
    X11Test::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    const std::string openbox = platform::FindProgram("openbox");
    if (openbox.empty()) GTEST_SKIP() << "openbox is not installed (scripts/setup.sh installs it)";
    // Its settings and caches stay out of the real home.
    const std::string home = config.path().string();
    manager = x11test::SpawnChild({openbox, "--sm-disable"},
                                  {"HOME=" + home, "XDG_CONFIG_HOME=" + home, "XDG_CACHE_HOME=" + home});
    ASSERT_GT(manager, 0);
    // Ready once it frames a new window: a window mapped while it starts
    // can go unmanaged, so each try is a fresh one.
    bool managing = false;
    for (int attempt = 0; attempt < 20 && !managing; ++attempt) {
      const xcb_window_t probe = host->CreateWindow(0, 0, 10, 10);
      managing = PumpUntil([&] { return host->Parent(probe) != host->root() && host->Viewable(probe); }, 500);
      host->Destroy(probe);
    }
    ASSERT_TRUE(managing) << "openbox did not start managing windows";
  }
  void TearDown() override { x11test::StopChild(manager); }

  TempDir config;
  pid_t manager = -1;
};

TEST_F(UnderWindowManager, DialogsBelongToTheHostsWindowAndMenusStayUnframed) {
  const xcb_window_t hostWindow = host->CreateWindow(100, 100, 500, 400);
  ASSERT_TRUE(PumpUntil([&] { return host->Viewable(hostWindow); }));
  ASSERT_NE(host->Parent(hostWindow), host->root()) << "the manager framed the host's window";
  Swatch editor(0x000080);
  editor.width = 400;
  editor.height = 300;
  auto top = std::make_unique<gui::TopLevel>(*x11, platform::WindowKind::kEmbedded, hostWindow, nullptr, editor, 0, 0);

  struct Dialog : gui::Frame {
    Swatch field{0xFFFFFF};
  } dialog;
  dialog.Create(&editor, 600, 300, 200, 120);
  dialog.field.Create(&dialog, 200, 120, 0, 0);
  dialog.field.SetFocus();
  const xcb_window_t id = IdOf(dialog);
  SyncPlatform();
  EXPECT_EQ(host->Property32(id, XCB_ATOM_WM_TRANSIENT_FOR), std::vector<std::uint32_t>{hostWindow})
      << "the host's own window, not the manager's frame around it";
  ASSERT_TRUE(PumpUntil([&] { return host->Viewable(id); }));
  EXPECT_NE(host->Parent(id), host->root());
  int x = 0, y = 0;
  PumpUntil([&] {
    host->Origin(id, x, y);
    return x == 600 && y == 300;
  });
  EXPECT_EQ(x, 600);
  EXPECT_EQ(y, 300);
  EXPECT_TRUE(PumpUntil([&] { return host->InputFocus() == id; }));
  host->Tap('z');
  EXPECT_TRUE(PumpUntil([&] { return dialog.field.Heard("char z"); }));

  dialog.topLevel()->native().Move(640, 330);
  PumpUntil([&] {
    host->Origin(id, x, y);
    return x == 640 && y == 330;
  });
  EXPECT_EQ(x, 640);
  EXPECT_EQ(y, 330);
  EXPECT_TRUE(PumpUntil([&] { return dialog.topLevel()->native().bounds().x == 640; }));

  Swatch menuRoot(0xFFFF00);
  menuRoot.width = 100;
  menuRoot.height = 60;
  auto menu = std::make_unique<gui::TopLevel>(*x11, platform::WindowKind::kMenu, 0, top.get(), menuRoot, 200, 200);
  SyncPlatform();
  EXPECT_EQ(host->Parent(IdOf(menuRoot)), host->root());
  EXPECT_EQ(ScreenPixelOnceSettled(210, 210, 0xFFFF00), 0xFFFF00u);
  EXPECT_FALSE(host->PointerIsFree());
  menu.reset();
  EXPECT_EQ(x11->errorCount(), 0);
}

}  // namespace
