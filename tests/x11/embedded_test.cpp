// The editor embedded in a host's window as hosts use it: what the screen
// shows, where the pointer's events land, capture, exposure, repaints from
// other threads, and the host moving and resizing the editor.
#include <atomic>
#include <thread>

#include "gui/top_level.h"
#include "platform/x11_window.h"
#include "x11_fixture.h"

namespace {

constexpr std::uint32_t kHostGrey = 0x404040;
constexpr xcb_keysym_t kControlL = 0xFFE3;

// The editor sits at (20, 30) in a host window at (50, 60): (70, 90) on the screen.
constexpr int kHostX = 50, kHostY = 60, kEditorX = 70, kEditorY = 90;

class Embedded : public X11Test {
 protected:
  void SetUp() override {
    X11Test::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    hostWindow = host->CreateWindow(kHostX, kHostY, 500, 400);
    root.width = 400;
    root.height = 300;
    top = std::make_unique<gui::TopLevel>(*x11, platform::WindowKind::kEmbedded, hostWindow, nullptr, root,
                                          kEditorX - kHostX, kEditorY - kHostY);
  }
  void TearDown() override { top.reset(); }

  xcb_window_t EditorId() const { return dynamic_cast<platform::X11Window&>(top->native()).id(); }

  xcb_window_t hostWindow = XCB_NONE;
  Swatch root{0x000080};
  std::unique_ptr<gui::TopLevel> top;
};

TEST_F(Embedded, ViewsShowInTheHostWindowAndHearThePointerInTheirOwnCoordinates) {
  Swatch red(0xFF0000), green(0x00FF00);
  red.Create(&root, 100, 80, 10, 10);
  green.Create(&root, 50, 50, 200, 100);
  EXPECT_EQ(ScreenPixelOnceSettled(kEditorX + 15, kEditorY + 15, 0xFF0000), 0xFF0000u);
  EXPECT_EQ(ScreenPixelOnceSettled(kEditorX + 225, kEditorY + 125, 0x00FF00), 0x00FF00u);
  EXPECT_EQ(ScreenPixelOnceSettled(kEditorX + 399, kEditorY + 299, 0x000080), 0x000080u);
  EXPECT_EQ(host->ScreenPixel(kEditorX - 1, kEditorY - 1), kHostGrey) << "the host's own area is left alone";

  int sx = 0, sy = 0;
  top->native().ScreenOrigin(sx, sy);
  EXPECT_EQ(sx, kEditorX);
  EXPECT_EQ(sy, kEditorY);
  EXPECT_EQ(green.ClientToScreen({5, 5}), (gui::Point{kEditorX + 205, kEditorY + 105}));

  host->Click(kEditorX + 210, kEditorY + 110);
  EXPECT_TRUE(PumpUntil([&] { return green.Heard("up 10,10"); }));
  EXPECT_TRUE(green.Heard("down 10,10"));
  EXPECT_TRUE(green.Heard("move 10,10"));
  host->Click(kEditorX + 210, kEditorY + 110, 3);
  host->Key(kControlL, true);
  host->Click(kEditorX + 211, kEditorY + 111);
  host->Key(kControlL, false);
  // The wheel: away from the user is +120 from the platform, -120 to a window,
  // at the position in the top-level's coordinates.
  host->Click(kEditorX + 210, kEditorY + 110, 4);
  host->Click(kEditorX + 210, kEditorY + 110, 5);
  EXPECT_TRUE(PumpUntil([&] { return green.Heard("wheel120 210,110"); }));
  EXPECT_TRUE(green.Heard("right 10,10"));
  EXPECT_TRUE(green.Heard("ctrl-down 11,11"));
  EXPECT_TRUE(green.Heard("wheel-120 210,110"));
  EXPECT_EQ(std::count_if(green.heard.begin(), green.heard.end(),
                          [](const std::string& s) { return s.rfind("wheel", 0) == 0; }),
            2)
      << "the wheel's releases are no events";
  EXPECT_TRUE(red.heard.empty());
  EXPECT_EQ(x11->errorCount(), 0);
}

TEST_F(Embedded, ACapturedViewKeepsThePointerOffTheEditorUntilItLetsGo) {
  // Takes the pointer at one click and lets go at the next.
  struct Grabber : Swatch {
    void OnLeftDown(int x, int y) override {
      Note("down", x, y);
      captured ? ReleaseMouse() : CaptureMouse();
    }
  } grabber;
  grabber.Create(&root, 100, 100, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return host->ScreenPixel(kEditorX + 5, kEditorY + 5) == 0; }));
  host->Click(kEditorX + 10, kEditorY + 10);
  ASSERT_TRUE(PumpUntil([&] { return grabber.Heard("down 10,10"); }));
  EXPECT_FALSE(host->PointerIsFree());
  // Far off the editor and the host, no button held.
  host->MovePointer(900, 800);
  EXPECT_TRUE(PumpUntil([&] { return grabber.Heard("move 830,710"); }));
  host->Click(900, 800);
  EXPECT_TRUE(PumpUntil([&] { return grabber.Heard("down 830,710"); }));
  PumpUntil([&] { return host->PointerIsFree(); });
  EXPECT_TRUE(host->PointerIsFree());
  EXPECT_EQ(x11->errorCount(), 0);
}

TEST_F(Embedded, ExposureIsCopiedBackFromTheBufferWithoutPaintingAgain) {
  ASSERT_EQ(ScreenPixelOnceSettled(kEditorX + 50, kEditorY + 50, 0x000080), 0x000080u);
  const int paints = root.paints;
  host->Unmap(hostWindow);
  EXPECT_NE(host->ScreenPixel(kEditorX + 50, kEditorY + 50), 0x000080u);
  host->Map(hostWindow);
  EXPECT_EQ(ScreenPixelOnceSettled(kEditorX + 50, kEditorY + 50, 0x000080), 0x000080u);
  EXPECT_EQ(ScreenPixelOnceSettled(kEditorX + 399, kEditorY + 299, 0x000080), 0x000080u);
  EXPECT_EQ(root.paints, paints);
  EXPECT_EQ(x11->errorCount(), 0);
}

TEST_F(Embedded, ARepaintAskedForOnAnotherThreadShowsAtTheNextPump) {
  // As a parameter's listener does: store, then ask for a repaint.
  struct Meter : gui::Window {
    std::atomic<std::uint32_t> colour{0x00FF00};
    void Paint(gui::GraphicsContext& g) override {
      const std::uint32_t c = colour.load();
      g.SetColour(static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF));
      g.FillRect(0, 0, width, height);
    }
  } meter;
  meter.Create(&root, 40, 40, 300, 200);
  ASSERT_EQ(ScreenPixelOnceSettled(kEditorX + 310, kEditorY + 210, 0x00FF00), 0x00FF00u);
  std::thread automation([&] {
    meter.colour.store(0xFF00FF);
    meter.Repaint();
  });
  automation.join();
  EXPECT_EQ(ScreenPixelOnceSettled(kEditorX + 310, kEditorY + 210, 0xFF00FF), 0xFF00FFu);
}

TEST_F(Embedded, TheEditorMovesAndResizesInsideTheHostWindow) {
  ASSERT_EQ(ScreenPixelOnceSettled(kEditorX + 5, kEditorY + 5, 0x000080), 0x000080u);
  top->native().Move(0, 0);
  EXPECT_EQ(ScreenPixelOnceSettled(kHostX + 5, kHostY + 5, 0x000080), 0x000080u);
  int sx = 0, sy = 0;
  top->native().ScreenOrigin(sx, sy);
  EXPECT_EQ(sx, kHostX);
  EXPECT_EQ(sy, kHostY);
  root.Resize(200, 150);
  EXPECT_EQ(ScreenPixelOnceSettled(kHostX + 300, kHostY + 250, kHostGrey), kHostGrey);
  EXPECT_EQ(ScreenPixelOnceSettled(kHostX + 199, kHostY + 149, 0x000080), 0x000080u);
  EXPECT_EQ(x11->errorCount(), 0);
}

TEST_F(Embedded, TheEditorIsAChildOfTheHostsWindowAndGoesWithIt) {
  SyncPlatform();
  auto* tree = xcb_query_tree_reply(host->connection(), xcb_query_tree(host->connection(), EditorId()), nullptr);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->parent, hostWindow);
  std::free(tree);
  // The host closes its window before the editor: the editor's window went
  // with it, and closing the editor then raises no error.
  host->Destroy(hostWindow);
  PumpUntil([] { return false; }, 100);
  top.reset();
  SyncPlatform();
  x11->Pump();
  EXPECT_TRUE(x11->ok());
  EXPECT_EQ(x11->errorCount(), 0);
}

}  // namespace
