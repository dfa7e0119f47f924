// Windows drawn into a headless top-level: painting order, clipping,
// opacity, the drawing context's rules, mouse routing and capture.
#include <cairo.h>

#include <filesystem>

#include "gui/frame.h"
#include "gui/image.h"
#include "gui_fixture.h"
#include "support/temp_dir.h"

namespace {

// Fills itself with one colour at an alpha; records what reaches it.
struct Block : gui::Window {
  int r = 0, g = 0, b = 0, a = 255;
  std::vector<std::string> heard;
  void Paint(gui::GraphicsContext& gc) override {
    gc.SetColour(r, g, b, 1, a);
    gc.FillRect(0, 0, width, height);
  }
  void OnLeftDown(int x, int y) override { heard.push_back("down " + std::to_string(x) + "," + std::to_string(y)); }
  void OnLeftUp(int x, int y) override { heard.push_back("up " + std::to_string(x) + "," + std::to_string(y)); }
  void OnLeftDoubleClick(int, int) override { heard.push_back("double"); }
  void OnMouseMove(int x, int y) override { heard.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
};

TEST_F(GuiTest, ChildrenPaintOverParentsClippedAndFadedByTheirAncestors) {
  Block back, child, grandchild;
  back.r = 255;
  back.Create(&root, 200, 200, 10, 10);
  child.g = 255;
  child.Create(&back, 100, 100, 150, 150);  // reaches past its parent
  EXPECT_EQ(Pixel(20, 20), Rgb(255, 0, 0));
  EXPECT_EQ(Pixel(170, 170), Rgb(0, 255, 0));
  EXPECT_EQ(Pixel(215, 215), Rgb(0, 0, 0)) << "clipped to the parent";

  // Alpha 0.5 inside 0.5: a quarter of the colour over what lies below.
  grandchild.b = 255;
  grandchild.Create(&child, 20, 20, 0, 0);
  child.SetAlpha(0.5f);
  grandchild.SetAlpha(0.5f);
  const std::uint32_t p = Pixel(165, 165);
  EXPECT_NEAR(static_cast<int>(p & 0xFF), 64, 2);
  // Alpha 0 still paints, but nothing shows.
  child.SetAlpha(0.0f);
  EXPECT_EQ(Pixel(170, 170), Rgb(255, 0, 0));
}

TEST_F(GuiTest, TheDrawingContextFollowsItsRules) {
  struct Drawn : gui::Window {
    void Paint(gui::GraphicsContext& g) override {
      g.SetColour(255, 255, 255, 1, 255);
      g.FillRect(10, 10, -5, -5);  // the square from (5, 5) to (10, 10)
      g.SetColour(0, 255, 0, 1, 0);
      g.MoveTo(0, 50);
      g.LineTo(100, 50);  // alpha 0: nothing, but the pen moves
      g.DrawRect(20, 20, 30, 30);
      g.SetColour(255, 0, 0, 1, 255);
      g.LineTo(100, 90);  // from (100, 50)
      g.FillPie(60, 0, 40, 40, 0.0f, 90.0f);  // the lower right quarter
    }
  } w;
  w.Create(&root, 200, 100, 0, 0);
  EXPECT_EQ(Pixel(7, 7), Rgb(255, 255, 255));
  EXPECT_EQ(Pixel(4, 4), Rgb(0, 0, 0));
  EXPECT_EQ(Pixel(11, 11), Rgb(0, 0, 0));
  EXPECT_EQ(Pixel(50, 50), Rgb(0, 0, 0));
  EXPECT_EQ(Pixel(20, 35), Rgb(0, 0, 0));
  EXPECT_EQ(Pixel(100, 70), Rgb(255, 0, 0));
  EXPECT_EQ(Pixel(88, 28), Rgb(255, 0, 0));
  EXPECT_EQ(Pixel(72, 12), Rgb(0, 0, 0));
}

TEST_F(GuiTest, TextThatIsNotUtf8NeverBlanksWhatIsDrawnAfterIt) {
  struct Named : gui::Window {
    void Paint(gui::GraphicsContext& g) override {
      g.SetFont(10);
      g.DrawString("take \xff\xfe\xc0.wav", 2, 2);  // a file name of any bytes
      EXPECT_GT(g.TextWidth("\xed\xa0\x80"), 0);
      g.SetColour(0, 0, 255, 1, 255);
      g.FillRect(100, 0, 20, 20);
    }
  } w;
  w.Create(&root, 200, 40, 0, 0);
  EXPECT_EQ(Pixel(110, 10), Rgb(0, 0, 255));
}

TEST_F(GuiTest, ImagesLoadDrawThroughAlphaAndFailWithTheirMessage) {
  TempDir dir;
  const std::string path = dir.File("Square.png");
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 6);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0, 0, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);

  gui::Image image(path);
  EXPECT_EQ(image.width(), 8);
  EXPECT_EQ(image.height(), 6);
  struct Pictured : gui::Window {
    gui::Image image, missing;
    void Paint(gui::GraphicsContext& g) override {
      image.Draw(g, 0, 0);
      image.Draw(g, 20, 0, 16, 12);  // stretched
      missing.Draw(g, 40, 0);        // draws nothing, raises nothing
    }
  } w;
  w.image = image;
  w.Create(&root, 60, 20, 0, 0);
  EXPECT_EQ(Pixel(7, 5), Rgb(0, 0, 255));
  EXPECT_EQ(Pixel(35, 11), Rgb(0, 0, 255));
  EXPECT_EQ(Pixel(8, 0), Rgb(0, 0, 0));
  w.SetAlpha(0.5f);
  EXPECT_NEAR(static_cast<int>(Pixel(2, 2) & 0xFF), 128, 2);

  try {
    gui::Image("/nowhere/Knob.png");
    ADD_FAILURE() << "no error";
  } catch (const gui::ImageError& e) {
    EXPECT_STREQ(e.what(), "Error in Image::LoadFromFile.. Could not find image file: /nowhere/Knob.png");
  }
  std::filesystem::create_directory(dir.File("folder.png"));
  EXPECT_THROW(gui::Image(dir.File("folder.png")), gui::ImageError);
}

TEST_F(GuiTest, TheMouseReachesTheTopmostWindowAndACaptureKeepsIt) {
  Block under, over;
  under.Create(&root, 100, 100, 0, 0);
  over.Create(&root, 50, 50, 25, 25);
  headless.MouseDown(&native(), 30, 30);
  headless.MouseUp(&native(), 30, 30);
  EXPECT_EQ(over.heard, (std::vector<std::string>{"down 5,5", "up 5,5"}));
  headless.MouseDown(&native(), 31, 31);  // soon after: a double click
  headless.MouseUp(&native(), 31, 31);
  EXPECT_EQ(over.heard[2], "double");
  EXPECT_TRUE(under.heard.empty());

  headless.Advance(1000);
  over.heard.clear();
  headless.MouseDown(&native(), 10, 10);
  under.CaptureMouse();
  headless.MouseMove(&native(), 300, 200);
  under.ReleaseMouse();
  headless.MouseMove(&native(), 30, 30);
  EXPECT_EQ(under.heard, (std::vector<std::string>{"down 10,10", "move 300,200"}));
  EXPECT_EQ(over.heard, (std::vector<std::string>{"move 5,5"}));
}

TEST_F(GuiTest, RepaintFromAnotherThreadWaitsForThePump) {
  Block b;
  b.r = 255;
  b.Create(&root, 10, 10, 0, 0);
  EXPECT_EQ(Pixel(5, 5), Rgb(255, 0, 0));
  b.r = 0;
  b.g = 255;
  std::thread([&] { b.Repaint(); }).join();
  EXPECT_EQ(headless.Pixel(&native(), 5, 5), Rgb(255, 0, 0)) << "not yet painted";
  headless.Pump();  // marks it for painting
  EXPECT_EQ(Pixel(5, 5), Rgb(0, 255, 0));
}

TEST_F(GuiTest, AModalFrameDisablesItsOwnerUntilItEnds) {
  gui::Frame frame;
  Block owner;
  owner.Create(&root, 100, 100, 0, 0);
  frame.Create(&root, 300, 200, 120, 80);
  ASSERT_NE(headless.Topmost(platform::WindowKind::kFloating), nullptr);
  int steps = 0;
  headless.SetModalStep([&] {
    if (++steps == 3) {
      headless.Click(&native(), 10, 10);  // the owner ignores it
    }
    if (steps == 5) frame.EndModal();
  });
  frame.RunModal();
  EXPECT_EQ(steps, 5);
  EXPECT_TRUE(owner.heard.empty());
  headless.Click(&native(), 10, 10);
  EXPECT_FALSE(owner.heard.empty()) << "enabled again";
}

}  // namespace
