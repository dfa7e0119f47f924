// Opening and closing the platform as editors open and close: nothing left
// behind, no display no platform, and a connection the server cut makes
// every operation harmless.
#include <filesystem>

#include "gui/frame.h"
#include "gui/top_level.h"
#include "platform/x11_window.h"
#include "support/scoped_env.h"
#include "x11_fixture.h"

namespace {

int OpenFileCount() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                        std::filesystem::directory_iterator{}));
}

TEST(X11PlatformWithoutDisplay, IsNullWithOneLineSayingWhy) {
  ScopedEnv display("DISPLAY", std::nullopt);
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform::CreateX11Platform(), nullptr);
  const std::string unset = testing::internal::GetCapturedStderr();
  EXPECT_NE(unset.find("DISPLAY is not set"), std::string::npos) << unset;
  EXPECT_EQ(std::count(unset.begin(), unset.end(), '\n'), 1) << unset;

  display.Set(":4999");  // no server there
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform::CreateX11Platform(), nullptr);
  const std::string missing = testing::internal::GetCapturedStderr();
  EXPECT_NE(missing.find(":4999"), std::string::npos) << missing;
}

TEST_F(X11Test, AHundredEditorsOpenedAndClosedLeaveNoDescriptorsWindowsOrErrors) {
  const xcb_window_t hostWindow = host->CreateWindow(0, 0, 300, 200);
  auto cycle = [&](int i) {
    std::unique_ptr<platform::X11Platform> p = platform::X11Platform::Open();
    ASSERT_NE(p, nullptr);
    Swatch root(0x00FF00);
    root.width = 200;
    root.height = 100;
    auto top = std::make_unique<gui::TopLevel>(*p, platform::WindowKind::kEmbedded, hostWindow, nullptr, root, 0, 0);
    p->Pump();
    EXPECT_EQ(p->errorCount(), 0);
    if (i % 10 == 0) {
      // A platform closed before its windows leaves them inert.
      p.reset();
      top->native().Move(3, 3);
      top->native().Invalidate({0, 0, 10, 10});
      top.reset();
    } else {
      top.reset();
      EXPECT_EQ(p->errorCount(), 0);
    }
  };
  cycle(1);  // warm-up: what a first connection loads once
  const int files = OpenFileCount();
  for (int i = 0; i < 100; ++i) cycle(i);
  EXPECT_EQ(OpenFileCount(), files);
  auto* tree = xcb_query_tree_reply(host->connection(), xcb_query_tree(host->connection(), hostWindow), nullptr);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(xcb_query_tree_children_length(tree), 0) << "every editor window went";
  std::free(tree);
}

TEST_F(X11Test, AConnectionTheServerCutMakesEveryOperationHarmless) {
  const xcb_window_t hostWindow = host->CreateWindow(0, 0, 300, 200);
  Swatch root(0x00FF00);
  root.width = 200;
  root.height = 100;
  auto top = std::make_unique<gui::TopLevel>(*x11, platform::WindowKind::kEmbedded, hostWindow, nullptr, root, 0, 0);
  Swatch menuRoot;
  menuRoot.width = menuRoot.height = 50;
  auto menu = std::make_unique<gui::TopLevel>(*x11, platform::WindowKind::kMenu, 0, top.get(), menuRoot, 5, 5);
  ASSERT_TRUE(PumpUntil([&] { return host->ScreenPixel(100, 80) == 0x00FF00; }));

  xcb_kill_client(host->connection(), dynamic_cast<platform::X11Window&>(top->native()).id());
  host->Sync();
  testing::internal::CaptureStderr();
  EXPECT_TRUE(PumpUntil([&] { return !x11->ok(); }));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("connection to the X display failed"), std::string::npos) << said;

  // A long action and a modal loop go on without touching the dead connection.
  root.Repaint();
  top->native().Move(5, 5);
  top->native().Resize(10, 10);
  int x = -1, y = -1;
  top->native().ScreenOrigin(x, y);
  EXPECT_EQ(x, 5);
  top->native().SetCapture(true);
  top->native().SetBusyCursor(true);
  top->native().TakeFocus();
  x11->Wait(1000);  // at once
  x11->Pump();
  gui::Frame dialog;
  dialog.Create(&root, 10, 10, 50, 50);
  dialog.RunModal();  // returns: the loop ends with the connection
  menu.reset();
  top.reset();
  EXPECT_FALSE(x11->ok());
}

}  // namespace
